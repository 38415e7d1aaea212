#include "settings/DarkStyle.h"

#include "base/UiFontFamily.h"

#include <algorithm>

namespace cadrels {
namespace {

constexpr int FontHeight = 15;

constexpr Color White = RGB(255, 255, 255);

int ClampChannel(int value)
{
    return std::clamp(value, 0, 255);
}

}  // namespace

int ScaleLength(int length, int dpi)
{
    return MulDiv(length, dpi == 0 ? USER_DEFAULT_SCREEN_DPI : dpi, USER_DEFAULT_SCREEN_DPI);
}

Color ColorAdjust(Color colour, int delta)
{
    return RGB(ClampChannel(GetRValue(colour) + delta), ClampChannel(GetGValue(colour) + delta),
               ClampChannel(GetBValue(colour) + delta));
}

ButtonColors PromptButtonColors(bool primary, bool pressed, bool focused, const Palette& palette, Color accent)
{
    Color fill = primary ? accent : palette.buttonFill;
    if (pressed) {
        fill = ColorAdjust(fill, -20);
    } else if (focused) {
        fill = ColorAdjust(fill, primary ? 18 : 26);
    }
    if (primary) {
        return {fill, fill, White};
    }
    return {fill, focused ? accent : palette.border, palette.text};
}

UniqueFont CreateDarkUiFont(int dpi, const wchar_t* face)
{
    return UniqueFont(CreateFontW(-ScaleLength(FontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                  VARIABLE_PITCH | FF_DONTCARE, face != nullptr ? face : PreferredUiFontFamily));
}

}  // namespace cadrels
