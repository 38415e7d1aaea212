// The cadrel's window and lifecycle: class, creation, teardown, the message
// table, z-order and visibility, DPI and display changes, and the properties
// copied from and back to the record.
#include "cadrel/Cadrel.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "base/PublishedFlags.h"
#include "base/RectConversion.h"
#include "base/WindowClass.h"
#include "cadrel/CadrelDropTarget.h"
#include "cadrel/CadrelProperties.h"
#include "cadrel/CadrelSelection.h"
#include "i18n/StringTable.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace cadrels {

LPARAM PackScreenPoint(POINT point)
{
    const auto low = static_cast<std::uint32_t>(point.x);
    const auto high = static_cast<std::uint32_t>(point.y);
    return static_cast<LPARAM>((static_cast<std::uint64_t>(high) << 32) | low);
}

POINT UnpackScreenPoint(LPARAM packed)
{
    const auto bits = static_cast<std::uint64_t>(packed);
    return {static_cast<LONG>(static_cast<std::int32_t>(bits & 0xFFFFFFFFu)),
            static_cast<LONG>(static_cast<std::int32_t>(bits >> 32))};
}

Cadrel::Cadrel(GraphicsDevice& graphics, HWND appWindow, CadrelHost& host)
    : graphicsDevice_(graphics), appWindow_(appWindow), host_(host), painter_(graphics),
      graphics_(graphics, *this, appWindow), icons_(host.IconsForCadrels())
{
    hosting_.SetContext(host.HostedApps(), [&host] { return host.HostedEverywhere(); });
}

Cadrel::~Cadrel()
{
    Destroy();
}

