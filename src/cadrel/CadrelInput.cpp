// Pointer input of a cadrel window. The left button drives one press at a
// time, whose kind is decided where it lands: an edge resizes, the title bar
// moves the window, a tab switches, reorders or tears off, an item selects
// (and may become a drag or a rename), the space between items starts a
// rubber band, the footer does nothing. Hover highlights items and tabs and
// unfolds a rolled cadrel; the wheel scrolls, or zooms with Ctrl.
#include "cadrel/Cadrel.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "cadrel/CadrelSelection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

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

PixelPoint ToPixel(POINT point)
{
    return {point.x, point.y};
}

bool BeyondDragThreshold(PixelPoint from, POINT to)
{
    return std::abs(to.x - from.x) > GetSystemMetrics(SM_CXDRAG) ||
           std::abs(to.y - from.y) > GetSystemMetrics(SM_CYDRAG);
}

constexpr UINT TabHoverMs = 350;

// Whether a modifier is down as the mouse message is handled: the flags the
// message carries, or the keyboard itself. A cadrel never has the keyboard
// focus, so its thread's own key state need not follow the keyboard.
bool ModifierDown(WPARAM keys, WPARAM flag, int key)
{
    return (keys & flag) != 0 || (GetKeyState(key) & 0x8000) != 0 || (GetAsyncKeyState(key) & 0x8000) != 0;
}

}  // namespace

int Cadrel::ResizeHitTest(int x, int y) const
{
    if (rolled_ || MovingForbidden() || (tabs_.size() > 1 && HitMap().IsOnTitleBar(x, y))) {
        return 0;
    }
    return ResizeEdgesAt(x, y, clientWidth_, clientHeight_, dpi_);
}

void Cadrel::OnLeftButtonDown(POINT client, WPARAM keys)
{
    if (hosting_.PressRelaunch(client)) {
        PostMessageW(appWindow_, WM_APP_HOST_RETRY, 0, 0);
        return;
    }
    HWND window = window_.Get();
    RECT rect{};
    GetWindowRect(window, &rect);
    // Moves and resizes follow the pointer as it is now (see CursorNow), so
    // they start from where it is now too; a press reported late at an
    // earlier place would otherwise shift the whole move.
    press_.Begin(ToPixel(CursorNow()), {rect.left, rect.top, rect.right, rect.bottom});
    KillTimer(window, CadrelTimerTabHover);
    KillTimer(window, CadrelTimerRenameClick);

    const CadrelHitMap map = HitMap();
    if (const int edges = ResizeHitTest(client.x, client.y); edges != 0) {
        press_.PressEdges(edges);
        CaptureSnapTargets();
    } else if (map.IsOnTitleBar(client.x, client.y)) {
        if (const int tab = map.TabAt(client.x, client.y); tab >= 0) {
            press_.PressTab(tab, static_cast<float>(client.x) - map.TabRect(tab).left);
        } else {
            press_.PressTitleBar();
        }
    } else if (map.IsOnFooter(client.y)) {
        // The footer only reads: a press there changes nothing.
        return;
    } else if (!rolled_) {
        PressItems(client, keys);
    }
    if (press_.Active()) {
        SetCapture(window);
    }
}

void Cadrel::PressItems(POINT client, WPARAM keys)
{
    const int item = HitMap().ItemAt(client.x, client.y);
    const bool ctrl = ModifierDown(keys, MK_CONTROL, VK_CONTROL);
    const bool shift = ModifierDown(keys, MK_SHIFT, VK_SHIFT);
    press_.KeepSelectionBefore(content_.SelectedPaths());
    if (item < 0) {
        if (!ctrl) {
            content_.ClearSelection();
        }
        press_.PressBand(ToPixel(client), ctrl, content_.Selection());
    } else {
        bool wasSoleSelection = false;
        if (shift && content_.Anchor() >= 0) {
            content_.SelectRange(content_.Anchor(), item);
        } else {
            if (ctrl) {
                content_.ToggleSelected(item);
            } else {
                wasSoleSelection = content_.IsSelected(item) && content_.SelectedCount() == 1;
                // Pressing one member of a larger selection keeps it, so
                // the whole selection can be dragged.
                if (!content_.IsSelected(item) || content_.SelectedCount() < 2) {
                    content_.SelectOnly(item);
                }
            }
            content_.SetAnchor(item);
        }
        press_.PressItem(item, ToPixel(ToScreen(window_.Get(), client)), wasSoleSelection);
    }
    Draw();
}

