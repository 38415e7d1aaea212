#include "app/WindowHosting.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "policy/Policy.h"
#include "windows/HostedAppsFile.h"
#include "windows/HostedWindows.h"
#include "windows/HostingRules.h"

#include <dwmapi.h>

#include <algorithm>
#include <cstdint>

namespace cadrels {
namespace {

constexpr UINT HostTrackingMs = 30;
constexpr UINT HostReanchorMs = 1000;
constexpr int HostReanchorTicks = 60;
constexpr UINT HostWatchMs = 250;

// The out-of-context hooks call a plain function; it reaches the object that
// installed them, and nothing once they are removed.
WindowHosting* hooked = nullptr;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    // Only the windows themselves: carets, scroll bars and other objects
    // report through the same events.
    if (window == nullptr || object != OBJID_WINDOW || child != CHILDID_SELF) {
        return;
    }
    if (hooked != nullptr) {
        hooked->OnWindowEvent(event, window);
    }
}

// Whether the cadrel's window is what the user sees at the point: the first
// top-level window there, the one being dragged over it aside.
bool CadrelUncoveredAt(HWND cadrel, POINT point, HWND moved)
{
    std::vector<StackedWindow> fromTop;
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        StackedWindow stacked{reinterpret_cast<std::uintptr_t>(window), false};
        RECT rect{};
        BOOL cloaked = FALSE;
        if (IsWindowVisible(window) && !IsIconic(window) &&
            (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) == 0 && GetWindowRect(window, &rect) &&
            PtInRect(&rect, point)) {
            // Cloaked windows (other virtual desktops, suspended apps) are
            // not seen; the call fails without composition and then says so.
            stacked.coversPoint = FAILED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) ||
                                  !cloaked;
        }
        fromTop.push_back(stacked);
        if (window == cadrel) {
            break;
        }
    }
    return UncoveredInStack(fromTop, reinterpret_cast<std::uintptr_t>(cadrel), reinterpret_cast<std::uintptr_t>(moved));
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

WindowHosting::WindowHosting(const OperationState& operation, Page page) : operation_(operation), page_(std::move(page))
{
}

WindowHosting::~WindowHosting()
{
    RemoveWindowEventHooks();
}

void WindowHosting::Open(HWND appWindow)
{
    window_ = appWindow;
    hostedApps_ = std::make_unique<HostedAppsStore>(HostedAppsStore::DefaultPath());
}

void WindowHosting::InstallWindowEventHooks()
{
    hooked = this;
    // Out of context: the callbacks run on this thread between messages.
    // A hook that cannot be installed leaves the safety net to do its work.
    constexpr DWORD Others = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    moveSizeHook_.Reset(
        SetWinEventHook(EVENT_SYSTEM_MOVESIZESTART, EVENT_SYSTEM_MOVESIZEEND, nullptr, OnWinEvent, 0, 0, Others));
    foregroundHook_.Reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnWinEvent, 0, 0,
                                          WINEVENT_OUTOFCONTEXT));
    DebugLog(L"Crochets d'evenements de fenetres : deplacement %ls, premier plan %ls ; position pour chaque "
             L"programme heberge.",
             moveSizeHook_ ? L"oui" : L"non", foregroundHook_ ? L"oui" : L"non");
}

void WindowHosting::RemoveWindowEventHooks()
{
    moveSizeHook_.Reset();
    foregroundHook_.Reset();
    locationHooks_.clear();
    if (hooked == this) {
        hooked = nullptr;
    }
}

void WindowHosting::OnWindowEvent(DWORD event, HWND window)
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

std::vector<HWND> WindowHosting::AllHostedWindows() const
{
    std::vector<HWND> windows;
    for (const auto& cadrel : Cadrels()) {
        const std::vector<HWND> hosted = cadrel->Hosting().Windows();
        windows.insert(windows.end(), hosted.begin(), hosted.end());
    }
    return windows;
}

bool WindowHosting::IsHostedByAnyCadrel(HWND window) const
{
    const std::vector<HWND> hosted = AllHostedWindows();
    return std::find(hosted.begin(), hosted.end(), window) != hosted.end();
}

