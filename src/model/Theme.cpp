#include "model/Theme.h"

#include "base/UniqueHandle.h"

namespace cadrels {
namespace {

constexpr Palette Dark = {
    RGB(96, 168, 255),  RGB(18, 18, 23),    RGB(242, 242, 245), RGB(34, 34, 40),
    RGB(236, 236, 238), RGB(255, 255, 255), RGB(46, 46, 56),    RGB(236, 236, 238),
    RGB(70, 70, 84),    RGB(58, 58, 70),    RGB(70, 70, 82),    RGB(120, 120, 132),
};

constexpr Palette Light = {
    RGB(0, 120, 215),   RGB(236, 236, 240), RGB(28, 28, 32),    RGB(246, 246, 248),
    RGB(28, 28, 32),    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(20, 20, 24),
    RGB(202, 202, 210), RGB(224, 228, 236), RGB(214, 214, 220), RGB(150, 150, 156),
};

struct ThemeState {
    bool dark = true;
    Color userAccent = 0;
    Color userCadrelBackground = 0;
    UniqueBrush windowBackground;
    UniqueBrush inputBackground;
    UniqueBrush border;
};

ThemeState& State()
{
    static ThemeState state;
    return state;
}

void RecreateBrushes(ThemeState& state)
{
    const Palette& palette = state.dark ? Dark : Light;
    state.windowBackground.Reset(CreateSolidBrush(palette.windowBackground));
    state.inputBackground.Reset(CreateSolidBrush(palette.inputBackground));
    state.border.Reset(CreateSolidBrush(palette.border));
}

HBRUSH BrushOrCreate(UniqueBrush& brush)
{
    if (!brush) {
        RecreateBrushes(State());
    }
    return brush.Get();
}

}  // namespace

const Palette& DarkPalette()
{
    return Dark;
}

const Palette& LightPalette()
{
    return Light;
}

bool EffectiveDarkTheme(int mode, std::optional<DWORD> appsUseLightTheme)
{
    if (mode == 1) {
        return true;
    }
    if (mode == 2) {
        return false;
    }
    return !appsUseLightTheme.has_value() || *appsUseLightTheme == 0;
}

std::optional<DWORD> ReadAppsUseLightTheme()
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                     L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

void ApplyTheme(int mode)
{
    ThemeState& state = State();
    const bool followsSystem = mode != 1 && mode != 2;
    state.dark = EffectiveDarkTheme(mode, followsSystem ? ReadAppsUseLightTheme() : std::nullopt);
    RecreateBrushes(state);
}

bool IsDarkTheme()
{
    return State().dark;
}

const Palette& CurrentPalette()
{
    return State().dark ? Dark : Light;
}

void SetAccent(Color color)
{
    State().userAccent = color;
}

void SetCadrelBackground(Color color)
{
    State().userCadrelBackground = color;
}

Color AccentColor()
{
    const ThemeState& state = State();
    return state.userAccent != 0 ? state.userAccent : CurrentPalette().accent;
}

Color CadrelBackgroundColor()
{
    const ThemeState& state = State();
    return state.userCadrelBackground != 0 ? state.userCadrelBackground : CurrentPalette().cadrelBackground;
}

HBRUSH WindowBackgroundBrush()
{
    return BrushOrCreate(State().windowBackground);
}

HBRUSH InputBackgroundBrush()
{
    return BrushOrCreate(State().inputBackground);
}

HBRUSH BorderBrush()
{
    return BrushOrCreate(State().border);
}

}  // namespace cadrels
