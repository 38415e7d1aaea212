// The dock's life: creation, placement above the taskbar, the backdrop
// sample, standing aside for full-screen programs, and the item list.
#include "dock/Dock.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "base/RectConversion.h"
#include "dock/DockDropTarget.h"
#include "dock/DockLaunch.h"
#include "dock/DockPlacement.h"
#include "dock/IconPicker.h"

#include <shellapi.h>
#include <shellscalingapi.h>

#include <cmath>

namespace cadrels {
namespace {

TaskbarEdge ToTaskbarEdge(UINT edge)
{
    switch (edge) {
    case ABE_LEFT:
        return TaskbarEdge::Left;
    case ABE_TOP:
        return TaskbarEdge::Top;
    case ABE_RIGHT:
        return TaskbarEdge::Right;
    default:
        return TaskbarEdge::Bottom;
    }
}

// The desktop itself covers every monitor: it is never a full-screen program.
bool IsDesktopWindow(HWND window)
{
    if (window == GetDesktopWindow() || window == GetShellWindow()) {
        return true;
    }
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    return wcscmp(className, L"Progman") == 0 || wcscmp(className, L"WorkerW") == 0;
}

}  // namespace

Dock::Dock(GraphicsDevice& device, IconCache* icons, HWND appWindow)
    : device_(device), icons_(icons), appWindow_(appWindow), graphics_(device, *this, appWindow)
{
}

Dock::~Dock()
{
    picker_.reset();
    if (window_) {
        KillTimer(window_.Get(), AnimationTimer);
        KillTimer(window_.Get(), FullScreenTimer);
        if (dropRegistered_) {
            RevokeDragDrop(window_.Get());
        }
    }
    if (dropTarget_) {
        dropTarget_->Detach();
    }
    // The objects go before the window they were bound to.
    graphics_.Release();
    window_.Reset();
}

bool Dock::Create(HINSTANCE instance, const std::vector<std::wstring>& items,
                  const std::map<std::wstring, std::wstring>& customIcons)
{
    items_ = items;
    customIcons_ = customIcons;
    ResetScales();
    HWND window = CreateOwnWindow(instance, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | device_.WindowExStyle(),
                                  WindowTitle, WS_POPUP, 0, 0, DockWindowWidth(items_.size(), 1.0f),
                                  static_cast<int>(DockWindowHeight));
    if (window == nullptr) {
        DebugLog(L"Dock : creation de la fenetre impossible (erreur %lu).", GetLastError());
        return false;
    }
    window_.Reset(window);
    graphics_.Attach(window);
    dpi_ = WindowDpi(window);

    // Created with a reference of ours, which the ComPtr takes over.
    AdoptComObject(dropTarget_, new DockDropTarget(*this));
    const HRESULT registered = RegisterDragDrop(window, dropTarget_.Get());
    dropRegistered_ = SUCCEEDED(registered);
    if (!dropRegistered_) {
        DebugLog(L"Dock : RegisterDragDrop a echoue (HRESULT 0x%08X).", static_cast<unsigned>(registered));
    }

    Reposition();
    if (!graphics_.Built() && !graphics_.DeviceLostLatched()) {
        DebugLog(L"Dock : les ressources graphiques n'ont pas pu etre creees.");
        return false;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    // The poll runs for as long as the dock exists, so it should not wake the
    // processor on its own; plain SetTimer where coalescing is refused.
    if (SetCoalescableTimer(window, FullScreenTimer, FullScreenIntervalMs, nullptr, FullScreenToleranceMs) == 0) {
        SetTimer(window, FullScreenTimer, FullScreenIntervalMs, nullptr);
    }
    DebugLog(L"Dock cree : %zu element(s), %dx%d en (%d,%d).", items_.size(), clientWidth_, clientHeight_,
             static_cast<int>(monitorRect_.left), static_cast<int>(monitorRect_.top));
    return true;
}

void Dock::Reposition()
{
    if (!window_) {
        return;
    }
    HMONITOR monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (SUCCEEDED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY)) && dpiX != 0 && dpiX != dpi_) {
        dpi_ = dpiX;
        // Text formats are made for one scale.
        graphics_.Release();
    }

    DockPlacementInput input;
    APPBARDATA taskbar{};
    taskbar.cbSize = sizeof taskbar;
    if (SHAppBarMessage(ABM_GETTASKBARPOS, &taskbar) != 0) {
        input.edge = ToTaskbarEdge(taskbar.uEdge);
        input.taskbar = ToPixelRect(taskbar.rc);
        monitor = MonitorFromRect(&taskbar.rc, MONITOR_DEFAULTTOPRIMARY);
    }
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        input.monitor = ToPixelRect(info.rcMonitor);
        input.work = ToPixelRect(info.rcWork);
    } else {
        const int width = GetSystemMetrics(SM_CXSCREEN);
        const int height = GetSystemMetrics(SM_CYSCREEN);
        input.monitor = {0, 0, width, height};
        input.work = input.monitor;
    }
    monitorRect_ = RECT{input.monitor.left, input.monitor.top, input.monitor.right, input.monitor.bottom};

    const float scale = Scale();
    input.width = DockWindowWidth(items_.size(), scale);
    input.height = static_cast<int>(std::ceil(DockWindowHeight * scale - 0.001f));
    input.distance = static_cast<int>(std::lround(DockEdgeDistance * scale));
    const PixelPoint at = PlaceDock(input);
    clientWidth_ = input.width;
    clientHeight_ = input.height;
    const UINT show = hiddenForFullScreen_ ? 0 : SWP_SHOWWINDOW;
    SetWindowPos(window_.Get(), HWND_TOPMOST, at.x, at.y, input.width, input.height, show | SWP_NOACTIVATE);
    SampleBackdrop();
    Render();
}

