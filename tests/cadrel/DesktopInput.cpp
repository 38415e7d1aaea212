#include "DesktopInput.h"

#include "cadrel/CadrelPlacement.h"

namespace cadrels::testing {

PixelRect RectOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return ToPixelRect(rect);
}

bool WaitUntilStill(HWND window, DWORD timeoutMs)
{
    PixelRect last = RectOf(window);
    ULONGLONG stillSince = GetTickCount64();
    return WaitFor(
        [&] {
            const PixelRect now = RectOf(window);
            if (now != last) {
                last = now;
                stillSince = GetTickCount64();
            }
            return GetTickCount64() - stillSince >= 200;
        },
        timeoutMs);
}

std::wstring TitleOf(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

}  // namespace cadrels::testing
