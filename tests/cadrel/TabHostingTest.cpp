#include "cadrel/TabHosting.h"

#include "windows/HostedAppsFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrels {
namespace {

constexpr wchar_t UnknownApp[] = L"C:\\Programmes\\Inconnu\\inconnu.exe";
// A browser is never started blindly: a known one lets the test see the
// start decided without a process appearing.
constexpr wchar_t KnownBrowser[] = L"C:\\Programmes\\Navigateur\\firefox.exe";

// A message-only window: a real handle that nothing shows.
HWND MakeMessageWindow()
{
    return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

// A handle that was a window once: an application that was closed.
HWND MakeGoneWindow()
{
    HWND window = MakeMessageWindow();
    DestroyWindow(window);
    return window;
}

LiveTab HostingTab(const wchar_t* exe, HWND window = nullptr)
{
    LiveTab tab;
    tab.title = L"Application";
    tab.hostedExe = exe;
    tab.hostedTitle = L"Application - fenêtre";
    tab.hostedWindow = window;
    return tab;
}

class FakeSite final : public HostingSite {
public:
    State HostingState() const override { return state; }
    std::vector<LiveTab>& HostingTabs() override { return tabs; }
    const std::string& HostingId() const override { return id; }
    void HostingRedraw() override { ++redraws; }
    void HostingTabsChanged() override { ++tabsChanged; }
    void HostingActiveTitleChanged() override { ++titleChanges; }

    State state;
    std::vector<LiveTab> tabs;
    std::string id = "cadrel-test";
    int redraws = 0;
    int tabsChanged = 0;
    int titleChanges = 0;
};

class Hosting : public ::testing::Test {
protected:
    void SetUp() override
    {
        cadrelWindow = MakeMessageWindow();
        ASSERT_NE(cadrelWindow, nullptr);
        site.state.window = cadrelWindow;
        hosting.SetContext(&apps, {});
    }
    void TearDown() override
    {
        for (HWND window : extraWindows) {
            DestroyWindow(window);
        }
        DestroyWindow(cadrelWindow);
    }
    HWND Extra()
    {
        extraWindows.push_back(MakeMessageWindow());
        return extraWindows.back();
    }

    HWND cadrelWindow = nullptr;
    std::vector<HWND> extraWindows;
    HostedAppsStore apps{L""};
    FakeSite site;
    TabHosting hosting{site};
};

TEST_F(Hosting, KnowsWhichTabsHostWhatAndWhatStillWaits)
{
    const HWND first = Extra();
    const HWND second = Extra();
    site.tabs = {HostingTab(UnknownApp, first), LiveTab{}, HostingTab(KnownBrowser, second)};

    EXPECT_EQ(hosting.Windows(), (std::vector<HWND>{first, second}));
    EXPECT_TRUE(hosting.Hosts(second));
    EXPECT_FALSE(hosting.Hosts(nullptr)) << "a tab without a window hosts no null window";
    EXPECT_FALSE(hosting.Hosts(cadrelWindow));
    EXPECT_FALSE(hosting.WaitsForWindow());

    site.state.activeTab = 0;
    EXPECT_TRUE(hosting.ActiveTabHosts());
    EXPECT_EQ(hosting.ActiveWindow(), first);
    site.state.activeTab = 1;
    EXPECT_FALSE(hosting.ActiveTabHosts());
    EXPECT_EQ(hosting.ActiveWindow(), nullptr);
    site.state.activeTab = 7;
    EXPECT_FALSE(hosting.ActiveTabHosts());
    EXPECT_EQ(hosting.ActiveWindow(), nullptr);

    site.state.activeTab = 0;
    site.tabs[0].hostedWindow = MakeGoneWindow();
    EXPECT_EQ(hosting.ActiveWindow(), nullptr) << "a window that is gone is no hosted window";

    site.tabs[2].hostedWindow = nullptr;
    EXPECT_TRUE(hosting.WaitsForWindow()) << "an application whose window is still to be found";
    site.tabs[2].appClosed = true;
    EXPECT_FALSE(hosting.WaitsForWindow()) << "a closed application waits for the relaunch button";
    LiveTab packaged;
    packaged.hostedAumid = L"Editeur.Notes_8wekyb3d8bbwe!App";
    site.tabs.push_back(packaged);
    EXPECT_TRUE(hosting.WaitsForWindow()) << "a packaged application is known by its id alone";
}

TEST_F(Hosting, ReleaseForgetsTheApplicationAndRemembersTheWindow)
{
    const HWND gone = MakeGoneWindow();
    LiveTab tab = HostingTab(UnknownApp, gone);
    tab.hostedAumid = L"Editeur.Inconnu!App";
    tab.appClosed = true;
    tab.relaunchTried = true;
    tab.savedRect = {10, 20, 300, 400};
    tab.savedPlacement.length = sizeof tab.savedPlacement;
    tab.hiddenPopups = {gone};
    site.tabs = {LiveTab{}, tab};

    hosting.Release(1);
    const LiveTab& released = site.tabs[1];
    EXPECT_TRUE(released.hostedExe.empty());
    EXPECT_TRUE(released.hostedAumid.empty());
    EXPECT_TRUE(released.hostedTitle.empty());
    EXPECT_EQ(released.hostedWindow, nullptr);
    EXPECT_FALSE(released.appClosed);
    EXPECT_FALSE(released.relaunchTried);
    EXPECT_TRUE(released.hiddenPopups.empty());
    EXPECT_EQ(released.savedPlacement.length, 0u);
    EXPECT_EQ(released.savedRect.right, 0);
    EXPECT_EQ(released.title, L"Application") << "the tab keeps its title";
    EXPECT_EQ(hosting.LastReleasedWindow(), gone);
    EXPECT_GE(site.redraws, 1);

    const int redraws = site.redraws;
    hosting.Release(5);
    hosting.Release(-1);
    EXPECT_EQ(site.redraws, redraws) << "no tab there, nothing to release";
    EXPECT_EQ(hosting.LastReleasedWindow(), gone);
}

TEST_F(Hosting, PlacingFindsTheClosedApplications)
{
    site.state.activeTab = 0;
    LiveTab bare;
    bare.hostedWindow = MakeGoneWindow();
    site.tabs = {HostingTab(UnknownApp, MakeGoneWindow()), bare, HostingTab(KnownBrowser, MakeGoneWindow())};
    site.tabs[0].relaunchTried = true;

    hosting.Place();
    EXPECT_TRUE(site.tabs[0].appClosed);
    EXPECT_FALSE(site.tabs[0].relaunchTried) << "a closed application may be started once more";
    EXPECT_EQ(site.tabs[0].hostedWindow, nullptr);
    EXPECT_EQ(site.tabs[0].hostedExe, UnknownApp) << "the tab keeps its application";
    EXPECT_EQ(site.tabs[1].hostedWindow, nullptr);
    EXPECT_FALSE(site.tabs[1].appClosed) << "a tab without an application shows no closed panel";
    EXPECT_TRUE(site.tabs[2].appClosed);
    EXPECT_EQ(site.redraws, 1) << "only the active tab's change is drawn";

    site.state.window = nullptr;
    site.tabs[1].hostedWindow = MakeGoneWindow();
    hosting.Place();
    EXPECT_NE(site.tabs[1].hostedWindow, nullptr) << "a cadrel without a window places nothing";
}

TEST_F(Hosting, ReattachStartsOnlyApplicationsThisUserHosted)
{
    apps.Remember(KnownBrowser, L"");
    site.tabs = {HostingTab(UnknownApp), HostingTab(KnownBrowser), LiveTab{}};

    hosting.Reattach();
    EXPECT_TRUE(site.tabs[0].appClosed) << "never hosted here: shown closed instead of started";
    EXPECT_TRUE(site.tabs[0].relaunchTried);
    EXPECT_FALSE(site.tabs[1].appClosed) << "hosted here before: its start was decided";
    EXPECT_TRUE(site.tabs[1].relaunchTried);
    EXPECT_FALSE(site.tabs[2].relaunchTried);
    EXPECT_EQ(site.tabsChanged, 1);
    EXPECT_EQ(site.redraws, 1);

    site.tabs[1].appClosed = false;
    hosting.Reattach();
    EXPECT_EQ(site.tabsChanged, 1) << "each application is started once";

    site.state.window = nullptr;
    site.tabs.push_back(HostingTab(UnknownApp));
    hosting.Reattach();
    EXPECT_FALSE(site.tabs[3].relaunchTried) << "nothing happens before the cadrel has its window";
}

// The restored record names both the program and the id the launch goes by:
// a known program does not vouch for an id recorded with nothing.
TEST_F(Hosting, AnApplicationIdNotRecordedWithItsProgramIsNotStarted)
{
    apps.Remember(KnownBrowser, L"");
    apps.Remember(UnknownApp, L"Vendor.Notes_8wekyb3d8bbwe!App");
    LiveTab planted = HostingTab(KnownBrowser);
    planted.hostedAumid = L"Planted.App_8wekyb3d8bbwe!App";
    LiveTab swapped = HostingTab(KnownBrowser);
    swapped.hostedAumid = L"Vendor.Notes_8wekyb3d8bbwe!App";
    site.tabs = {planted, swapped};

    hosting.Reattach();
    EXPECT_TRUE(site.tabs[0].appClosed) << "the program is known, not with that id";
    EXPECT_TRUE(site.tabs[1].appClosed) << "the id is known, with another program";
    EXPECT_TRUE(apps.Knows(UnknownApp, L"vendor.notes_8WEKYB3D8BBWE!app")) << "compared without case";
}

TEST_F(Hosting, TheRelaunchButtonStartsTheActiveTabsApplicationAgain)
{
    site.tabs = {LiveTab{}, HostingTab(KnownBrowser)};
    site.tabs[1].appClosed = true;
    site.tabs[1].relaunchTried = true;
    site.state.activeTab = 1;

    hosting.Relaunch();
    EXPECT_FALSE(site.tabs[1].appClosed) << "a click starts even an application never hosted here";
    EXPECT_TRUE(site.tabs[1].relaunchTried);
    EXPECT_GE(site.redraws, 1);

    site.tabs[1].appClosed = true;
    site.tabs[1].relaunchTried = false;
    hosting.Reattach();
    EXPECT_TRUE(site.tabs[1].appClosed) << "without the click it stays closed";
    EXPECT_FALSE(site.tabs[1].relaunchTried);

    EXPECT_FALSE(hosting.PressRelaunch({5, 5})) << "no button drawn, nothing to press";
}

TEST_F(Hosting, RefusesWhatItCannotHost)
{
    site.tabs = {LiveTab{}};
    EXPECT_FALSE(hosting.Host(0, nullptr, false));
    EXPECT_FALSE(hosting.Host(0, cadrelWindow, false)) << "never itself";
    EXPECT_FALSE(hosting.Host(3, Extra(), false));
    EXPECT_FALSE(hosting.Host(0, Extra(), false)) << "a message-only window is no application window";
    EXPECT_TRUE(hosting.LastError().empty());
    EXPECT_EQ(site.tabs[0].hostedWindow, nullptr);
    EXPECT_EQ(site.redraws, 0);
    EXPECT_FALSE(hosting.HostInActiveTab(nullptr));
    EXPECT_EQ(site.tabsChanged, 0);
}

TEST_F(Hosting, TheHighlightDrawsOnlyWhenItChanges)
{
    hosting.SetHighlight(false);
    EXPECT_EQ(site.redraws, 0);
    hosting.SetHighlight(true);
    hosting.SetHighlight(true);
    EXPECT_TRUE(hosting.Highlighted());
    EXPECT_EQ(site.redraws, 1);
    hosting.SetHighlight(false);
    EXPECT_FALSE(hosting.Highlighted());
    EXPECT_EQ(site.redraws, 2);
}

}  // namespace
}  // namespace cadrels