bool WindowHosting::HostWindowInActiveTab(HWND cadrelWindow, HWND window)
{
    const auto& cadrels = Cadrels();
    const auto found = std::find_if(cadrels.begin(), cadrels.end(), [cadrelWindow](const auto& cadrel) {
        return cadrelWindow != nullptr && cadrel->Window() == cadrelWindow;
    });
    if (found == cadrels.end() || AreCadrelsLocked()) {
        return false;
    }
    const bool hosted = (*found)->Hosting().HostInActiveTab(window);
    UpdateWatch();
    return hosted;
}

void WindowHosting::ReleaseHostedInActiveTab(Cadrel& cadrel)
{
    cadrel.Hosting().Release(cadrel.ActiveTab());
    UpdateWatch();
}

void WindowHosting::OnMoveSizeStart(HWND window)
{
    if (!IsLayoutCandidate(window)) {
        return;
    }
    movedWindow_ = window;
    SetTimer(window_, TimerHostTracking, HostTrackingMs, nullptr);
    UpdateWatch();
}

void WindowHosting::ClearHostHighlights()
{
    for (const auto& cadrel : Cadrels()) {
        cadrel->Hosting().SetHighlight(false);
    }
}

void WindowHosting::OnMoveSizeEnd(HWND window)
{
    KillTimer(window_, TimerHostTracking);
    movedWindow_ = nullptr;
    // One end per move, whichever of the hook, the tracking timer and the
    // safety net saw it first.
    foregroundMoves_.EndPress();
    ClearHostHighlights();
    for (const auto& cadrel : Cadrels()) {
        if (cadrel->Hosting().ClaimMoved(window)) {
            return;
        }
    }
    if (!IsLayoutCandidate(window) || operation_.Running()) {
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    Cadrel* target = page_.cadrels.TitleBarAt(cursor, window);
    if (target != nullptr && !CadrelUncoveredAt(target->Window(), cursor, window)) {
        DebugLog(L"Fenetre deposee sur une barre de titre couverte par une autre fenetre : pas d'hebergement.");
    } else if (target != nullptr) {
        DebugLog(L"Fenetre deposee sur la barre de titre d'une cadrel : %ls.", WindowTitle(window).c_str());
        target->Hosting().HostInActiveTab(window);
    }
    UpdateWatch();
}

void WindowHosting::OnTrackingTimer()
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
    for (const auto& cadrel : Cadrels()) {
        cadrel->Hosting().SetHighlight(cadrel->Window() != movedWindow_ && cadrel->IsOverTitleBar(cursor) &&
                                       CadrelUncoveredAt(cadrel->Window(), cursor, movedWindow_));
    }
}

void WindowHosting::OnForegroundChanged(HWND window)
{
    lastForeground_ = window;
    for (const auto& cadrel : Cadrels()) {
        if (window != nullptr && cadrel->Hosting().ActiveWindow() == window) {
            cadrel->Hosting().KeepBelow();
            return;
        }
    }
    for (const auto& cadrel : Cadrels()) {
        if (cadrel->OnForegroundWindow(window)) {
            return;
        }
    }
}

void WindowHosting::OnLocationChanged(HWND window)
{
    // A hosted window being dragged is put back when the drag ends, not
    // fought over at every step of it.
    if (window == movedWindow_) {
        return;
    }
    for (const auto& cadrel : Cadrels()) {
        if (cadrel->Hosting().OnLocationChange(window)) {
            return;
        }
    }
}

void WindowHosting::RestartReanchor()
{
    reanchorTicks_ = HostReanchorTicks;
    SetTimer(window_, TimerHostReanchor, HostReanchorMs, nullptr);
}

void WindowHosting::OnReanchorTimer()
{
    bool waiting = false;
    for (const auto& cadrel : Cadrels()) {
        cadrel->Hosting().Reattach();
        waiting = cadrel->Hosting().WaitsForWindow() || waiting;
    }
    if (--reanchorTicks_ <= 0 || !waiting) {
        KillTimer(window_, TimerHostReanchor);
    }
    UpdateWatch();
}