void Cadrel::OnMouseMove(POINT client)
{
    HWND window = window_.Get();
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
        }
    if (rolled_ && !properties_.pinned && !press_.OnTitleBar() && !press_.Resizing() && !keptRolledUntilLeave_) {
        SetRolled(false, false, true);
        // Leaving normally rolls it up again; the pointer's leaving is also
        // looked for now and then, since one thread tracks one window at a
        // time and a lost leave notice would keep it open.
        SetTimer(window, CadrelTimerRollUpCheck, 500, nullptr);
    }
    if (!press_.OnTitleBar() && !press_.Resizing()) {
        if (press_.Kind() == PressKind::Band) {
            UpdateMarquee(client.x, client.y);
            Draw();
            return;
        }
        if (press_.DragPending() && BeyondDragThreshold(press_.ItemPoint(), ToScreen(window, client))) {
            // The drag out is a press of its own, run by the system's loop.
            StartDragOut(press_.End().PressedItem());
            return;
        }
        HoverAt(client);
        return;
    }
    const POINT cursor = CursorNow();
    if (press_.Kind() == PressKind::Tab) {
        // Pressing a tab never moves the window: past the threshold it drags
        // the tab, unless the policy locks the cadrels.
        if (!press_.TabDragging()) {
            // Nor while the application asks about closing this cadrel: a
            // tab torn off then would take its folder off the close list.
            if (host_.PolicyLocksCadrels() || closing_) {
                return;
            }
            if (!BeyondDragThreshold(press_.Cursor(), cursor)) {
                return;
            }
            press_.StartTabDrag();
        }
        POINT local = cursor;
        ScreenToClient(window, &local);
        press_.SetTabDragPoint(ToPixel(local));
        TabDragTo(local.x, local.y);
        return;
    }
    if (press_.Kind() == PressKind::TitleBar && !press_.Moving()) {
        if (MovingForbidden() || !BeyondDragThreshold(press_.Cursor(), cursor)) {
            return;
        }
        press_.StartMoving();
        CaptureSnapTargets();
    }
    if (press_.Moving()) {
        MoveStep(cursor);
    } else if (press_.Resizing()) {
        ResizeStep(cursor);
    }
}

void Cadrel::HoverAt(POINT client)
{
    HWND window = window_.Get();
    const CadrelHitMap map = HitMap();
    if (tabs_.size() > 1 && map.IsOnTitleBar(client.x, client.y)) {
        const int tab = map.TabAt(client.x, client.y);
        if (tab == hoverTab_ && hoverItem_ == -1) {
            return;
        }
        hoverTab_ = tab;
        hoverItem_ = -1;
        Draw();
        if (tab < 0 || tab == activeTab_ || dropHighlight_) {
            KillTimer(window, CadrelTimerTabHover);
        } else {
            SetTimer(window, CadrelTimerTabHover, TabHoverMs, nullptr);
        }
        return;
    }
    const int item = rolled_ ? -1 : map.ItemAt(client.x, client.y);
    if (item == hoverItem_ && hoverTab_ == -1) {
        return;
    }
    hoverItem_ = item;
    hoverTab_ = -1;
    KillTimer(window, CadrelTimerTabHover);
    Draw();
}

void Cadrel::UpdateMarquee(int x, int y)
{
    press_.SetBandEnd({x, y});
    const PixelPoint start = press_.BandStart();
    const BandRect band = MarqueeBand(View(), start.x, start.y, x, y);
    content_.SetSelection(SelectByBand(View(), band, content_.Count(), content_.ScrollOffset(),
                                       press_.BandAdditive(), press_.BandBase()));
}

