// Hosting another application's window in a cadrel's tabs: the window stays
// a top-level window of its own process; hosting keeps it over the cadrel's
// content area, just above the cadrel, hides it with its tab and brings it
// back. No re-parenting and no style change: placement and z-order only, and
// every change to the foreign window is asynchronous (windows/HostedWindows.h).
// What each tab hosts lives in the tab (LiveTab); what hosting does between
// calls lives here.
#pragma once

#include "cadrel/CadrelLayout.h"
#include "cadrel/LiveTab.h"
#include "fileops/LaunchDirectory.h"

#include <windows.h>
#include <d2d1_1.h>

#include <functional>
#include <string>
#include <vector>

namespace cadrels {

class CadrelPainter;
class HostedAppsStore;

// The cadrel as hosting sees it.
class HostingSite {
public:
    // Where the cadrel stands at the moment hosting acts.
    struct State {
        HWND window = nullptr;
        int activeTab = 0;
        bool pinned = false;
        // The pointer moves or resizes the cadrel: that keeps its z-order.
        bool moving = false;
        CadrelView view;  // its client size, dpi and roll
    };

    virtual State HostingState() const = 0;
    virtual std::vector<LiveTab>& HostingTabs() = 0;
    virtual const std::string& HostingId() const = 0;
    // A new frame, after the tabs or the picture changed.
    virtual void HostingRedraw() = 0;
    // A tab's application, title or emblem changed: the layout is saved.
    virtual void HostingTabsChanged() = 0;
    virtual void HostingActiveTitleChanged() = 0;

protected:
    ~HostingSite() = default;
};

class TabHosting {
public:
    using HostedWindowsQuery = std::function<std::vector<HWND>()>;

    explicit TabHosting(HostingSite& site) : site_(site) {}
    TabHosting(const TabHosting&) = delete;
    TabHosting& operator=(const TabHosting&) = delete;

    // `hostedEverywhere` lists the windows every live cadrel hosts; `apps`
    // the executables this user hosted, the only ones started unasked.
    void SetContext(HostedAppsStore* apps, HostedWindowsQuery hostedEverywhere);

    bool Host(int index, HWND window, bool activate);
    // Hosts `window` in the active tab, names the tab after its application,
    // and tells the user why when it cannot.
    bool HostInActiveTab(HWND window);
    void Release(int index);
    // At exit: every hosted window left minimized, the tabs keeping their
    // applications for the next start.
    void ReleaseAllMinimized();
    // Shows the active tab's window over the content area and hides the others.
    void Place();
    void KeepBelow();
    // Finds the windows of tabs that lost theirs (the application was closed,
    // or the program started again) and starts those it may.
    void Reattach();
    // The relaunch button: the active tab's application, once more.
    void Relaunch();

    // The active tab's window while it exists.
    HWND ActiveWindow() const;
    bool ActiveTabHosts() const;
    bool Hosts(HWND window) const;
    std::vector<HWND> Windows() const;
    bool WaitsForWindow() const;
    // Whether the pointer or the foreground is in the hosted application:
    // working in it keeps the cadrel unfolded.
    bool HoldsPointerOrFocus() const;

    bool OnLocationChange(HWND window);
    bool ClaimMoved(HWND window);
    void OnKeepTimer();
    void OnNudgeTimer();
    // The cadrel was activated: the hosted window takes the activation.
    bool ForwardActivation();
    // A press on the relaunch button of a tab whose application was closed.
    bool PressRelaunch(POINT client);

    void SetHighlight(bool highlight);
    bool Highlighted() const { return highlight_; }
    // Set before the application destroys its cadrels: released windows are
    // left minimized instead of brought forward.
    void SetTearingDown() { tearingDown_ = true; }
    const std::wstring& LastError() const { return lastError_; }
    HWND LastReleasedWindow() const { return lastReleasedWindow_; }

    // The hole the hosted window stands over, or the closed panel with its
    // relaunch button.
    void Draw(ID2D1DeviceContext& context, const CadrelPainter& painter, float width, float height);

private:
    void NameTabAfterApp(int index);
    void StartApp(int index, LaunchCause cause);
    static void Forget(LiveTab& tab);
    static void HidePopups(LiveTab& tab);
    static void ShowPopups(LiveTab& tab);
    RECT AreaOnScreen() const;

    HostingSite& site_;
    HostedAppsStore* apps_ = nullptr;
    HostedWindowsQuery hostedEverywhere_;
    std::wstring lastError_;
    HWND lastReleasedWindow_ = nullptr;
    bool highlight_ = false;
    bool tearingDown_ = false;
    bool placing_ = false;
    HWND nudgedWindow_ = nullptr;
    // The tab whose relaunch button was pressed, while Reattach runs for it.
    int relaunchTab_ = -1;
    RECT relaunchRect_{};
};

}  // namespace cadrels