bool Cadrel::Create(HINSTANCE instance, const CadrelRecord& record, std::vector<LiveTab> tabs, int activeIndex,
                    int x, int y, int width, int height)
{
    id_ = record.id;
    // Before the window exists: its first brushes take these colours. A
    // hand-edited file may hold anything; the cadrel shows, and saves back,
    // the nearest value it can use.
    properties_ = ValidProperties(record);
    tabs_ = std::move(tabs);
    if (tabs_.empty()) {
        LiveTab tab;
        tab.title = Tr(TextId::Cadrel);
        tabs_.push_back(std::move(tab));
    }
    activeTab_ = std::clamp(activeIndex, 0, static_cast<int>(tabs_.size()) - 1);

    const HINSTANCE module = RegisterWindowClass({ClassName, CS_DBLCLKS}, ForwardingWndProc<Cadrel>, instance);
    HWND window = module == nullptr
                      ? nullptr
                      : CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_NOREDIRECTIONBITMAP | WS_EX_TOOLWINDOW, ClassName,
                                        tabs_[static_cast<size_t>(activeTab_)].title.c_str(), WS_POPUP, x, y, width,
                                        height, nullptr, nullptr, module, this);
    if (window == nullptr) {
        DebugLog(L"Creation de la fenetre de cadrel impossible (erreur %lu).", GetLastError());
        return false;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

void Cadrel::Destroy()
{
    // Every step runs whatever the earlier ones did.
    if (RenameOpen()) {
        CancelRename();
    }
    if (iconPicker_) {
        iconPicker_->Close();
    }
    HWND window = window_.Get();
    for (int index = 0; index < static_cast<int>(tabs_.size()); ++index) {
        if (tabs_[static_cast<size_t>(index)].hostedWindow != nullptr) {
            hosting_.Release(index);
        }
    }
    if (window != nullptr) {
        for (UINT_PTR timer = CadrelTimerFolderRefresh; timer <= CadrelTimerRollUpCheck; ++timer) {
            KillTimer(window, timer);
        }
    }
    roll_.Stop();
    content_.StopWatching();
    RevokeDropTarget();
    graphics_.Release();
    window_.Reset();
    graphics_.Attach(nullptr);
    ReleaseDeviceResources();
}

void Cadrel::CopyPropertiesTo(CadrelRecord& record) const
{
    static_cast<CadrelProperties&>(record) = properties_;
}

void Cadrel::Notify(UINT message, bool notify) const
{
    if (notify && window_) {
        PostMessageW(appWindow_, message, reinterpret_cast<WPARAM>(window_.Get()), 0);
    }
}

void Cadrel::SetOpacity(double opacity, bool notify)
{
    const double clamped = ClampOpacity(opacity);
    const bool unchanged = std::fabs(clamped - properties_.opacity) < 0.001;
    properties_.opacity = clamped;
    if (unchanged && !notify) {
        return;
    }
    painter_.RecolourBackground(Colours());
    Draw();
    Notify(WM_APP_CADREL_OPACITY_CHANGED, notify);
}

void Cadrel::SetLocked(bool locked, bool notify)
{
    properties_.locked = locked;
    Notify(WM_APP_CADREL_CHANGED, notify);
}

void Cadrel::SetClassifyMode(int mode, bool notify)
{
    properties_.classifyMode = ValidClassifyMode(mode);
    Notify(WM_APP_CADREL_CHANGED, notify);
}

void Cadrel::SetSortRule(const SortRule& rule, bool notify)
{
    properties_.rule = rule;
    Notify(WM_APP_CADREL_CHANGED, notify);
}

void Cadrel::SetSort(int key, bool descending, bool notify)
{
    properties_.sortBy = ValidSortKey(key);
    properties_.sortDesc = descending;
    content_.Sort(properties_.sortBy, properties_.sortDesc);
    OnItemsOrdered();
    Draw();
    Notify(WM_APP_CADREL_CHANGED, notify);
}

void Cadrel::SetViewMode(int mode, bool notify)
{
    const int value = ValidViewMode(mode);
    if (value != properties_.viewMode) {
        properties_.viewMode = value;
        ClampScroll();
        Draw();
    }
    Notify(WM_APP_CADREL_CHANGED, notify);
}

void Cadrel::SetZoom(float zoom, bool notify)
{
    const float clamped = ClampZoom(zoom);
    float& current = properties_.density[static_cast<size_t>(properties_.viewMode)];
    if (std::fabs(clamped - current) > 0.001f) {
        current = clamped;
        ClampScroll();
        Draw();
        Notify(WM_APP_CADREL_CHANGED, notify);
    }
}

void Cadrel::SetSnapping(bool enabled, int gridStep)
{
    snapping_.Configure(enabled, gridStep);
}

void Cadrel::SetPageFrozen(bool frozen)
{
    pageFrozen_ = frozen;
}

void Cadrel::SetHidden(bool hidden)
{
    HWND window = window_.Get();
    if (window == nullptr) {
        return;
    }
    allowHide_ = true;
    if (hidden) {
        ShowWindow(window, SW_HIDE);
    } else {
        ShowWindow(window, SW_SHOWNOACTIVATE);
        SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    }
    allowHide_ = false;
    hosting_.Place();
}

void Cadrel::SetMergeHighlight(bool highlight)
{
    if (highlight != mergeHighlight_) {
        mergeHighlight_ = highlight;
        Draw();
    }
}

void Cadrel::AppendTab(const CadrelTab& tab)
{
    LiveTab live;
    static_cast<CadrelTab&>(live) = tab;
    tabs_.push_back(std::move(live));
    const int index = static_cast<int>(tabs_.size()) - 1;
    if (building_) {
        // The listing starts once the record is applied.
        activeTab_ = index;
        SetWindowTitleFromActiveTab();
        return;
    }
    ActivateTab(index, false);
}

void Cadrel::ActivateTab(int index, bool notify)
{
    if (index < 0 || index >= static_cast<int>(tabs_.size()) || index == activeTab_) {
        return;
    }
    activeTab_ = index;
    content_.ResetScroll();
    hoverItem_ = -1;
    SetWindowTitleFromActiveTab();
    content_.StopWatching();
    StartWatcher();
    ListFolder();
    Draw();
    hosting_.Place();
    Notify(WM_APP_CADREL_TABS_CHANGED, notify);
}

void Cadrel::CloseTab(int index, bool notify)
{
    const int count = static_cast<int>(tabs_.size());
    if (count < 2 || index < 0 || index >= count) {
        return;
    }
    CancelTabRename();
    if (tabs_[static_cast<size_t>(index)].hostedWindow != nullptr) {
        hosting_.Release(index);
    }
    const bool wasActive = index == activeTab_;
    tabs_.erase(tabs_.begin() + index);
    if (index < activeTab_) {
        --activeTab_;
    }
    activeTab_ = std::clamp(activeTab_, 0, static_cast<int>(tabs_.size()) - 1);
    content_.ResetScroll();
    hoverItem_ = -1;
    hoverTab_ = -1;
    SetWindowTitleFromActiveTab();
    if (wasActive) {
        content_.StopWatching();
        StartWatcher();
        ListFolder();
    }
    Draw();
    Notify(WM_APP_CADREL_TABS_CHANGED, notify);
}

void Cadrel::MoveTab(int from, int to)
{
    const int count = static_cast<int>(tabs_.size());
    if (from < 0 || from >= count || to < 0 || to >= count || from == to) {
        return;
    }
    CancelTabRename();
    LiveTab moved = std::move(tabs_[static_cast<size_t>(from)]);
    tabs_.erase(tabs_.begin() + from);
    tabs_.insert(tabs_.begin() + to, std::move(moved));
    activeTab_ = ActiveTabAfterMove(activeTab_, from, to);
}

void Cadrel::SetWindowTitleFromActiveTab()
{
    if (window_ && activeTab_ >= 0 && activeTab_ < static_cast<int>(tabs_.size())) {
        SetWindowTextW(window_.Get(), tabs_[static_cast<size_t>(activeTab_)].title.c_str());
    }
}

PixelRect Cadrel::WindowRect() const
{
    RECT rect{};
    GetWindowRect(window_.Get(), &rect);
    return ToPixelRect(rect);
}

RECT Cadrel::TitleBarScreenRect() const
{
    if (!window_) {
        return {};
    }
    const PixelRect window = WindowRect();
    const PixelRect bar =
        TitleBarClientRect(window.Width(), window.Height(), properties_.expandDir, Metrics().titleBar);
    return {window.left + bar.left, window.top + bar.top, window.left + bar.right, window.top + bar.bottom};
}

bool Cadrel::IsOverTitleBar(POINT screenPoint) const
{
    HWND window = window_.Get();
    if (window == nullptr || !IsWindowVisible(window) || rolled_) {
        return false;
    }
    const RECT bar = TitleBarScreenRect();
    return PtInRect(&bar, screenPoint) != FALSE;
}

void Cadrel::Retheme()
{
    painter_.RecolourBackground(Colours());
    painter_.RecolourAccent(Colours());
    Draw();
}

void Cadrel::RebuildGraphics()
{
    if (SUCCEEDED(graphics_.Rebuild())) {
        graphics_.Draw();
    }
}

void Cadrel::Layout(int width, int height)
{
    clientWidth_ = std::clamp(width, 0, MaxSurfaceSide);
    clientHeight_ = std::clamp(height, 0, MaxSurfaceSide);
}

LRESULT Cadrel::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0; shellMenu_.Forward(message, wParam, lParam, result)) {
        return result;
    }
    return Dispatch(window, message, wParam, lParam);
}

