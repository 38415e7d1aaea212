// The dock's window procedure and its handlers: magnification under the
// pointer, clicks and double clicks, reordering by dragging, the item menu.
#include "dock/Dock.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "dock/DockLaunch.h"
#include "dock/IconPicker.h"
#include "i18n/StringTable.h"
#include "settings/DarkMenu.h"

#include <windowsx.h>

#include <cstdlib>

namespace cadrels {
namespace {

constexpr int MenuRemove = 1;
constexpr int MenuChangeIcon = 2;

}  // namespace

LRESULT Dock::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        if (LOWORD(lParam) != 0 && HIWORD(lParam) != 0) {
            clientWidth_ = LOWORD(lParam);
            clientHeight_ = HIWORD(lParam);
            Render();
        }
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam));
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLeftButtonDoubleClick();
        return 0;
    case WM_RBUTTONUP:
        OnRightButtonUp();
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam));
        return 0;
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
        Reposition();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCDESTROY:
        graphics_.Detach();
        window_.Release();
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Dock::OnCreate()
{
    // Nothing to build yet: the resources follow the first placement, which
    // knows the monitor's DPI; Create fails when they cannot be made.
    return true;
}

void Dock::OnPaint()
{
    ValidateWithoutPainting(window_.Get());
    Render();
}

void Dock::OnTimer(UINT_PTR id)
{
    if (id == AnimationTimer) {
        OnAnimationTick();
    } else if (id == FullScreenTimer) {
        CheckFullScreen();
    }
}

void Dock::StartAnimation()
{
    if (!animating_ && window_) {
        animating_ = SetTimer(window_.Get(), AnimationTimer, AnimationIntervalMs, nullptr) != 0;
    }
}

void Dock::OnAnimationTick()
{
    const std::vector<float> centres =
        DockRestCentres(DockSlotCount(items_.size()), static_cast<float>(clientWidth_), Scale());
    const DockAnimationStep step = StepDockScales(scales_, centres, pointer_.mouseX, pointer_.dragging, Scale());
    pointer_.hoverSlot = step.hoverSlot;
    const bool bouncing = StepDockBounce(bounce_);
    Render();
    if (!step.moving && !bouncing) {
        // Idle costs nothing: the timer runs only while something moves.
        KillTimer(window_.Get(), AnimationTimer);
        animating_ = false;
    }
}

void Dock::OnMouseMove(int x)
{
    if (!pointer_.tracking) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_.Get(), 0};
        pointer_.tracking = TrackMouseEvent(&track) != FALSE;
    }
    pointer_.mouseX = static_cast<float>(x);
    if (pointer_.pressing && (GetKeyState(VK_LBUTTON) & 0x8000) != 0) {
        if (!pointer_.dragging && std::abs(x - pointer_.pressX) > GetSystemMetrics(SM_CXDRAG)) {
            pointer_.dragging = true;
        }
        if (pointer_.dragging) {
            const std::vector<float> centres =
                DockRestCentres(DockSlotCount(items_.size()), static_cast<float>(clientWidth_), Scale());
            const int target = DockReorderTarget(centres, items_.size(), pointer_.mouseX);
            if (target != pointer_.dragIndex && MoveDockItem(items_, pointer_.dragIndex, target)) {
                pointer_.dragIndex = target;
            }
        }
    }
    Render();
    StartAnimation();
}

void Dock::OnMouseLeave()
{
    pointer_.tracking = false;
    pointer_.mouseX = -1.0f;
    pointer_.suppressClick = false;
    StartAnimation();
}

void Dock::ResetDrag()
{
    pointer_.pressing = false;
    pointer_.dragging = false;
    pointer_.dragIndex = -1;
    pointer_.pressX = 0;
}

void Dock::OnLeftButtonDown(int x, int y)
{
    pointer_.suppressClick = false;
    const int slot = DockHitTest(layout_, static_cast<float>(x), static_cast<float>(y));
    ResetDrag();
    const DockSlot content = DockSlotAt(slot, items_.size());
    if (slot >= 0 && content.kind == DockSlotKind::Item) {
        pointer_.pressing = true;
        pointer_.dragIndex = content.item;
        pointer_.pressX = x;
    }
    SetCapture(window_.Get());
}

void Dock::OnLeftButtonUp(int x, int y)
{
    const bool dragged = pointer_.dragging;
    // Cleared before the capture goes, so WM_CAPTURECHANGED does not report
    // this drag a second time.
    pointer_.pressing = false;
    pointer_.dragging = false;
    ReleaseCapture();
    pointer_.dragIndex = -1;
    if (dragged) {
        DebugLog(L"Dock : element deplace.");
        Render();
        PostChanged();
        return;
    }
    if (pointer_.suppressClick) {
        pointer_.suppressClick = false;
        return;
    }
    const int slot = DockHitTest(layout_, static_cast<float>(x), static_cast<float>(y));
    if (slot < 0) {
        return;
    }
    bounce_ = DockBounce{slot, 0.0f};
    StartAnimation();
    RunSlotAction(slot);
}