FrameResult Dock::Render()
{
    // After a reported loss every animation tick would fail again on the dead
    // device; the dock waits for the application's rebuild. A device made
    // meanwhile on another window's report is taken up by the next frame.
    if (!window_ || hiddenForFullScreen_ || graphics_.LostOnCurrentDevice()) {
        return FrameResult::Skipped;
    }
    return graphics_.Draw();
}

FrameResult Dock::RebuildGraphics()
{
    if (FAILED(graphics_.Rebuild())) {
        return graphics_.DeviceLostLatched() ? FrameResult::DeviceLost : FrameResult::Dropped;
    }
    SampleBackdrop();
    return Render();
}

void Dock::SampleBackdrop()
{
    backdrop_.reset();
    if (!window_ || clientWidth_ <= 0 || clientHeight_ <= 0) {
        return;
    }
    RECT bounds{};
    GetWindowRect(window_.Get(), &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    // Without the exclusion (older systems, some drivers) the capture holds
    // the dock's own pixels; that still gives a usable, if paler, tint.
    const bool visible = IsWindowVisible(window_.Get()) != FALSE;
    const bool excluded = visible && SetWindowDisplayAffinity(window_.Get(), WDA_EXCLUDEFROMCAPTURE) != FALSE;

    HDC screen = GetDC(nullptr);
    if (screen != nullptr) {
        UniqueMemoryDc memory(CreateCompatibleDC(screen));
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = width;
        format.bmiHeader.biHeight = -height;  // top-down
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        UniqueBitmap bitmap(CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (memory && bitmap && bits != nullptr) {
            HGDIOBJ previous = SelectObject(memory.Get(), bitmap.Get());
            const bool copied =
                BitBlt(memory.Get(), 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY | CAPTUREBLT) != FALSE;
            GdiFlush();
            DockTint tint;
            if (copied && AverageBackdropTint(static_cast<const std::uint8_t*>(bits), width, height,
                                              static_cast<size_t>(width) * 4, tint)) {
                backdrop_ = D2D1::ColorF(tint.r, tint.g, tint.b, tint.a);
            }
            SelectObject(memory.Get(), previous);
        }
        ReleaseDC(nullptr, screen);
    }
    if (excluded) {
        SetWindowDisplayAffinity(window_.Get(), WDA_NONE);
    }
    DebugLog(L"Dock : fond %ls (fenetre %ls de la capture).", backdrop_ ? L"echantillonne" : L"en degrade",
             excluded ? L"exclue" : L"non exclue");
}

void Dock::CheckFullScreen()
{
    bool covered = false;
    HWND foreground = GetForegroundWindow();
    if (foreground != nullptr && !IsDesktopWindow(foreground)) {
        DWORD process = 0;
        GetWindowThreadProcessId(foreground, &process);
        RECT bounds{};
        if (process != GetCurrentProcessId() && IsWindowVisible(foreground) && GetWindowRect(foreground, &bounds)) {
            covered = CoversMonitor(ToPixelRect(bounds), ToPixelRect(monitorRect_));
        }
    }
    QUERY_USER_NOTIFICATION_STATE state{};
    if (SUCCEEDED(SHQueryUserNotificationState(&state)) &&
        (state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE)) {
        covered = true;
    }
    if (covered == hiddenForFullScreen_) {
        return;
    }
    hiddenForFullScreen_ = covered;
    if (covered) {
        // At once and without animation: the program must not see us at all.
        ShowWindow(window_.Get(), SW_HIDE);
        DebugLog(L"Dock : masque pendant un programme en plein ecran.");
    } else {
        ShowWindow(window_.Get(), SW_SHOWNOACTIVATE);
        Render();
        DebugLog(L"Dock : de nouveau visible.");
    }
}

void Dock::SetItemIcon(int index, const std::wstring& key)
{
    if (index < 0 || static_cast<size_t>(index) >= items_.size()) {
        return;
    }
    const std::wstring& item = items_[static_cast<size_t>(index)];
    if (!key.empty()) {
        customIcons_[item] = key;
        // A changed SVG file under the same name is read again.
        svgs_.Remove(key);
    } else {
        customIcons_.erase(item);
    }
    Render();
    PostChanged();
}

void Dock::SetDropHover(bool hover)
{
    pointer_.dropHover = hover;
    Render();
}

size_t Dock::AddDroppedPaths(const std::vector<std::wstring>& paths)
{
    const size_t added = AppendDroppedItems(items_, paths, SameDockItem);
    if (added > 0) {
        ResetScales();
        Reposition();
        PostChanged();
    } else {
        Reposition();
    }
    DebugLog(L"Dock : depot de %zu chemin(s), %zu ajoute(s).", paths.size(), added);
    return added;
}

void Dock::ResetScales()
{
    scales_.assign(static_cast<size_t>(DockSlotCount(items_.size())), 1.0f);
}

void Dock::PostChanged() const
{
    PostMessageW(appWindow_, WM_APP_DOCK_CHANGED, 0, 0);
}

}  // namespace cadrels
