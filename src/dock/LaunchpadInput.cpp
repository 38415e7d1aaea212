// The launcher's window procedure and its handlers: typing the query, the
// keyboard highlight, hovering, clicks, the wheel, the caret and the open
// animation, and every way it hides.
#include "dock/Launchpad.h"

#include "base/DebugLog.h"
#include "base/PublishedFlags.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

namespace cadrels {

LRESULT Launchpad::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        window_.Reset(window);
        return OnCreate() ? 0 : -1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_ACTIVATE:
        OnActivate(wParam, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_CHAR:
        OnChar(static_cast<wchar_t>(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam));
        return 0;
    case ClickAwayMessage:
        OnClickAway();
        return 0;
    case CatalogMessage:
        OnCatalogArrived();
        return 0;
    case WM_NCDESTROY:
        PublishFlag(window, TakesTextFlag, false);
        RemoveHook();
        graphics_.Detach();
        window_.Release();
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Launchpad::OnCreate()
{
    dpi_ = WindowDpi(window_.Get());
    graphics_.Attach(window_.Get());
    // A window that cannot draw is no launcher: creation fails and the
    // application drops the object.
    if (FAILED(graphics_.Rebuild()) && !graphics_.DeviceLostLatched()) {
        DebugLog(L"Launchpad : les ressources graphiques n'ont pas pu etre creees.");
        window_.Release();
        return false;
    }
    return true;
}

void Launchpad::OnPaint()
{
    ValidateWithoutPainting(window_.Get());
    Render();
}

void Launchpad::OnSize(int width, int height)
{
    if (width == 0 || height == 0) {
        return;
    }
    width_ = width;
    height_ = height;
    LayoutGrid();
    ClampScroll();
    Render();
}

void Launchpad::OnActivate(WPARAM state, HWND other)
{
    if (LOWORD(state) == WA_INACTIVE) {
        if (Visible()) {
            // Which window took the activation: a program the user did not
            // see coming shows up here.
            wchar_t className[64] = {};
            DWORD process = 0;
            if (other != nullptr) {
                GetClassNameW(other, className, 64);
                GetWindowThreadProcessId(other, &process);
            }
            DebugLog(L"Launchpad : activation prise par \"%ls\" (processus %lu).", className, process);
        }
        HideWindow(L"desactivation");
    }
}

void Launchpad::OnKeyDown(WPARAM key)
{
    const int current = hoverCell_;
    switch (key) {
    case VK_ESCAPE:
        HideWindow(L"Echap");
        return;
    case VK_LEFT:
        SetHighlight(MoveHighlight(grid_, current, HighlightMove::Left, PageRows()), true);
        return;
    case VK_RIGHT:
        SetHighlight(MoveHighlight(grid_, current, HighlightMove::Right, PageRows()), true);
        return;
    case VK_UP:
        SetHighlight(MoveHighlight(grid_, current, HighlightMove::Up, PageRows()), true);
        return;
    case VK_DOWN:
        SetHighlight(MoveHighlight(grid_, current, HighlightMove::Down, PageRows()), true);
        return;
    case VK_PRIOR:
        SetHighlight(MoveHighlight(grid_, current, HighlightMove::PageUp, PageRows()), true);
        return;
    case VK_NEXT:
        SetHighlight(MoveHighlight(grid_, current, HighlightMove::PageDown, PageRows()), true);
        return;
    case VK_HOME:
        SetHighlight(MoveHighlight(grid_, current, HighlightMove::Home, PageRows()), true);
        return;
    case VK_END:
        SetHighlight(MoveHighlight(grid_, current, HighlightMove::End, PageRows()), true);
        return;
    default:
        return;
    }
}

int Launchpad::PageRows() const
{
    const float visible = static_cast<float>(height_) - (LaunchpadMargin + LaunchpadGridTop) * Scale();
    return std::max(1, static_cast<int>(visible / (LaunchpadCellHeight * Scale())));
}

void Launchpad::SetHighlight(int cell, bool bringIntoView)
{
    if (bringIntoView && cell >= 0) {
        scroll_ = ScrollToShowCell(grid_, cell, scroll_, static_cast<float>(height_), Scale());
    }
    hoverCell_ = cell;
    Render();
}

void Launchpad::OnChar(wchar_t unit)
{
    switch (unit) {
    case 27:
        HideWindow(L"Echap");
        return;
    case 8:
        if (query_.empty()) {
            return;
        }
        query_ = WithoutLastCharacter(query_);
        Filter();
        Render();
        return;
    case 13:
        if (matches_.empty()) {
            DebugLog(L"Launchpad : Entree sans resultat.");
            return;
        }
        // The highlighted cell, else the first match.
        Launch(hoverCell_ >= 0 ? hoverCell_ : 0);
        return;
    default:
        break;
    }
    if (unit < 32 || unit == 127) {
        return;
    }
    query_ += unit;
    Filter();
    Render();
}

void Launchpad::OnTimer(UINT_PTR id)
{
    if (id == CaretTimer) {
        caretOn_ = !caretOn_;
        Render();
    } else if (id == OpenTimer) {
        openProgress_ += OpenStep;
        if (openProgress_ >= 1.0f) {
            openProgress_ = 1.0f;
            opening_ = false;
            KillTimer(window_.Get(), OpenTimer);
            DebugLog(L"Launchpad : ouverture terminee.");
        }
        Render();
    }
}

void Launchpad::OnMouseMove(int x, int y)
{
    if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_.Get(), 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
    }
    const int hit = LaunchpadHitTest(grid_, static_cast<float>(x), static_cast<float>(y), static_cast<float>(height_),
                                     scroll_, Scale());
    // The keyboard's highlight stays until the pointer points at another cell.
    if (hit != hoverCell_ && hit >= 0) {
        SetHighlight(hit, false);
    }
}

void Launchpad::OnMouseLeave()
{
    tracking_ = false;
    if (hoverCell_ >= 0) {
        hoverCell_ = -1;
        Render();
    }
}

void Launchpad::OnLeftButtonUp(int x, int y)
{
    const int hit = LaunchpadHitTest(grid_, static_cast<float>(x), static_cast<float>(y), static_cast<float>(height_),
                                     scroll_, Scale());
    if (hit >= 0) {
        Launch(hit);
    }
}

void Launchpad::OnMouseWheel(int delta)
{
    scroll_ -= LaunchpadCellHeight * Scale() * (static_cast<float>(delta) / WHEEL_DELTA);
    ClampScroll();
    Render();
}

void Launchpad::OnDpiChanged(UINT dpi)
{
    if (dpi == 0 || dpi == dpi_) {
        return;
    }
    dpi_ = dpi;
    graphics_.Release();
    if (Visible()) {
        Place();
        Render();
    }
}

void Launchpad::OnClickAway()
{
    clickAwayTick_ = GetTickCount();
    // Zero means "none": a click exactly at the tick counter's wrap still counts.
    if (clickAwayTick_ == 0) {
        clickAwayTick_ = 1;
    }
    HideWindow(L"clic a l'exterieur");
}

}  // namespace cadrels