LRESULT Cadrel::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_NCCREATE:
        window_.Reset(window);
        graphics_.Attach(window);
        break;
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CLOSE:
        // The application decides: closing asks what becomes of the content.
        PostMessageW(appWindow_, WM_APP_CLOSE_CADREL, reinterpret_cast<WPARAM>(window), 0);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            return OnSetCursor();
        }
        break;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    case WM_WINDOWPOSCHANGED:
        hosting_.Place();
        break;
    case WM_ACTIVATE:
        // The cadrel never keeps the activation: its hosted window gets it.
        if (LOWORD(wParam) != WA_INACTIVE) {
            hosting_.ForwardActivation();
        }
        break;
    case WM_SETFOCUS:
        if (hosting_.ForwardActivation()) {
            return 0;
        }
        break;
    case WM_MOUSEACTIVATE:
        if (hosting_.ActiveTabHosts()) {
            hosting_.ForwardActivation();
            return MA_NOACTIVATE;
        }
        break;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DISPLAYCHANGE:
        OnDisplayChange();
        return 0;
    case WM_TIMER:
        if (wParam == CadrelTimerRollAnimation || wParam == CadrelTimerFolderRefresh ||
            wParam == CadrelTimerTabHover || wParam == CadrelTimerRenameClick || wParam == CadrelTimerRollUpCheck ||
            wParam == CadrelTimerHostKeep || wParam == CadrelTimerHostNudge) {
            OnTimer(wParam);
            return 0;
        }
        break;
    case WM_CADREL_FOLDER_CHANGED:
        OnFolderChanged();
        return 0;
    case WM_CADREL_FOLDER_LISTED:
        OnFolderListed();
        return 0;
    case WM_CADREL_RENAME_COMMIT:
        CommitRename();
        return 0;
    case WM_CADREL_RENAME_CANCEL:
        if (RenameOpen()) {
            CancelRename();
        }
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), wParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(client);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(client, wParam);
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(client);
        return 0;
    case WM_RBUTTONUP:
        OnRightButtonUp();
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLeftButtonDoubleClick(client);
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged();
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_NCDESTROY:
        OnNcDestroy();
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Cadrel::OnCreate()
{
    dpi_ = WindowDpi(window_.Get());
    RECT client{};
    GetClientRect(window_.Get(), &client);
    Layout(client.right, client.bottom);
    RegisterDropTarget();
    // The folder is listed once the application has applied the record
    // (FinishBuilding): its sort order comes with it.
    Draw();
}

