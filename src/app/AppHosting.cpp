// The application's side of hosting other applications' windows: the
// window-event hooks and the polling safety net that stands in for them where
// they do not fire, the host-target highlight while a window is dragged, the
// re-anchoring countdown, and the entries the menus and other processes use.
#include "app/App.h"

#include "app/HostRequest.h"
#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "windows/HostedAppsFile.h"
#include "windows/HostedWindows.h"

#include <algorithm>

namespace cadrels {
namespace {

constexpr UINT HostTrackingMs = 30;
constexpr UINT HostReanchorMs = 1000;
constexpr int HostReanchorTicks = 60;
constexpr UINT HostWatchMs = 250;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    // Only the windows themselves: carets, scroll bars and other objects
    // report through the same events.
    if (window == nullptr || object != OBJID_WINDOW || child != CHILDID_SELF) {
        return;
    }
    if (App* app = App::Current()) {
        app->OnWindowEvent(event, window);
    }
}

bool LeftButtonDown()
{
    const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return (GetAsyncKeyState(button) & 0x8000) != 0;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

void App::InstallWindowEventHooks()
{
    // Out of context: the callbacks run on this thread between messages.
    // A hook that cannot be installed leaves the safety net to do its work.
    constexpr DWORD Others = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    moveSizeHook_.Reset(
        SetWinEventHook(EVENT_SYSTEM_MOVESIZESTART, EVENT_SYSTEM_MOVESIZEEND, nullptr, OnWinEvent, 0, 0, Others));
    foregroundHook_.Reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnWinEvent, 0, 0,
                                          WINEVENT_OUTOFCONTEXT));
    locationHook_.Reset(
        SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, nullptr, OnWinEvent, 0, 0, Others));
    DebugLog(L"Crochets d'evenements de fenetres : deplacement %ls, premier plan %ls, position %ls.",
             moveSizeHook_ ? L"oui" : L"non", foregroundHook_ ? L"oui" : L"non", locationHook_ ? L"oui" : L"non");
}

void App::RemoveWindowEventHooks()
{
    moveSizeHook_.Reset();
    foregroundHook_.Reset();
    locationHook_.Reset();
}

void App::OnWindowEvent(DWORD event, HWND window)
{
    if (shuttingDown_) {
        return;
    }
    switch (event) {
    case EVENT_SYSTEM_MOVESIZESTART:
        OnMoveSizeStart(window);
        break;
    case EVENT_SYSTEM_MOVESIZEEND:
        OnMoveSizeEnd(window);
        break;
    case EVENT_SYSTEM_FOREGROUND:
        OnForegroundChanged(window);
        break;
    case EVENT_OBJECT_LOCATIONCHANGE:
        OnLocationChanged(window);
        break;
    default:
        break;
    }
}

std::vector<HWND> App::AllHostedWindows() const
{
    std::vector<HWND> windows;
    for (const auto& cadrel : cadrels_) {
        const std::vector<HWND> hosted = cadrel->HostedWindows();
        windows.insert(windows.end(), hosted.begin(), hosted.end());
    }
    return windows;
}

bool App::HostWindowInActiveTab(HWND cadrelWindow, HWND window)
{
    Cadrel* cadrel = FindCadrel(cadrelWindow);
    if (cadrel == nullptr || CadrelsLocked()) {
        return false;
    }
    const bool hosted = cadrel->HostWindowInActiveTab(window);
    UpdateHostWatch();
    return hosted;
}

void App::OnMoveSizeStart(HWND window)
{
    if (!IsLayoutCandidate(window)) {
        return;
    }
    movedWindow_ = window;
    SetTimer(window_, TimerHostTracking, HostTrackingMs, nullptr);
    UpdateHostWatch();
}

void App::ClearHostHighlights()
{
    for (const auto& cadrel : cadrels_) {
        cadrel->SetHostHighlight(false);
    }
}

