#include "settings/MenuLevel.h"

#include "base/WindowProc.h"
#include "settings/DarkWindowClass.h"
#include "settings/Placement.h"

namespace cadrels {

int MeasureLabelExtent(UiFontSet& fonts, const std::wstring& label)
{
    ScreenDc screen;
    if (screen.Get() == nullptr) {
        return 0;
    }
    return fonts.MeasureLine(screen.Get(), label);
}

MenuLevel::MenuLevel(std::span<const DarkMenuItem> items, const MenuStyle& style)
    : items_(items), style_(style)
{
    layout_ = MeasureMenuLevel(items_, style_.metrics,
                               [&style](const std::wstring& label) { return MeasureLabelExtent(*style.fonts, label); });
}

bool MenuLevel::Open(POINT at)
{
    const SIZE size{layout_.width, layout_.height};
    const POINT origin = FitToWorkArea(at, size, WorkAreaNear(at));
    window_.Reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, DarkMenuClassName, L"", WS_POPUP, origin.x,
                                  origin.y, size.cx, size.cy, nullptr, nullptr, style_.instance, this));
    if (!window_) {
        return false;
    }
    const int corner = style_.metrics.cornerDiameter;
    UniqueRegion region(CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, corner, corner));
    if (region && SetWindowRgn(window_.Get(), region.Get(), FALSE)) {
        region.Release();  // the window owns its region from now on
    }
    ShowWindow(window_.Get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window_.Get());
    return true;
}

RECT MenuLevel::WindowRect() const
{
    RECT rect{};
    GetWindowRect(window_.Get(), &rect);
    return rect;
}

int MenuLevel::ItemAtScreen(POINT point) const
{
    const RECT rect = WindowRect();
    if (!PtInRect(&rect, point)) {
        return -1;
    }
    return MenuItemAt(layout_, point.y - rect.top);
}

void MenuLevel::SetHot(int index)
{
    if (index == hot_) {
        return;
    }
    hot_ = index;
    InvalidateRect(window_.Get(), nullptr, FALSE);
}

LRESULT MenuLevel::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_CAPTURECHANGED:
        // The menu loop ends when the root loses the capture, but it only
        // looks between posted messages: wake it.
        PostMessageW(window, WM_NULL, 0, 0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void MenuLevel::OnPaint(HWND window)
{
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr) {
        return;
    }
    // Painted off screen and copied at once, so moving the highlight never
    // shows a half-drawn level.
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, layout_.width, layout_.height));
    if (memory && bitmap) {
        const SelectedObject selected(memory.Get(), bitmap.Get());
        PaintMenuLevel(memory.Get(), *this, style_);
        BitBlt(dc, 0, 0, layout_.width, layout_.height, memory.Get(), 0, 0, SRCCOPY);
    } else {
        PaintMenuLevel(dc, *this, style_);
    }
    EndPaint(window, &paint);
}

}  // namespace cadrels
