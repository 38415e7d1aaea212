// Pointer input of a cadrel window: presses on the title bar that move the
// window, on the edges that resize it, double clicks that roll it, hover that
// unfolds it and highlights items and tabs, a click that selects an item,
// and leaving that rolls it up again.
#include "cadrel/Cadrel.h"

#include "base/AppMessages.h"

#include <cstdlib>

namespace cadrels {
namespace {

POINT ToScreen(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    return client;
}

// The pointer as it is now. While the window moves under the pointer, the
// client point of a mouse message was measured against where the window
// stood when the message was made, and Wine also queues moves carrying an
// earlier position after each window move; either would make the window
// chase its own motion. The current position is right on every system.
POINT CursorNow()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    return cursor;
}

bool BeyondDragThreshold(POINT from, POINT to)
{
    return std::abs(to.x - from.x) > GetSystemMetrics(SM_CXDRAG) ||
           std::abs(to.y - from.y) > GetSystemMetrics(SM_CYDRAG);
}

}  // namespace

bool Cadrel::IsOnTitleBar(int x, int y) const
{
    return IsOnTitleBarAt(x, y, clientWidth_, clientHeight_, unfoldDirection_, Metrics().titleBar);
}

int Cadrel::TabAt(int x, int y) const
{
    return TabAtPoint(x, y, static_cast<int>(tabs_.size()), clientWidth_, clientHeight_, unfoldDirection_, dpi_);
}

int Cadrel::ResizeHitTest(int x, int y) const
{
    if (rolled_ || MovingForbidden() || (tabs_.size() > 1 && IsOnTitleBar(x, y))) {
        return 0;
    }
    return ResizeEdgesAt(x, y, clientWidth_, clientHeight_, dpi_);
}

void Cadrel::OnLeftButtonDown(POINT client)
{
    HWND window = window_.Get();
    GetWindowRect(window, &pressRect_);
    pressPoint_ = ToScreen(window, client);
    tabPressed_ = false;
    pressedTab_ = -1;

    if (const int edges = ResizeHitTest(client.x, client.y); edges != 0) {
        resizing_ = true;
        resizeEdges_ = edges;
        CaptureSnapTargets();
    } else if (IsOnTitleBar(client.x, client.y)) {
        titlePressed_ = true;
        if (const int tab = TabAt(client.x, client.y); tab >= 0) {
            tabPressed_ = true;
            pressedTab_ = tab;
        }
    } else if (!rolled_) {
        const int item = ItemAt(client.x, client.y);
        if (item >= 0) {
            SelectOnly(item);
        } else {
            ClearSelection();
        }
        Draw();
    }
    if (titlePressed_ || resizing_) {
        SetCapture(window);
    }
}

void Cadrel::OnMouseMove()
{
    HWND window = window_.Get();
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    if (rolled_ && !pinned_ && !titlePressed_ && !resizing_ && !moving_) {
        SetRolled(false, false, true);
    }
    if (!titlePressed_ && !resizing_) {
        POINT client = CursorNow();
        ScreenToClient(window, &client);
        UpdateHover(client);
        return;
    }
    const POINT cursor = CursorNow();
    if (tabPressed_) {
        // Pressing a tab never moves the window; dragging tabs arrives with
        // the tab strip's own input.
        return;
    }
    if (titlePressed_ && !moving_ && !resizing_) {
        if (MovingForbidden() || !BeyondDragThreshold(pressPoint_, cursor)) {
            return;
        }
        moving_ = true;
        CaptureSnapTargets();
    }
    if (moving_) {
        MoveStep(cursor);
    } else if (resizing_) {
        ResizeStep(cursor);
    }
}

void Cadrel::OnLeftButtonUp()
{
    HWND window = window_.Get();
    if (tabPressed_) {
        const int pressed = pressedTab_;
        tabPressed_ = false;
        pressedTab_ = -1;
        titlePressed_ = false;
        ReleaseCapture();
        ActivateTab(pressed, true);
        return;
    }
    if (!titlePressed_ && !resizing_) {
        return;
    }
    const bool moved = moving_;
    const bool resized = resizing_;
    titlePressed_ = false;
    moving_ = false;
    resizing_ = false;
    ReleaseCapture();
    if (moved || resized) {
        PostMessageW(appWindow_, WM_APP_SAVE_SOON, 0, 0);
    }
    if (moved) {
        PostMessageW(appWindow_, WM_APP_CADREL_DROPPED, reinterpret_cast<WPARAM>(window),
                     PackScreenPoint(CursorNow()));
    }
}

void Cadrel::OnLeftButtonDoubleClick(POINT client)
{
    if (IsOnTitleBar(client.x, client.y)) {
        SetRolled(!rolled_, true, true);
    }
}

void Cadrel::OnCaptureChanged()
{
    const bool wasMoving = moving_;
    moving_ = false;
    resizing_ = false;
    titlePressed_ = false;
    tabPressed_ = false;
    pressedTab_ = -1;
    if (wasMoving) {
        // Clears the merge highlight the application may be showing.
        PostMessageW(appWindow_, WM_APP_CADREL_DRAGGING, 0, 0);
    }
}

void Cadrel::UpdateHover(POINT client)
{
    const int item = rolled_ ? -1 : ItemAt(client.x, client.y);
    const int tab = TabAt(client.x, client.y);
    if (item != hoverItem_ || tab != hoverTab_) {
        hoverItem_ = item;
        hoverTab_ = tab;
        Draw();
    }
}

void Cadrel::OnMouseLeave()
{
    trackingLeave_ = false;
    UpdateHover({-1, -1});
    AutoRollUpCheck();
}

bool Cadrel::OnSetCursor()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(window_.Get(), &cursor);
    const int edges = ResizeHitTest(cursor.x, cursor.y);
    const bool left = edges & EdgeLeft, right = edges & EdgeRight, top = edges & EdgeTop, bottom = edges & EdgeBottom;
    const wchar_t* shape = IDC_ARROW;
    if ((left && top) || (right && bottom)) {
        shape = IDC_SIZENWSE;
    } else if ((right && top) || (left && bottom)) {
        shape = IDC_SIZENESW;
    } else if (left || right) {
        shape = IDC_SIZEWE;
    } else if (top || bottom) {
        shape = IDC_SIZENS;
    }
    SetCursor(LoadCursorW(nullptr, shape));
    return true;
}

}  // namespace cadrels