void App::OnMoveSizeEnd(HWND window)
{
    KillTimer(window_, TimerHostTracking);
    movedWindow_ = nullptr;
    // One end per move, whichever of the hook, the tracking timer and the
    // safety net saw it first.
    pressSeen_ = false;
    ClearHostHighlights();
    for (const auto& cadrel : cadrels_) {
        if (cadrel->ClaimMovedWindow(window)) {
            return;
        }
    }
    if (!IsLayoutCandidate(window) || operation_.Running()) {
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    if (Cadrel* target = CadrelTitleBarAt(cursor, window)) {
        DebugLog(L"Fenetre deposee sur la barre de titre d'une cadrel : %ls.", WindowTitle(window).c_str());
        target->HostWindowInActiveTab(window);
    }
    UpdateHostWatch();
}

void App::OnHostTrackingTimer()
{
    if (movedWindow_ == nullptr || !IsWindow(movedWindow_)) {
        KillTimer(window_, TimerHostTracking);
        movedWindow_ = nullptr;
        ClearHostHighlights();
        return;
    }
    if (!LeftButtonDown()) {
        // The end of the move, when no hook reported it: the same handling.
        OnMoveSizeEnd(movedWindow_);
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    for (const auto& cadrel : cadrels_) {
        cadrel->SetHostHighlight(cadrel->Window() != movedWindow_ && cadrel->IsOverTitleBar(cursor));
    }
}

void App::OnForegroundChanged(HWND window)
{
    lastForeground_ = window;
    for (const auto& cadrel : cadrels_) {
        if (window != nullptr && cadrel->HostedWindow() == window) {
            cadrel->KeepBelowHosted();
            return;
        }
    }
    for (const auto& cadrel : cadrels_) {
        if (cadrel->OnForegroundWindow(window)) {
            return;
        }
    }
}

void App::OnLocationChanged(HWND window)
{
    // A hosted window being dragged is put back when the drag ends, not
    // fought over at every step of it.
    if (window == movedWindow_) {
        return;
    }
    for (const auto& cadrel : cadrels_) {
        if (cadrel->OnHostedLocationChange(window)) {
            return;
        }
    }
}

void App::RestartHostReanchor()
{
    hostReanchorTicks_ = HostReanchorTicks;
    SetTimer(window_, TimerHostReanchor, HostReanchorMs, nullptr);
}

void App::OnHostReanchorTimer()
{
    bool waiting = false;
    for (const auto& cadrel : cadrels_) {
        cadrel->Reattach();
        waiting = cadrel->WaitsForHostedWindow() || waiting;
    }
    if (--hostReanchorTicks_ <= 0 || !waiting) {
        KillTimer(window_, TimerHostReanchor);
    }
    UpdateHostWatch();
}

void App::UpdateHostWatch()
{
    const bool needed = !shuttingDown_ && (movedWindow_ != nullptr || std::any_of(cadrels_.begin(), cadrels_.end(), [](const auto& cadrel) {
                                               return !cadrel->HostedWindows().empty() || cadrel->WaitsForHostedWindow();
                                           }));
    if (needed == hostWatchRunning_) {
        return;
    }
    hostWatchRunning_ = needed;
    if (needed) {
        lastForeground_ = GetForegroundWindow();
        watchedForeground_ = nullptr;
        SetTimer(window_, TimerHostWatch, HostWatchMs, nullptr);
    } else {
        KillTimer(window_, TimerHostWatch);
        hostedRects_.clear();
    }
}

void App::OnHostWatchTimer()
{
    HWND foreground = GetForegroundWindow();
    if (foreground != lastForeground_) {
        OnForegroundChanged(foreground);
    }

    // A move of another application's window shows as its rectangle
    // changing while the button is held, or, where the system drags only an
    // outline, as a rectangle that changed over a press once it is released.
    RECT foregroundRect{};
    const bool movable = foreground != nullptr && GetWindowRect(foreground, &foregroundRect) &&
                         !BelongsToThisProcess(foreground);
    const bool down = LeftButtonDown();
    if (down && !pressSeen_ && movable) {
        pressSeen_ = true;
        pressWindow_ = foreground;
        pressRect_ = foreground == watchedForeground_ ? watchedForegroundRect_ : foregroundRect;
    }
    if (movedWindow_ == nullptr && movable && down && foreground == watchedForeground_ &&
        !SameRect(foregroundRect, watchedForegroundRect_)) {
        OnMoveSizeStart(foreground);
    }
    if (!down && pressSeen_) {
        pressSeen_ = false;
        RECT now{};
        if (movedWindow_ == nullptr && pressWindow_ == foreground && movable && GetWindowRect(foreground, &now) &&
            !SameRect(now, pressRect_)) {
            OnMoveSizeEnd(foreground);
        }
    }
    watchedForeground_ = movable ? foreground : nullptr;
    watchedForegroundRect_ = foregroundRect;

    std::map<HWND, RECT> seen;
    for (size_t i = 0; i < cadrels_.size(); ++i) {
        Cadrel* cadrel = cadrels_[i].get();
        for (HWND hosted : cadrel->HostedWindows()) {
            if (!IsWindow(hosted)) {
                // Placing notices the window is gone and shows the closed panel.
                cadrel->PlaceHosted();
                continue;
            }
            RECT rect{};
            GetWindowRect(hosted, &rect);
            const auto known = hostedRects_.find(hosted);
            const bool changed = known == hostedRects_.end() || !SameRect(known->second, rect);
            seen[hosted] = rect;
            if (changed || IsIconic(hosted)) {
                OnLocationChanged(hosted);
            }
        }
    }
    hostedRects_ = std::move(seen);
    UpdateHostWatch();
}

void App::OnHostRequest()
{
    const std::unique_ptr<HostRequest> request = hostRequests_.Take();
    if (!request || request->cadrel < 0 || request->cadrel >= static_cast<int>(cadrels_.size())) {
        return;
    }
    Cadrel& cadrel = *cadrels_[static_cast<size_t>(request->cadrel)];
    if (request->action == HostAction::HostInActiveTab) {
        HostWindowInActiveTab(cadrel.Window(), reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request->window)));
    } else if (!CadrelsLocked()) {
        cadrel.ReleaseHosted(cadrel.ActiveTab());
        SyncTabsFromCadrel(cadrel.Window());
        UpdateHostWatch();
    }
}

void App::ReleaseHostedWindowsAtExit()
{
    KillTimer(window_, TimerHostWatch);
    hostWatchRunning_ = false;
    for (const auto& cadrel : cadrels_) {
        cadrel->ReleaseAllHostedMinimized();
    }
}

}  // namespace cadrels
