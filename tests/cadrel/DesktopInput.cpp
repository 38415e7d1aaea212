#include "DesktopInput.h"

#include "cadrel/CadrelLayout.h"
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

POINT ItemCentre(HWND cadrel, int viewMode, int index, int count)
{
    RECT client{};
    GetClientRect(cadrel, &client);
    CadrelView view;
    view.width = client.right;
    view.height = client.bottom;
    view.viewMode = viewMode;
    view.dpi = GetDpiForWindow(cadrel) == 0 ? 96 : GetDpiForWindow(cadrel);
    const LayoutRect cell = ItemCellRect(view, index, count, 0);
    const PixelRect rect = RectOf(cadrel);
    return {rect.left + static_cast<LONG>((cell.left + cell.right) / 2),
            rect.top + static_cast<LONG>((cell.top + cell.bottom) / 2)};
}

std::wstring TitleOf(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

}  // namespace cadrels::testing
