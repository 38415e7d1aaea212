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

bool BeyondDragThreshold(POINT from, POINT to)
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

void Cadrel::SetZoomLockQuery(LockQuery query)
{
    zoomLocked_ = std::move(query);
}

void Cadrel::SetTornTabMailbox(Mailbox<TornTab>* mailbox)
{
    tornTabs_ = mailbox;
}

void Cadrel::OnLeftButtonDown(POINT client, WPARAM keys)
{
    if (hosting_.PressRelaunch(client)) {
        PostMessageW(appWindow_, WM_APP_HOST_RETRY, 0, 0);
        return;
    }
    HWND window = window_.Get();
    GetWindowRect(window, &pressRect_);
    // Moves and resizes follow the pointer as it is now (see CursorNow), so
    // they start from where it is now too; a press reported late at an
    // earlier place would otherwise shift the whole move.
    pressPoint_ = CursorNow();
    itemPressPending_ = false;
    pressedItem_ = -1;
    tabPressed_ = false;
    pressedTab_ = -1;
    tabDragging_ = false;
    tornOff_ = false;
    draggedTab_ = -1;
    KillTimer(window, CadrelTimerTabHover);
    KillTimer(window, CadrelTimerRenameClick);
    renameCandidate_ = -1;
    wasSoleSelection_ = false;

    if (const int edges = ResizeHitTest(client.x, client.y); edges != 0) {
        resizing_ = true;
        resizeEdges_ = edges;
        CaptureSnapTargets();
    } else if (IsOnTitleBar(client.x, client.y)) {
        titlePressed_ = true;
        if (const int tab = TabAt(client.x, client.y); tab >= 0) {
            tabPressed_ = true;
            pressedTab_ = tab;
            const LayoutRect rect = TabRect(tab);
            tabGrabOffset_ = static_cast<float>(client.x) - rect.left;
        }
    } else if (IsOnFooter(client.y)) {
        // The footer only reads: a press there changes nothing.
        return;
    } else if (!rolled_) {
        PressItems(client, keys);
    }
    if (titlePressed_ || resizing_ || itemCapture_) {
        SetCapture(window);
    }
}

void Cadrel::PressItems(POINT client, WPARAM keys)
{
    const int item = ItemAt(client.x, client.y);
    const bool ctrl = ModifierDown(keys, MK_CONTROL, VK_CONTROL);
    const bool shift = ModifierDown(keys, MK_SHIFT, VK_SHIFT);
    preClickSelection_ = SelectedPaths();
    if (item < 0) {
        if (!ctrl) {
            ClearSelection();
        }
        marqueeActive_ = true;
        marqueeAdditive_ = ctrl;
        marqueeStart_ = marqueeEnd_ = client;
        marqueeBase_ = selection_;
    } else {
        if (shift && anchor_ >= 0) {
            SelectRange(anchor_, item);
        } else {
            if (ctrl) {
                ToggleSelected(item);
            } else {
                wasSoleSelection_ = IsSelected(item) && SelectedCount() == 1;
                // Pressing one member of a larger selection keeps it, so
                // the whole selection can be dragged.
                if (!IsSelected(item) || SelectedCount() < 2) {
                    SelectOnly(item);
                }
            }
            anchor_ = item;
        }
        itemPressPoint_ = ToScreen(window_.Get(), client);
        itemPressPending_ = true;
        pressedItem_ = item;
    }
    itemCapture_ = true;
    Draw();
}