void Cadrel::OnPaint()
{
    ValidateWithoutPainting(window_.Get());
}

void Cadrel::OnSize(int width, int height)
{
    if (width == 0 || height == 0 || roll_.Running()) {
        return;
    }
    Layout(width, height);
    ClampScroll();
    Draw();
}

void Cadrel::OnWindowPosChanging(WINDOWPOS& position) const
{
    // While the active tab hosts a window the cadrel stands right below it.
    if (!press_.MovingOrResizing() && (position.flags & SWP_NOZORDER) == 0 && hosting_.ActiveWindow() == nullptr) {
        position.hwndInsertAfter = HWND_BOTTOM;
    }
    // Only the application hides a cadrel: the shell's show-desktop does not.
    if ((position.flags & SWP_HIDEWINDOW) != 0 && !allowHide_) {
        position.flags &= ~SWP_HIDEWINDOW;
    }
}

void Cadrel::OnGetMinMaxInfo(MINMAXINFO& info) const
{
    const CadrelMetrics metrics = Metrics();
    info.ptMinTrackSize = {metrics.minWidth, metrics.minHeight};
    info.ptMaxTrackSize = {GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void Cadrel::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    dpi_ = dpi == 0 ? 96 : dpi;
    // Text formats are made for one scale: everything is built again.
    graphics_.Release();
    SetWindowPos(window_.Get(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    POINT cursor{};
    if (press_.MovingOrResizing() && GetCursorPos(&cursor)) {
        press_.Rebase(ToPixelRect(suggested), {cursor.x, cursor.y});
    }
    RECT client{};
    GetClientRect(window_.Get(), &client);
    Layout(client.right, client.bottom);
    Draw();
    if (!press_.MovingOrResizing()) {
        PostMessageW(appWindow_, WM_APP_DISPLAY_CHANGED, 0, 0);
    }
}

void Cadrel::OnDisplayChange()
{
    const PixelRect window = WindowRect();
    const PixelPoint fitted = FitToMonitor({window.left, window.top}, window.Width(), window.Height());
    SetWindowPos(window_.Get(), nullptr, fitted.x, fitted.y, window.Width(), window.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(window_.Get(), &client);
    Layout(client.right, client.bottom);
    Draw();
    PostMessageW(appWindow_, WM_APP_DISPLAY_CHANGED, 0, 0);
}

void Cadrel::OnTimer(UINT_PTR id)
{
    if (id == CadrelTimerRollAnimation) {
        AnimationStep();
    } else if (id == CadrelTimerFolderRefresh) {
        KillTimer(window_.Get(), CadrelTimerFolderRefresh);
        content_.ChangesListed();
        // Another program writing into the folder is no reason to lose what
        // the user selected there.
        Refresh(true);
    } else if (id == CadrelTimerTabHover) {
        OnTabHoverTimer();
    } else if (id == CadrelTimerRenameClick) {
        OnRenameTimer();
    } else if (id == CadrelTimerHostKeep) {
        AutoRollUpCheck();
        hosting_.OnKeepTimer();
    } else if (id == CadrelTimerHostNudge) {
        hosting_.OnNudgeTimer();
    } else if (id == CadrelTimerRollUpCheck) {
        if (properties_.pinned || rolled_) {
            KillTimer(window_.Get(), CadrelTimerRollUpCheck);
        } else {
            AutoRollUpCheck();
        }
    }
}

void Cadrel::OnNcDestroy()
{
    PublishFlag(window_.Get(), HasSelectionFlag, false);
    publishedSelection_ = false;
    roll_.Stop();
    content_.StopWatching();
    RevokeDropTarget();
    graphics_.Detach();
    // The window is gone already; the wrapper must not destroy it again.
    window_.Release();
}

}  // namespace cadrels
