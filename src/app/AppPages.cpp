// Pages: switching between them and rebuilding what the active page shows.
#include "app/App.h"

#include "app/AppMessages.h"
#include "i18n/StringTable.h"
#include "model/Theme.h"

namespace cadrels {

void App::SwitchPage(int index)
{
    const int pages = static_cast<int>(settings_.workspaces.size());
    if (busy_ || index < 0 || index >= pages || index == settings_.activeWorkspace) {
        return;
    }
    Save();
    settings_.activeWorkspace = index;
    ReloadCadrels();
}

void App::ReloadCadrels()
{
    hidden_ = false;
    SetUiLanguage(settings_.language);
    ApplyTheme(settings_.theme);
    SetAccent(settings_.accent);
    SetCadrelBackground(settings_.cadrelBg);
    tray_.SetTooltip(TrayTooltip(BrandName()));
    Save();
    PostMessageW(window_, WM_APP_SORT_SOON, 0, 0);
}

}  // namespace cadrels
