#include "cadrel/TabHosting.h"

#include "base/DebugLog.h"
#include "base/PixelGeometry.h"
#include "base/RectConversion.h"
#include "cadrel/CadrelPainter.h"
#include "cadrel/CadrelPlacement.h"
#include "cadrel/CadrelTimers.h"
#include "i18n/StringTable.h"
#include "windows/HostedAppsFile.h"
#include "windows/HostedWindows.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace cadrels {
namespace {

constexpr wchar_t UwpFrameClass[] = L"ApplicationFrameWindow";
constexpr UINT HostKeepMs = 300;
constexpr UINT HostNudgeMs = 80;

bool SameProcess(HWND a, HWND b)
{
    DWORD first = 0;
    DWORD second = 0;
    GetWindowThreadProcessId(a, &first);
    GetWindowThreadProcessId(b, &second);
    return first != 0 && first == second;
}

bool SavedMaximized(const LiveTab& tab)
{
    return tab.savedPlacement.length != 0 && tab.savedPlacement.showCmd == SW_SHOWMAXIMIZED;
}

// Leaves a released window minimized at program exit or when its cadrel
// goes, with the rectangle it had before hosting as its restored place.
void LeaveMinimized(HWND window, const RECT& restored, bool maximized)
{
    // The only style Cadrels ever touches: a window that turned itself into
    // a tool window while hosted would vanish from the taskbar once
    // minimized. Changing a style waits for the window's thread, so only
    // for one that answers.
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if ((exStyle & WS_EX_TOOLWINDOW) != 0 && !foreign::IsHung(window)) {
        SetWindowLongPtrW(window, GWL_EXSTYLE, (exStyle & ~WS_EX_TOOLWINDOW) | WS_EX_APPWINDOW);
    }
    if (IsIconic(window) || IsZoomed(window)) {
        foreign::Show(window, SW_SHOWNOACTIVATE);
    }
    // The normal rectangle first, then the minimize: the rectangle is where
    // the window comes back. A window that was maximized is minimized from
    // the maximized state, so that it comes back maximized.
    foreign::SetPos(window, HWND_BOTTOM, restored, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (maximized) {
        foreign::Show(window, SW_SHOWMAXIMIZED);
    }
    foreign::Show(window, SW_SHOWMINNOACTIVE);
}

RECT FittedSavedRect(const LiveTab& tab)
{
    return ToRect(FitOntoMonitor(ToPixelRect(tab.savedRect), CurrentScreens()));
}

}  // namespace


void TabHosting::SetContext(HostedAppsStore* apps, HostedWindowsQuery hostedEverywhere)
{
    apps_ = apps;
    hostedEverywhere_ = std::move(hostedEverywhere);
}

HWND TabHosting::ActiveWindow() const
{
    const int active = site_.HostingState().activeTab;
    const std::vector<LiveTab>& tabs = site_.HostingTabs();
    if (active < 0 || active >= static_cast<int>(tabs.size())) {
        return nullptr;
    }
    HWND window = tabs[static_cast<size_t>(active)].hostedWindow;
    return window != nullptr && IsWindow(window) ? window : nullptr;
}

bool TabHosting::ActiveTabHosts() const
{
    const int active = site_.HostingState().activeTab;
    const std::vector<LiveTab>& tabs = site_.HostingTabs();
    return active >= 0 && active < static_cast<int>(tabs.size()) &&
           !tabs[static_cast<size_t>(active)].hostedExe.empty();
}

bool TabHosting::Hosts(HWND window) const
{
    const std::vector<LiveTab>& tabs = site_.HostingTabs();
    return window != nullptr &&
           std::any_of(tabs.begin(), tabs.end(), [&](const LiveTab& tab) { return tab.hostedWindow == window; });
}

std::vector<HWND> TabHosting::Windows() const
{
    std::vector<HWND> windows;
    for (const LiveTab& tab : site_.HostingTabs()) {
        if (tab.hostedWindow != nullptr) {
            windows.push_back(tab.hostedWindow);
        }
    }
    return windows;
}

bool TabHosting::Host(int index, HWND window, bool activate)
{
    lastError_.clear();
    HWND self = site_.HostingState().window;
    std::vector<LiveTab>& tabs = site_.HostingTabs();
    if (window == nullptr || window == self || self == nullptr || !IsLayoutCandidate(window) || index < 0 ||
        index >= static_cast<int>(tabs.size())) {
        return false;
    }
    if (!ThisProcessElevated() && WindowProcessElevatedOrHidden(window)) {
        lastError_ = Tr(TextId::HostAdministratorApp);
        return false;
    }
    if (tabs[static_cast<size_t>(index)].hostedWindow == window) {
        Place();
        return true;
    }
    const std::vector<HWND> everywhere = hostedEverywhere_ ? hostedEverywhere_() : Windows();
    if (std::find(everywhere.begin(), everywhere.end(), window) != everywhere.end()) {
        lastError_ = Tr(TextId::AlreadyHostedElsewhere);
        return false;
    }
    const std::wstring exe = ProcessImagePath(window);
    if (exe.empty()) {
        // Without its executable the tab could never find the window again.
        DebugLog(L"Hebergement refuse : executable de la fenetre introuvable.");
        return false;
    }
    if (tabs[static_cast<size_t>(index)].hostedWindow != nullptr) {
        Release(index);
    }
    LiveTab& tab = tabs[static_cast<size_t>(index)];
    GetWindowRect(window, &tab.savedRect);
    tab.savedPlacement = {};
    tab.savedPlacement.length = sizeof tab.savedPlacement;
    if (!GetWindowPlacement(window, &tab.savedPlacement)) {
        tab.savedPlacement.length = 0;
    }
    tab.appClosed = false;
    tab.hostedWindow = window;
    tab.hiddenPopups.clear();
    tab.hostedExe = exe;
    tab.hostedAumid = AppUserModelIdOfWindow(window);
    tab.hostedTitle = WindowTitle(window);
    if (apps_ != nullptr) {
        apps_->Remember(exe, tab.hostedAumid);
    }
    foreign::RemoveRegion(window);
    Place();
    SetWindowPos(self, window, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    site_.HostingRedraw();
    if (activate) {
        foreign::BringForward(window);
    }
    DebugLog(L"Fenetre hebergee dans la cadrel %hs, onglet %d : %ls (%ls).", site_.HostingId().c_str(), index,
             tab.hostedTitle.c_str(), exe.c_str());
    return true;
}

bool TabHosting::HostInActiveTab(HWND window)
{
    const int active = site_.HostingState().activeTab;
    if (Host(active, window, true)) {
        NameTabAfterApp(active);
        site_.HostingRedraw();
        site_.HostingTabsChanged();
        return true;
    }
    if (!lastError_.empty()) {
        DebugLog(L"Hebergement refuse : %ls", lastError_.c_str());
        MessageBoxW(site_.HostingState().window, lastError_.c_str(), L"Cadrels", MB_ICONINFORMATION);
    }
    return false;
}

void TabHosting::NameTabAfterApp(int index)
{
    std::vector<LiveTab>& tabs = site_.HostingTabs();
    if (index < 0 || index >= static_cast<int>(tabs.size())) {
        return;
    }
    LiveTab& tab = tabs[static_cast<size_t>(index)];
    if (tab.hostedExe.empty()) {
        return;
    }
    if (tab.emblem.empty()) {
        tab.emblem = tab.hostedExe;
    }
    tab.titleAuto = true;
    if (const std::wstring name = AppDisplayName(tab.hostedExe); !name.empty()) {
        tab.title = name;
        if (index == site_.HostingState().activeTab) {
            site_.HostingActiveTitleChanged();
        }
    }
}

void TabHosting::Forget(LiveTab& tab)
{
    tab.hostedWindow = nullptr;
    tab.hiddenPopups.clear();
    tab.savedPlacement = {};
    tab.savedRect = {};
}

void TabHosting::Release(int index)
{
    std::vector<LiveTab>& tabs = site_.HostingTabs();
    if (index < 0 || index >= static_cast<int>(tabs.size())) {
        return;
    }
    LiveTab& tab = tabs[static_cast<size_t>(index)];
    HWND window = tab.hostedWindow;
    if (window != nullptr && IsWindow(window)) {
        ShowPopups(tab);
        foreign::RemoveRegion(window);
        // Hosting changed no style, so release restores none: writing back
        // the styles of hosting time would undo what the application changed
        // since (a window disabled by its own modal dialog, for one).
        const RECT fitted = FittedSavedRect(tab);
        if (tearingDown_) {
            LeaveMinimized(window, fitted, SavedMaximized(tab));
        } else {
            if (IsIconic(window) || IsZoomed(window) || !IsWindowVisible(window)) {
                foreign::Show(window, SW_SHOWNOACTIVATE);
            }
            foreign::SetPos(window, nullptr, fitted, SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE);
            if (SavedMaximized(tab)) {
                foreign::Show(window, SW_SHOWMAXIMIZED);
            }
            foreign::BringForward(window);
        }
        DebugLog(L"Fenetre liberee par la cadrel %hs : %ls.", site_.HostingId().c_str(), tab.hostedTitle.c_str());
    }
    lastReleasedWindow_ = window;
    tab.hostedExe.clear();
    tab.hostedAumid.clear();
    tab.hostedTitle.clear();
    tab.appClosed = false;
    tab.relaunchTried = false;
    Forget(tab);
    Place();
    const HostingSite::State state = site_.HostingState();
    if (state.window != nullptr && !ActiveTabHosts() && !state.moving) {
        SetWindowPos(state.window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    }
    site_.HostingRedraw();
}

void TabHosting::ReleaseAllMinimized()
{
    for (LiveTab& tab : site_.HostingTabs()) {
        HWND window = tab.hostedWindow;
        if (window == nullptr || !IsWindow(window)) {
            continue;
        }
        ShowPopups(tab);
        LeaveMinimized(window, FittedSavedRect(tab), SavedMaximized(tab));
        DebugLog(L"Fenetre hebergee laissee reduite : %ls.", tab.hostedTitle.c_str());
        // The tab keeps its application: the next start finds it again.
        Forget(tab);
    }
    if (HWND self = site_.HostingState().window; self != nullptr) {
        KillTimer(self, CadrelTimerHostKeep);
        KillTimer(self, CadrelTimerHostNudge);
    }
}

RECT TabHosting::AreaOnScreen() const
{
    // The client rectangle as it is now: during a resize the layout's size
    // follows only with WM_SIZE, after WM_WINDOWPOSCHANGED has placed.
    const HostingSite::State state = site_.HostingState();
    CadrelView view = state.view;
    RECT client{};
    if (GetClientRect(state.window, &client)) {
        view.width = client.right;
        view.height = client.bottom;
    }
    const LayoutRect area = HostedWindowArea(view);
    POINT origin{0, 0};
    ClientToScreen(state.window, &origin);
    const LONG left = origin.x + static_cast<LONG>(std::lround(area.left));
    const LONG top = origin.y + static_cast<LONG>(std::lround(area.top));
    const LONG right = std::max(left + 1, origin.x + static_cast<LONG>(std::lround(area.right)));
    const LONG bottom = std::max(top + 1, origin.y + static_cast<LONG>(std::lround(area.bottom)));
    return {left, top, right, bottom};
}

void TabHosting::HidePopups(LiveTab& tab)
{
    struct Context {
        HWND owner;
        std::vector<HWND>* hidden;
    } context{tab.hostedWindow, &tab.hiddenPopups};
    const DWORD thread = GetWindowThreadProcessId(tab.hostedWindow, nullptr);
    if (thread == 0) {
        return;
    }
    EnumThreadWindows(
        thread,
        [](HWND popup, LPARAM data) -> BOOL {
            auto& c = *reinterpret_cast<Context*>(data);
            const LONG_PTR style = GetWindowLongPtrW(popup, GWL_STYLE);
            if (popup != c.owner && IsWindowVisible(popup) && (style & WS_POPUP) != 0 && (style & WS_CHILD) == 0 &&
                (style & WS_CAPTION) == 0) {
                foreign::Show(popup, SW_HIDE);
                if (std::find(c.hidden->begin(), c.hidden->end(), popup) == c.hidden->end()) {
                    c.hidden->push_back(popup);
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&context));
}

void TabHosting::ShowPopups(LiveTab& tab)
{
    for (HWND popup : tab.hiddenPopups) {
        if (IsWindow(popup) && !IsWindowVisible(popup)) {
            foreign::Show(popup, SW_SHOWNA);
        }
    }
    tab.hiddenPopups.clear();
}

void TabHosting::Place()
{
    const HostingSite::State state = site_.HostingState();
    HWND self = state.window;
    if (self == nullptr || placing_) {
        return;
    }
    std::vector<LiveTab>& tabs = site_.HostingTabs();
    const bool anyHosting = std::any_of(tabs.begin(), tabs.end(), [](const LiveTab& tab) {
        return tab.hostedWindow != nullptr || !tab.hostedExe.empty();
    });
    if (!anyHosting) {
        KillTimer(self, CadrelTimerHostKeep);
        return;
    }
    // Moving the cadrel below the hosted window comes back here through
    // WM_WINDOWPOSCHANGED.
    placing_ = true;
    const bool visible = IsWindowVisible(self) && !state.view.rolled;
    const int parkX = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN) + 64;
    const int parkY = GetSystemMetrics(SM_YVIRTUALSCREEN);
    for (size_t i = 0; i < tabs.size(); ++i) {
        LiveTab& tab = tabs[i];
        HWND hosted = tab.hostedWindow;
        if (hosted == nullptr) {
            continue;
        }
        const bool active = static_cast<int>(i) == state.activeTab;
        if (!IsWindow(hosted)) {
            Forget(tab);
            if (!tab.hostedExe.empty() || !tab.hostedAumid.empty()) {
                tab.appClosed = true;
                tab.relaunchTried = false;
                DebugLog(L"Application hebergee fermee dans la cadrel %hs : %ls.", site_.HostingId().c_str(),
                         tab.hostedTitle.c_str());
                if (active) {
                    site_.HostingRedraw();
                }
            }
            continue;
        }
        if (active && visible) {
            const RECT area = AreaOnScreen();
            const bool wasHidden = !IsWindowVisible(hosted);
            ShowPopups(tab);
            if (wasHidden) {
                foreign::Show(hosted, SW_SHOWNA);
            }
            if (IsIconic(hosted) || IsZoomed(hosted)) {
                foreign::Show(hosted, SW_SHOWNOACTIVATE);
            }
            foreign::SetPos(hosted, nullptr, area, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
            KeepBelow();
            if (wasHidden) {
                // Some applications repaint only after a size change.
                nudgedWindow_ = hosted;
                OnNudgeTimer();
                SetTimer(self, CadrelTimerHostNudge, HostNudgeMs, nullptr);
            }
            continue;
        }
        HidePopups(tab);
        if (WindowClassName(hosted) != UwpFrameClass) {
            if (IsWindowVisible(hosted)) {
                foreign::Show(hosted, SW_HIDE);
            }
        } else {
            // A UWP frame cannot be hidden from outside: it waits off screen.
            RECT rect{};
            GetWindowRect(hosted, &rect);
            const RECT parked{parkX, parkY, parkX + std::max(1L, rect.right - rect.left),
                              parkY + std::max(1L, rect.bottom - rect.top)};
            foreign::SetPos(hosted, nullptr, parked, SWP_NOACTIVATE | SWP_NOZORDER);
        }
    }
    if (ActiveTabHosts() && visible && !state.pinned) {
        SetTimer(self, CadrelTimerHostKeep, HostKeepMs, nullptr);
    } else {
        KillTimer(self, CadrelTimerHostKeep);
    }
    if (!ActiveTabHosts() && !state.moving) {
        SetWindowPos(self, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    }
    placing_ = false;
}

void TabHosting::KeepBelow()
{
    HWND self = site_.HostingState().window;
    if (HWND hosted = ActiveWindow(); hosted != nullptr && self != nullptr) {
        SetWindowPos(self, hosted, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    }
}

void TabHosting::OnNudgeTimer()
{
    const HostingSite::State state = site_.HostingState();
    KillTimer(state.window, CadrelTimerHostNudge);
    HWND hosted = ActiveWindow();
    if (hosted == nullptr || hosted != nudgedWindow_ || state.view.rolled || !IsWindowVisible(state.window)) {
        return;
    }
    const RECT area = AreaOnScreen();
    RECT shorter = area;
    shorter.bottom = std::max(shorter.top + 1, shorter.bottom - 1);
    foreign::SetPos(hosted, nullptr, shorter, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
    foreign::SetPos(hosted, nullptr, area, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

void TabHosting::OnKeepTimer()
{
    KeepBelow();
    HWND hosted = ActiveWindow();
    if (hosted == nullptr || IsIconic(hosted)) {
        return;
    }
    RECT rect{};
    GetWindowRect(hosted, &rect);
    const RECT area = AreaOnScreen();
    const float scale = DpiScale(site_.HostingState().view.dpi);
    if (HostedWindowStrayed({rect.left, rect.top}, {area.left, area.top}, IsZoomed(hosted) != FALSE, scale)) {
        Place();
    }
}

bool TabHosting::OnLocationChange(HWND window)
{
    HWND hosted = ActiveWindow();
    if (window == nullptr || window != hosted) {
        return false;
    }
    RECT rect{};
    GetWindowRect(hosted, &rect);
    const RECT area = AreaOnScreen();
    const float scale = DpiScale(site_.HostingState().view.dpi);
    // The far corner too: a window resized out of its area is put back as
    // surely as one dragged away.
    const bool strayed =
        HostedWindowStrayed({rect.left, rect.top}, {area.left, area.top}, IsZoomed(hosted) != FALSE, scale) ||
        HostedWindowStrayed({rect.right, rect.bottom}, {area.right, area.bottom}, false, scale);
    if (IsIconic(hosted) || strayed) {
        Place();
    }
    return true;
}

bool TabHosting::ClaimMoved(HWND window)
{
    if (!Hosts(window)) {
        return false;
    }
    Place();
    return true;
}

void TabHosting::SetHighlight(bool highlight)
{
    if (highlight != highlight_) {
        highlight_ = highlight;
        site_.HostingRedraw();
    }
}

bool TabHosting::WaitsForWindow() const
{
    const std::vector<LiveTab>& tabs = site_.HostingTabs();
    return std::any_of(tabs.begin(), tabs.end(), [](const LiveTab& tab) {
        return (!tab.hostedExe.empty() || !tab.hostedAumid.empty()) && tab.hostedWindow == nullptr && !tab.appClosed;
    });
}

void TabHosting::Reattach()
{
    if (site_.HostingState().window == nullptr) {
        return;
    }
    std::vector<HWND> excluded = hostedEverywhere_ ? hostedEverywhere_() : Windows();
    std::vector<LiveTab>& tabs = site_.HostingTabs();
    bool changed = false;
    for (size_t i = 0; i < tabs.size(); ++i) {
        LiveTab& tab = tabs[i];
        if (tab.hostedExe.empty() || tab.hostedWindow != nullptr) {
            continue;
        }
        HWND found = nullptr;
        if (!tab.hostedAumid.empty()) {
            found = FindWindowOfApp(tab.hostedAumid, excluded);
        } else if (ExecutableFileName(tab.hostedExe) == L"applicationframehost.exe") {
            // A UWP application without its id can neither be found nor started.
            continue;
        } else {
            found = FindHostableWindow(tab.hostedExe, tab.hostedTitle, excluded);
        }
        if (found != nullptr) {
            if (IsIconic(found)) {
                foreign::Show(found, SW_SHOWNOACTIVATE);
            } else if (!IsWindowVisible(found)) {
                foreign::Show(found, SW_SHOWNA);
            }
            // The window may still be on its way to visible: the checks of
            // Host that need it visible were met when it was found.
            if (!IsLayoutCandidate(found)) {
                continue;
            }
            if (Host(static_cast<int>(i), found, false)) {
                excluded.push_back(found);
                changed = true;
            }
            continue;
        }
        // A closed application is started again only by the relaunch button.
        const bool clicked = static_cast<int>(i) == relaunchTab_;
        if (tab.relaunchTried || (tab.appClosed && !clicked)) {
            continue;
        }
        tab.relaunchTried = true;
        // A layout can come from a snapshot, a backup or another machine:
        // only programs this user hosted here start without a click.
        // The id is part of the pair: the restored record names both, and the
        // launch goes by the id when there is one.
        if (clicked || (apps_ != nullptr && apps_->Knows(tab.hostedExe, tab.hostedAumid))) {
            StartApp(static_cast<int>(i), clicked ? LaunchCause::UserAction : LaunchCause::Automatic);
        } else {
            tab.appClosed = true;
            changed = true;
            DebugLog(L"Application jamais hebergee sur ce poste, pas de demarrage automatique : %ls.",
                     tab.hostedExe.c_str());
        }
    }
    if (changed) {
        site_.HostingRedraw();
        site_.HostingTabsChanged();
    }
}

void TabHosting::Relaunch()
{
    const int active = site_.HostingState().activeTab;
    std::vector<LiveTab>& tabs = site_.HostingTabs();
    if (active < 0 || active >= static_cast<int>(tabs.size())) {
        return;
    }
    LiveTab& tab = tabs[static_cast<size_t>(active)];
    tab.relaunchTried = false;
    tab.appClosed = false;
    relaunchTab_ = active;
    Reattach();
    relaunchTab_ = -1;
    site_.HostingRedraw();
}

void TabHosting::StartApp(int index, LaunchCause cause)
{
    const LiveTab& tab = site_.HostingTabs()[static_cast<size_t>(index)];
    const std::wstring id = tab.hostedAumid.empty() ? PackagedAppIdFromPath(tab.hostedExe) : tab.hostedAumid;
    if (!id.empty() && !IsSafeAppId(id)) {
        DebugLog(L"Identifiant d'application refuse : %ls.", id.c_str());
        return;
    }
    if (!id.empty() && LaunchPackagedApp(id)) {
        DebugLog(L"Application hebergee demarree par son identifiant : %ls.", id.c_str());
        return;
    }
    // Packaged applications start only by their id, browsers never: a
    // browser started blindly would open a window of its own choosing.
    if (tab.hostedExe.empty() || IsPackagedPath(tab.hostedExe) || IsBrowserExecutable(tab.hostedExe)) {
        return;
    }
    const bool started = LaunchExecutable(site_.HostingState().window, tab.hostedExe, cause);
    DebugLog(L"Demarrage de l'application hebergee %ls : %ls.", tab.hostedExe.c_str(), started ? L"fait" : L"echec");
}

bool TabHosting::HoldsPointerOrFocus() const
{
    HWND hosted = ActiveWindow();
    if (hosted == nullptr) {
        return false;
    }
    const auto heldBy = [hosted](HWND window) {
        return window != nullptr && (window == hosted || GetAncestor(window, GA_ROOT) == hosted ||
                                     IsChild(hosted, window) || SameProcess(window, hosted));
    };
    POINT cursor{};
    GetCursorPos(&cursor);
    return heldBy(WindowFromPoint(cursor)) || heldBy(GetForegroundWindow());
}

bool TabHosting::ForwardActivation()
{
    HWND hosted = ActiveWindow();
    if (!ActiveTabHosts() || hosted == nullptr) {
        return false;
    }
    // Raised as well: where the system leaves the cadrel's own surface above
    // it (Wine does), the next press would land on the cadrel again.
    foreign::SetZOrder(hosted, HWND_TOP);
    SetForegroundWindow(hosted);
    KeepBelow();
    return true;
}

bool TabHosting::PressRelaunch(POINT client)
{
    const HostingSite::State state = site_.HostingState();
    const std::vector<LiveTab>& tabs = site_.HostingTabs();
    if (state.view.rolled || state.activeTab < 0 || state.activeTab >= static_cast<int>(tabs.size())) {
        return false;
    }
    const LiveTab& tab = tabs[static_cast<size_t>(state.activeTab)];
    if (tab.hostedExe.empty() || !tab.appClosed || PtInRect(&relaunchRect_, client) == FALSE) {
        return false;
    }
    DebugLog(L"Relance de l'application hebergee : %ls.", tab.hostedExe.c_str());
    Relaunch();
    return true;
}

void TabHosting::Draw(ID2D1DeviceContext& context, const CadrelPainter& painter, float width, float height)
{
    relaunchRect_ = {};
    const HostingSite::State state = site_.HostingState();
    const std::vector<LiveTab>& tabs = site_.HostingTabs();
    if (state.view.rolled || state.activeTab < 0 || state.activeTab >= static_cast<int>(tabs.size())) {
        return;
    }
    const LiveTab& tab = tabs[static_cast<size_t>(state.activeTab)];
    if (tab.hostedExe.empty()) {
        return;
    }
    const float s = painter.Scale();
    const LayoutRect area = HostedWindowArea(state.view);
    if (!tab.appClosed) {
        // The hosted window stands over this hole; where it is slow to
        // paint, the desktop shows rather than a stale cadrel.
        context.PushAxisAlignedClip(D2D1::RectF(area.left + 8 * s, area.top, area.right - 8 * s, area.bottom - 8 * s),
                                    D2D1_ANTIALIAS_MODE_ALIASED);
        context.Clear(D2D1::ColorF(0, 0, 0, 0));
        context.PopAxisAlignedClip();
        context.DrawRoundedRectangle(D2D1::RoundedRect(D2D1::RectF(s, s, width - s, height - s), 10 * s, 10 * s),
                                     painter.Accent(), 1.5f * s);
        return;
    }
    const float cx = (area.left + area.right) / 2;
    const float cy = (area.top + area.bottom) / 2;
    const std::wstring closed = Tr(TextId::ApplicationClosed);
    context.DrawTextW(closed.c_str(), static_cast<UINT32>(closed.size()), painter.TitleFormat(),
                      D2D1::RectF(area.left, cy - 46 * s, area.right, cy - 10 * s), painter.Secondary());
    const D2D1_RECT_F button = D2D1::RectF(cx - 75 * s, cy + 6 * s, cx + 75 * s, cy + 46 * s);
    const D2D1_ROUNDED_RECT rounded = D2D1::RoundedRect(button, 8 * s, 8 * s);
    context.FillRoundedRectangle(rounded, painter.Overlay());
    context.DrawRoundedRectangle(rounded, painter.Accent(), 1.2f * s);
    const std::wstring relaunch = Tr(TextId::Relaunch);
    context.DrawTextW(relaunch.c_str(), static_cast<UINT32>(relaunch.size()), painter.TitleFormat(), button,
                      painter.Text());
    relaunchRect_ = {static_cast<LONG>(button.left), static_cast<LONG>(button.top), static_cast<LONG>(button.right),
                     static_cast<LONG>(button.bottom)};
}

}  // namespace cadrels
