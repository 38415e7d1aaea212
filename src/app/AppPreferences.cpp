// Theme and language: applied process-wide, stored in the settings.
#include "app/App.h"

#include "app/ShellVerbs.h"
#include "base/DebugLog.h"
#include "i18n/LanguageTexts.h"
#include "i18n/StringTable.h"
#include "model/Theme.h"

#include <cwchar>

namespace cadrels {

void App::SetTheme(int mode)
{
    // The message may come from any process: a mode we do not know is ignored.
    if (mode < 0 || mode > 2) {
        return;
    }
    ApplyTheme(mode);
    settings_.theme = mode == 1 || mode == 2 ? mode : 0;
    cadrels_.Retheme();
    Save();
}

void App::SetLanguage(int index)
{
    if (index < 0 || index >= i18n::LanguageCount) {
        return;
    }
    SetUiLanguage(index);
    settings_.language = UiLanguage();
    tray_.SetTooltip(TrayTooltip(BrandName()));
    WriteShellVerbs();
    // The undo and redo entries name their action in the interface language.
    RefreshUndoUi();
    Save();
}

void App::OnSettingChange(UINT action, const wchar_t* area)
{
    // A moved or resized taskbar changes the work areas, and with them the
    // display key and where cadrels stand: the same as a display change.
    if (action == SPI_SETWORKAREA) {
        schedule_.DisplayChanged();
        return;
    }
    if (area != nullptr && std::wcscmp(area, L"ImmersiveColorSet") == 0) {
        OnSystemThemeChanged();
    }
}

void App::OnSystemThemeChanged()
{
    // A chosen dark or light theme stays as chosen; only "system" follows.
    if (settings_.theme == 1 || settings_.theme == 2) {
        DebugLog(L"Theme systeme modifie, ignore (theme choisi : %d).", settings_.theme);
        return;
    }
    ApplyTheme(0);
    cadrels_.Retheme();
    DebugLog(L"Theme systeme applique : %ls.", IsDarkTheme() ? L"sombre" : L"clair");
}

}  // namespace cadrels