void Cadrel::TabDragTo(int x, int y)
{
    if (IsTabTornOff(View(), x, y)) {
        press_.SetTornOff(true);
        Draw();
        return;
    }
    press_.SetTornOff(false);
    const int slot = HitMap().TabInsertIndex(x, y);
    if (slot != press_.DraggedTab()) {
        MoveTab(press_.DraggedTab(), slot);
        press_.TabMovedTo(slot);
    }
    Draw();
}

void Cadrel::OnLeftButtonUp(POINT client)
{
    if (press_.OnItems()) {
        FinishItemPress(client);
        return;
    }
    if (press_.Kind() == PressKind::Tab) {
        FinishTabPress();
        return;
    }
    if (press_.Kind() != PressKind::TitleBar && !press_.Resizing()) {
        return;
    }
    HWND window = window_.Get();
    const PointerPress ended = press_.End();
    const bool moved = ended.Moving();
    const bool resized = ended.Resizing();
    ReleaseCapture();
    if (moved || resized) {
        PostMessageW(appWindow_, WM_APP_SAVE_SOON, 0, 0);
    }
    if (moved) {
        PostMessageW(appWindow_, WM_APP_CADREL_DROPPED, reinterpret_cast<WPARAM>(window),
                     PackScreenPoint(CursorNow()));
    } else if (!resized) {
        if (const int tab = HitMap().TabAt(client.x, client.y); tab >= 0 && tab != activeTab_) {
            ActivateTab(tab, true);
        }
    }
}

void Cadrel::FinishItemPress(POINT client)
{
    const PointerPress ended = press_.End();
    const bool banded = ended.Kind() == PressKind::Band;
    const int pressed = ended.PressedItem();
    const bool wasSole = ended.WasSoleSelection();
    const PixelPoint pressPoint = ended.ItemPoint();
    ReleaseCapture();
    const POINT release = ToScreen(window_.Get(), client);
    const bool still = std::abs(release.x - pressPoint.x) <= GetSystemMetrics(SM_CXDRAG) &&
                       std::abs(release.y - pressPoint.y) <= GetSystemMetrics(SM_CYDRAG);
    if (wasSole && !banded && content_.Contains(pressed) &&
        HitMap().ItemAt(client.x, client.y) == pressed && still) {
        // A second, slower click on the only selected item renames it,
        // unless it turns out to be a double click.
        press_.SetRenameCandidate(pressed, content_.Items()[static_cast<size_t>(pressed)].path);
        SetTimer(window_.Get(), CadrelTimerRenameClick, GetDoubleClickTime() + 50, nullptr);
    }
    LogSelection();
    Draw();
}

void Cadrel::FinishTabPress()
{
    const PointerPress ended = press_.End();
    const bool dragged = ended.TabDragging();
    const bool torn = ended.TornOff();
    const int dragIndex = ended.DraggedTab();
    const int pressed = ended.PressedTab();
    ReleaseCapture();
    const int count = static_cast<int>(tabs_.size());
    if (!dragged) {
        if (pressed >= 0 && pressed < count && pressed != activeTab_) {
            ActivateTab(pressed, true);
        }
        return;
    }
    if (torn && count >= 2 && dragIndex >= 0 && dragIndex < count) {
        const LiveTab& tab = tabs_[static_cast<size_t>(dragIndex)];
        auto record = std::make_unique<TornTab>();
        record->title = tab.title;
        record->folder = tab.folder;
        record->emblem = tab.emblem;
        record->titleAuto = tab.titleAuto;
        record->hostedExe = tab.hostedExe;
        record->hostedAumid = tab.hostedAumid;
        record->hostedTitle = tab.hostedTitle;
        record->releasePoint = CursorNow();
        record->source = window_.Get();
        CloseTab(dragIndex, true);
        host_.TabTornOff(std::move(record));
        return;
    }
    Draw();
    if (dragIndex != pressed) {
        Notify(WM_APP_CADREL_TABS_CHANGED, true);
    }
}