void Dock::OnLeftButtonDoubleClick()
{
    // The first click of the pair has launched already; the second does nothing.
    pointer_.suppressClick = true;
    SetCapture(window_.Get());
    ResetDrag();
}

void Dock::OnRightButtonUp()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    POINT client = cursor;
    ScreenToClient(window_.Get(), &client);
    const int slot = DockHitTest(layout_, static_cast<float>(client.x), static_cast<float>(client.y));
    const DockSlot content = DockSlotAt(slot, items_.size());
    DebugLog(L"Dock : clic droit sur l'emplacement %d.", slot);
    if (slot < 0 || content.kind != DockSlotKind::Item) {
        return;
    }
    ShowIconMenu(content.item, cursor.x, cursor.y);
}

void Dock::OnCaptureChanged()
{
    if (pointer_.dragging) {
        PostChanged();
    }
    ResetDrag();
}

void Dock::OnDpiChanged(UINT dpi)
{
    if (dpi != 0 && dpi != dpi_) {
        dpi_ = dpi;
        graphics_.Release();
    }
    Reposition();
}

void Dock::RunSlotAction(int slot)
{
    const DockSlot content = DockSlotAt(slot, items_.size());
    DebugLog(L"Dock : clic sur l'emplacement %d.", slot);
    switch (content.kind) {
    case DockSlotKind::ThisPc:
        LaunchDockTarget(window_.Get(), L"shell:MyComputerFolder");
        break;
    case DockSlotKind::Applications:
        PostMessageW(appWindow_, WM_APP_TOGGLE_LAUNCHPAD, 0, 0);
        break;
    case DockSlotKind::NewCadrel:
        PostMessageW(appWindow_, WM_APP_NEW_CADREL_PRESET, 0, 0);
        break;
    case DockSlotKind::Settings:
        PostMessageW(appWindow_, WM_APP_SHOW_SETTINGS, 0, 0);
        break;
    case DockSlotKind::Item:
        LaunchDockTarget(window_.Get(), items_[static_cast<size_t>(content.item)]);
        break;
    case DockSlotKind::Trash:
        LaunchDockTarget(window_.Get(), L"shell:RecycleBinFolder");
        break;
    }
}

void Dock::ShowIconMenu(int index, int x, int y)
{
    if (index < 0 || static_cast<size_t>(index) >= items_.size()) {
        return;
    }
    // The menu pumps messages: a drop or a drag may change the list while it
    // is open, so the item is found again by its text afterwards.
    const std::wstring item = items_[static_cast<size_t>(index)];
    DarkMenuItem changeIcon;
    changeIcon.label = Tr(TextId::ChangeIcon);
    changeIcon.id = MenuChangeIcon;
    DarkMenuItem remove;
    remove.label = Tr(TextId::RemoveFromDock);
    remove.id = MenuRemove;
    DebugLog(L"Dock : menu de l'element %d.", index);
    const int chosen =
        ShowDarkMenu(window_.Get(), {changeIcon, DarkMenuItem::Separator(), remove}, x, y, static_cast<int>(dpi_));
    int current = -1;
    for (size_t position = 0; position < items_.size(); ++position) {
        if (SameDockItem(items_[position], item)) {
            current = static_cast<int>(position);
            break;
        }
    }
    if (current < 0) {
        return;
    }
    if (chosen == MenuRemove) {
        RemoveItem(current);
    } else if (chosen == MenuChangeIcon) {
        OpenIconPicker(current);
    }
}

void Dock::RemoveItem(int index)
{
    const std::wstring item = items_[static_cast<size_t>(index)];
    if (const auto custom = customIcons_.find(item); custom != customIcons_.end()) {
        svgs_.Remove(custom->second);
        customIcons_.erase(custom);
    }
    items_.erase(items_.begin() + index);
    ResetScales();
    pointer_.hoverSlot = -1;
    DebugLog(L"Dock : element retire (%zu restant(s)).", items_.size());
    Reposition();
    PostChanged();
}

void Dock::OpenIconPicker(int index)
{
    if (!picker_) {
        picker_ = std::make_unique<IconPicker>(device_, appWindow_);
    }
    const std::wstring item = items_[static_cast<size_t>(index)];
    const auto custom = customIcons_.find(item);
    const std::wstring current = custom != customIcons_.end() ? custom->second : std::wstring();
    picker_->Open(window_.Get(), dpi_, current, [this, item](const std::wstring& key) {
        for (size_t position = 0; position < items_.size(); ++position) {
            if (SameDockItem(items_[position], item)) {
                SetItemIcon(static_cast<int>(position), key);
                return;
            }
        }
    });
}

}  // namespace cadrels
