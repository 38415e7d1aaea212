// Theme and language: applied process-wide, stored in the settings.
#include "app/App.h"

#include "base/DebugLog.h"
#include "i18n/StringTable.h"
#include "model/Theme.h"

#include <cwchar>

namespace cadrels {

void App::SetTheme(int mode)
{
    ApplyTheme(mode);
    settings_.theme = mode == 1 || mode == 2 ? mode : 0;
    RethemeCadrels();
    Save();
}

void App::SetLanguage(int index)
{
    SetUiLanguage(index);
    settings_.language = UiLanguage();
    tray_.SetTooltip(TrayTooltip(BrandName()));
    Save();
}

void App::OnSettingChange(const wchar_t* area)
{
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
    RethemeCadrels();
    DebugLog(L"Theme systeme applique : %ls.", IsDarkTheme() ? L"sombre" : L"clair");
}

std::wstring App::BrandName() const
{
    return {};
}

}  // namespace cadrels