void Cadrel::OnLeftButtonDoubleClick(POINT client)
{
    KillTimer(window_.Get(), CadrelTimerRenameClick);
    press_.DropRenameCandidate();
    if (HitMap().IsOnTitleBar(client.x, client.y)) {
        // The resize that follows makes the system report a pointer move
        // over the bar, which would unfold an unpinned cadrel at once.
        keptRolledUntilLeave_ = !rolled_;
        SetRolled(!rolled_, true, true);
        return;
    }
    const int item = HitMap().ItemAt(client.x, client.y);
    if (item < 0) {
        return;
    }
    const std::wstring& path = content_.Items()[static_cast<size_t>(item)].path;
    const std::vector<std::wstring>& before = press_.SelectionBefore();
    const bool inEarlier = std::find(before.begin(), before.end(), path) != before.end();
    if (before.size() >= 2 && inEarlier) {
        // The first click left the selection as it was; the double click
        // opens all of it and keeps it selected.
        const std::vector<std::wstring> earlier = before;
        OpenPaths(earlier);
        content_.SelectPaths(earlier);
        Draw();
        return;
    }
    OpenItem(item);
}

void Cadrel::OnRightButtonUp()
{
    KillTimer(window_.Get(), CadrelTimerTabHover);
    const POINT screen = CursorNow();
    POINT client = screen;
    ScreenToClient(window_.Get(), &client);
    const CadrelHitMap map = HitMap();
    const int item = map.IsOnTitleBar(client.x, client.y) ? -1 : map.ItemAt(client.x, client.y);
    if (item >= 0) {
        ShowItemMenu(item, screen);
    } else {
        ShowCadrelMenu(screen);
    }
}

void Cadrel::OnMouseWheel(int delta, WPARAM keys)
{
    if (rolled_) {
        return;
    }
    const float notches = static_cast<float>(delta) / WHEEL_DELTA;
    if (ModifierDown(GET_KEYSTATE_WPARAM(keys), MK_CONTROL, VK_CONTROL)) {
        if (host_.PolicyLocksZoom()) {
            return;
        }
        hoverItem_ = -1;
        SetZoom(properties_.density[static_cast<size_t>(properties_.viewMode)] + 0.1f * notches, true);
        return;
    }
    if (content_.Wheel(delta, View())) {
        hoverItem_ = -1;
        DebugLog(L"Cadrel %hs : defilement a %d px.", id_.c_str(),
                 static_cast<int>(std::lround(content_.ScrollOffset())));
        Draw();
    }
}

void Cadrel::OnTabHoverTimer()
{
    KillTimer(window_.Get(), CadrelTimerTabHover);
    if (tabs_.size() >= 2 && hoverTab_ >= 0 && hoverTab_ < static_cast<int>(tabs_.size()) &&
        hoverTab_ != activeTab_ && !press_.TabDragging() && !press_.MovingOrResizing()) {
        ActivateTab(hoverTab_, true);
    }
}

void Cadrel::OnRenameTimer()
{
    KillTimer(window_.Get(), CadrelTimerRenameClick);
    const int index = press_.TakeRenameCandidate();
    if (content_.Contains(index) && content_.Items()[static_cast<size_t>(index)].path == press_.RenameCandidatePath() &&
        content_.IsSelected(index) && content_.SelectedCount() == 1) {
        BeginItemRename(index);
    }
}

void Cadrel::OnCaptureChanged()
{
    const PointerPress ended = press_.End();
    const bool wasMoving = ended.Moving();
    const bool redraw = ended.TabDragging() || ended.OnItems();
    KillTimer(window_.Get(), CadrelTimerRenameClick);
    press_.DropRenameCandidate();
    if (wasMoving) {
        // Clears the merge highlight the application may be showing.
        PostMessageW(appWindow_, WM_APP_CADREL_DRAGGING, 0, 0);
    }
    if (redraw) {
        Draw();
    }
}

void Cadrel::OnMouseLeave()
{
    trackingLeave_ = false;
    // Wine also reports a leave when the window shrinks under a pointer that
    // stays on it; only a pointer really elsewhere has left.
    if (!PointerOver()) {
        keptRolledUntilLeave_ = false;
    }
    KillTimer(window_.Get(), CadrelTimerTabHover);
    if (hoverItem_ != -1 || hoverTab_ != -1) {
        hoverItem_ = -1;
        hoverTab_ = -1;
        Draw();
    }
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
