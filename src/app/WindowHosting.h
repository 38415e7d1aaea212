// The application's side of hosting other applications' windows: the
// window-event hooks and the polling safety net that stands in for them where
// they do not fire, the host-target highlight while a window is dragged, the
// re-anchoring countdown, the requests of other processes, and the store of
// applications the user has hosted.
#pragma once

#include "app/ForegroundMoveWatch.h"
#include "app/HostRequest.h"
#include "app/PageCadrels.h"
#include "base/Mailbox.h"
#include "base/UniqueHandle.h"
#include "cadrel/Cadrel.h"
#include "fileops/OperationState.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace cadrels {

class HostedAppsStore;

class WindowHosting {
public:
    // What hosting needs of the page: its live cadrels, and the record of a
    // cadrel kept in step after one of its tabs let its window go.
    struct Page {
        const PageCadrels& cadrels;
        std::function<void(HWND cadrelWindow)> tabsChanged;
    };

    WindowHosting(const OperationState& operation, Page page);
    ~WindowHosting();
    WindowHosting(const WindowHosting&) = delete;
    WindowHosting& operator=(const WindowHosting&) = delete;

    // Before the first cadrel is built: the timers run on `appWindow`, and
    // the cadrels read the store of hosted applications.
    void Open(HWND appWindow);
    HostedAppsStore* HostedApps() const { return hostedApps_.get(); }

    void InstallWindowEventHooks();
    void RemoveWindowEventHooks();
    // From here on no event is followed and the safety net stays off.
    void BeginShutdown() { shuttingDown_ = true; }
    // The applications stay running, minimized, where they were before.
    void ReleaseHostedWindowsAtExit();

    // The entries of the cadrel menu's hosting submenu and of "Re-host the
    // last window".
    bool HostWindowInActiveTab(HWND cadrelWindow, HWND window);
    void ReleaseHostedInActiveTab(Cadrel& cadrel);
    std::vector<HWND> AllHostedWindows() const;
    bool IsHostedByAnyCadrel(HWND window) const;

    // Queued by WM_COPYDATA, carried out on WM_APP_HOST_REQUEST.
    void PostRequest(const HostRequest& request);
    void OnHostRequest();

    // Hosting tabs look for their applications' windows again for a while
    // (after a rebuild, a merge, a torn-off tab).
    void RestartReanchor();
    // Runs the safety net exactly while something is hosted, awaited or moved.
    void UpdateWatch();
    void UpdateLocationHooks();
    // The page goes: the window being moved no longer has a cadrel to land on.
    void ForgetMovedWindow() { movedWindow_ = nullptr; }

    void OnTrackingTimer();
    void OnReanchorTimer();
    void OnWatchTimer();

    // The hooks' callback, on the main thread.
    void OnWindowEvent(DWORD event, HWND window);

private:
    const PageCadrels::List& Cadrels() const { return page_.cadrels.All(); }
    void OnMoveSizeStart(HWND window);
    void OnMoveSizeEnd(HWND window);
    void OnForegroundChanged(HWND window);
    void OnLocationChanged(HWND window);
    void ClearHostHighlights();
    void CheckHostedRects();

    const OperationState& operation_;
    Page page_;
    HWND window_ = nullptr;
    bool shuttingDown_ = false;
    std::unique_ptr<HostedAppsStore> hostedApps_;
    UniqueWinEventHook moveSizeHook_;
    UniqueWinEventHook foregroundHook_;
    // One location hook per process that has a hosted window, so that a
    // desktop with nothing hosted sends no location events at all.
    std::map<DWORD, UniqueWinEventHook> locationHooks_;
    // Another application's window being moved, or none.
    HWND movedWindow_ = nullptr;
    int reanchorTicks_ = 0;
    bool watchRunning_ = false;
    HWND lastForeground_ = nullptr;
    ForegroundMoveWatch foregroundMoves_;
    std::map<HWND, RECT> hostedRects_;
    Mailbox<HostRequest> requests_;
};

}  // namespace cadrels