void Cadrel::OnMouseMove(POINT client)
{
    HWND window = window_.Get();
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
        }
    if (rolled_ && !pinned_ && !titlePressed_ && !resizing_ && !moving_ && !tabDragging_ && !keptRolledUntilLeave_) {
        SetRolled(false, false, true);
        // Leaving normally rolls it up again; the pointer's leaving is also
        // looked for now and then, since one thread tracks one window at a
        // time and a lost leave notice would keep it open.
        SetTimer(window, CadrelTimerRollUpCheck, 500, nullptr);
    }
    if (!titlePressed_ && !resizing_) {
        if (marqueeActive_) {
            UpdateMarquee(client.x, client.y);
            Draw();
            return;
        }
        if (itemPressPending_ && BeyondDragThreshold(itemPressPoint_, ToScreen(window, client))) {
            itemPressPending_ = false;
            itemCapture_ = false;
            StartDragOut(std::exchange(pressedItem_, -1));
            return;
        }
        HoverAt(client);
        return;
    }
    const POINT cursor = CursorNow();
    if (tabPressed_) {
        // Pressing a tab never moves the window: past the threshold it drags
        // the tab, unless the policy locks the cadrels.
        if (!tabDragging_) {
            // Nor while the application asks about closing this cadrel: a
            // tab torn off then would take its folder off the close list.
            if ((policyLocked_ && policyLocked_()) || closing_) {
                return;
            }
            if (!BeyondDragThreshold(pressPoint_, cursor)) {
                return;
            }
            tabDragging_ = true;
            draggedTab_ = pressedTab_;
        }
        POINT local = cursor;
        ScreenToClient(window, &local);
        tabDragPoint_ = local;
        TabDragTo(local.x, local.y);
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

void Cadrel::HoverAt(POINT client)
{
    HWND window = window_.Get();
    if (tabs_.size() > 1 && IsOnTitleBar(client.x, client.y)) {
        const int tab = TabAt(client.x, client.y);
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
    const int item = rolled_ ? -1 : ItemAt(client.x, client.y);
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
    marqueeEnd_ = {x, y};
    const BandRect band = MarqueeBand(View(), marqueeStart_.x, marqueeStart_.y, x, y);
    selection_ = SelectByBand(View(), band, static_cast<int>(items_.size()), scrollOffset_, marqueeAdditive_,
                              marqueeBase_);
}

void Cadrel::TabDragTo(int x, int y)
{
    if (IsTabTornOff(View(), x, y)) {
        tornOff_ = true;
        Draw();
        return;
    }
    tornOff_ = false;
    const int slot = TabInsertIndex(x, y);
    if (slot != draggedTab_) {
        MoveTab(draggedTab_, slot);
        draggedTab_ = slot;
    }
    Draw();
}

void Cadrel::OnLeftButtonUp(POINT client)
{
    if (itemCapture_) {
        FinishItemPress(client);
        return;
    }
    if (tabPressed_) {
        FinishTabPress();
        return;
    }
    if (!titlePressed_ && !resizing_) {
        return;
    }
    HWND window = window_.Get();
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
    } else if (!resized) {
        if (const int tab = TabAt(client.x, client.y); tab >= 0 && tab != activeTab_) {
            ActivateTab(tab, true);
        }
    }
}

void Cadrel::FinishItemPress(POINT client)
{
    const bool banded = marqueeActive_;
    const int pressed = pressedItem_;
    const bool wasSole = wasSoleSelection_;
    const POINT pressPoint = itemPressPoint_;
    itemCapture_ = false;
    marqueeActive_ = false;
    itemPressPending_ = false;
    pressedItem_ = -1;
    wasSoleSelection_ = false;
    ReleaseCapture();
    const POINT release = ToScreen(window_.Get(), client);
    const bool still = std::abs(release.x - pressPoint.x) <= GetSystemMetrics(SM_CXDRAG) &&
                       std::abs(release.y - pressPoint.y) <= GetSystemMetrics(SM_CYDRAG);
    if (wasSole && !banded && pressed >= 0 && pressed < static_cast<int>(items_.size()) &&
        ItemAt(client.x, client.y) == pressed && still) {
        // A second, slower click on the only selected item renames it,
        // unless it turns out to be a double click.
        renameCandidate_ = pressed;
        renameCandidatePath_ = items_[static_cast<size_t>(pressed)].path;
        SetTimer(window_.Get(), CadrelTimerRenameClick, GetDoubleClickTime() + 50, nullptr);
    }
    LogSelection();
    Draw();
}

void Cadrel::FinishTabPress()
{
    const bool dragged = tabDragging_;
    const bool torn = tornOff_;
    const int dragIndex = draggedTab_;
    const int pressed = pressedTab_;
    tabDragging_ = false;
    tornOff_ = false;
    draggedTab_ = -1;
    pressedTab_ = -1;
    tabPressed_ = false;
    titlePressed_ = false;
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
        if (tornTabs_ != nullptr) {
            tornTabs_->Post(appWindow_, WM_APP_TAB_TORN_OFF, std::move(record));
        }
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
    renameCandidate_ = -1;
    wasSoleSelection_ = false;
    if (IsOnTitleBar(client.x, client.y)) {
        // The resize that follows makes the system report a pointer move
        // over the bar, which would unfold an unpinned cadrel at once.
        keptRolledUntilLeave_ = !rolled_;
        SetRolled(!rolled_, true, true);
        return;
    }
    const int item = ItemAt(client.x, client.y);
    if (item < 0) {
        return;
    }
    const std::wstring& path = items_[static_cast<size_t>(item)].path;
    const bool inEarlier = std::find(preClickSelection_.begin(), preClickSelection_.end(), path) !=
                           preClickSelection_.end();
    if (preClickSelection_.size() >= 2 && inEarlier) {
        // The first click left the selection as it was; the double click
        // opens all of it and keeps it selected.
        const std::vector<std::wstring> earlier = preClickSelection_;
        OpenPaths(earlier);
        for (size_t i = 0; i < items_.size(); ++i) {
            selection_[i] = std::find(earlier.begin(), earlier.end(), items_[i].path) != earlier.end();
        }
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
    const int item = IsOnTitleBar(client.x, client.y) ? -1 : ItemAt(client.x, client.y);
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
        if (zoomLocked_ && zoomLocked_()) {
            return;
        }
        hoverItem_ = -1;
        SetZoom(zooms_[static_cast<size_t>(viewMode_)] + 0.1f * notches, true);
        return;
    }
    const float next = WheelScrollOffset(scrollOffset_, delta, View(), static_cast<int>(items_.size()));
    if (next != scrollOffset_) {
        scrollOffset_ = next;
        hoverItem_ = -1;
        DebugLog(L"Cadrel %hs : defilement a %d px.", id_.c_str(), static_cast<int>(std::lround(scrollOffset_)));
        Draw();
    }
}

void Cadrel::OnTabHoverTimer()
{
    KillTimer(window_.Get(), CadrelTimerTabHover);
    if (tabs_.size() >= 2 && hoverTab_ >= 0 && hoverTab_ < static_cast<int>(tabs_.size()) &&
        hoverTab_ != activeTab_ && !tabDragging_ && !moving_ && !resizing_) {
        ActivateTab(hoverTab_, true);
    }
}

void Cadrel::OnRenameTimer()
{
    KillTimer(window_.Get(), CadrelTimerRenameClick);
    const int index = std::exchange(renameCandidate_, -1);
    if (index >= 0 && index < static_cast<int>(items_.size()) &&
        items_[static_cast<size_t>(index)].path == renameCandidatePath_ && IsSelected(index) &&
        SelectedCount() == 1) {
        BeginItemRename(index);
    }
}

void Cadrel::OnCaptureChanged()
{
    const bool wasMoving = moving_;
    const bool redraw = tabDragging_ || itemCapture_ || marqueeActive_;
    moving_ = false;
    resizing_ = false;
    titlePressed_ = false;
    tornOff_ = false;
    tabDragging_ = false;
    tabPressed_ = false;
    draggedTab_ = -1;
    pressedTab_ = -1;
    marqueeActive_ = false;
    itemCapture_ = false;
    itemPressPending_ = false;
    pressedItem_ = -1;
    wasSoleSelection_ = false;
    KillTimer(window_.Get(), CadrelTimerRenameClick);
    renameCandidate_ = -1;
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
