#include "DesktopInput.h"

#include "cadrel/CadrelPlacement.h"

namespace cadrels::testing {

PixelRect RectOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return ToPixelRect(rect);
}

std::wstring TitleOf(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

}  // namespace cadrels::testing