void WindowHosting::UpdateLocationHooks()
{
    std::map<DWORD, UniqueWinEventHook> kept;
    if (!shuttingDown_ && hooked == this) {
        for (HWND window : AllHostedWindows()) {
            DWORD process = 0;
            if (GetWindowThreadProcessId(window, &process) == 0 || process == 0 || kept.count(process) != 0) {
                continue;
            }
            const auto found = locationHooks_.find(process);
            if (found != locationHooks_.end()) {
                kept.emplace(process, std::move(found->second));
                continue;
            }
            UniqueWinEventHook hook(SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE,
                                                    nullptr, OnWinEvent, process, 0, WINEVENT_OUTOFCONTEXT));
            // A hook refused is tried again at the next tick, silently: the
            // polling safety net covers the window meanwhile.
            if (hook) {
                DebugLog(L"Crochet de position pour le programme %lu.", process);
                kept.emplace(process, std::move(hook));
            }
        }
    }
    // Hooks of processes with nothing hosted any more go with the old map.
    locationHooks_ = std::move(kept);
}

void WindowHosting::UpdateWatch()
{
    UpdateLocationHooks();
    const auto& cadrels = Cadrels();
    const auto hostsOrWaits = [](const auto& cadrel) {
        return !cadrel->Hosting().Windows().empty() || cadrel->Hosting().WaitsForWindow();
    };
    const bool needed =
        !shuttingDown_ && (movedWindow_ != nullptr || std::any_of(cadrels.begin(), cadrels.end(), hostsOrWaits));
    if (needed == watchRunning_) {
        return;
    }
    watchRunning_ = needed;
    if (needed) {
        lastForeground_ = GetForegroundWindow();
        foregroundMoves_.ForgetForeground();
        SetTimer(window_, TimerHostWatch, HostWatchMs, nullptr);
    } else {
        KillTimer(window_, TimerHostWatch);
        hostedRects_.clear();
    }
}

void WindowHosting::OnWatchTimer()
{
    // A hosted window can be released by its cadrel alone (a tab closed).
    UpdateLocationHooks();
    HWND foreground = GetForegroundWindow();
    if (foreground != lastForeground_) {
        OnForegroundChanged(foreground);
    }

    RECT foregroundRect{};
    ForegroundSample sample;
    sample.window = reinterpret_cast<std::uintptr_t>(foreground);
    sample.movable = foreground != nullptr && GetWindowRect(foreground, &foregroundRect) &&
                     !BelongsToThisProcess(foreground);
    sample.rect = {foregroundRect.left, foregroundRect.top, foregroundRect.right, foregroundRect.bottom};
    sample.buttonDown = LeftButtonDown();
    switch (foregroundMoves_.Observe(sample, movedWindow_ != nullptr)) {
    case ForegroundMove::Started:
        OnMoveSizeStart(foreground);
        break;
    case ForegroundMove::Ended:
        OnMoveSizeEnd(foreground);
        break;
    case ForegroundMove::None:
        break;
    }

    CheckHostedRects();
    UpdateWatch();
}

// The hook's location events, for systems where it never fires.
void WindowHosting::CheckHostedRects()
{
    std::map<HWND, RECT> seen;
    const auto& cadrels = Cadrels();
    for (size_t i = 0; i < cadrels.size(); ++i) {
        Cadrel* cadrel = cadrels[i].get();
        for (HWND hosted : cadrel->Hosting().Windows()) {
            if (!IsWindow(hosted)) {
                // Placing notices the window is gone and shows the closed panel.
                cadrel->Hosting().Place();
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
}

void WindowHosting::PostRequest(const HostRequest& request)
{
    requests_.Post(window_, WM_APP_HOST_REQUEST, std::make_unique<HostRequest>(request));
}

void WindowHosting::OnHostRequest()
{
    const std::unique_ptr<HostRequest> request = requests_.Take();
    const auto& cadrels = Cadrels();
    if (!request || request->cadrel < 0 || request->cadrel >= static_cast<int>(cadrels.size())) {
        return;
    }
    Cadrel& cadrel = *cadrels[static_cast<size_t>(request->cadrel)];
    if (request->action == HostAction::HostInActiveTab) {
        HostWindowInActiveTab(cadrel.Window(), reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request->window)));
    } else if (!AreCadrelsLocked()) {
        cadrel.Hosting().Release(cadrel.ActiveTab());
        page_.tabsChanged(cadrel.Window());
        UpdateWatch();
    }
}

void WindowHosting::ReleaseHostedWindowsAtExit()
{
    KillTimer(window_, TimerHostWatch);
    watchRunning_ = false;
    for (const auto& cadrel : Cadrels()) {
        cadrel->Hosting().ReleaseAllMinimized();
    }
}

}  // namespace cadrels
