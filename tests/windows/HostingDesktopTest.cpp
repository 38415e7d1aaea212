// Hosting end to end: the real program hosts a test window of our own on the
// test desktop, driven through its hosting requests and real pointer input,
// and checked by where the windows stand, what the log says and the files.
#include "CadrelScenario.h"
#include "CadrelsProcess.h"
#include "DesktopInput.h"
#include "HostableWindows.h"
#include "ScreenImage.h"
#include "TestFiles.h"

#include "app/CopyData.h"
#include "cadrel/CadrelGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

constexpr wchar_t DefaultHostableTitle[] = L"Cadrels hostable";
constexpr wchar_t HostableName[] = L"hostable_test_app";
constexpr UINT StopPumping = WM_APP + 1;

LRESULT SendCopyData(HWND appWindow, ULONG_PTR kind, const std::wstring& text, DWORD timeoutMs = 5000)
{
    std::wstring payload = text;
    payload.push_back(L'\0');
    COPYDATASTRUCT data{kind, static_cast<DWORD>(payload.size() * sizeof(wchar_t)), payload.data()};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(appWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, timeoutMs, &result);
    return static_cast<LRESULT>(result);
}

bool HostInCadrel(const CadrelsProcess& app, int cadrel, HWND window)
{
    return SendCopyData(app.AppWindow(), CopyDataHostRequest,
                        L"host\t" + std::to_wstring(cadrel) + L"\t" +
                            std::to_wstring(reinterpret_cast<std::uintptr_t>(window))) != 0;
}

// How long the program takes to answer a message that goes through its
// main thread; an unknown WM_COPYDATA kind is answered at once when the
// thread is free.
DWORD RoundTripMs(HWND appWindow)
{
    const ULONGLONG start = GetTickCount64();
    SendCopyData(appWindow, 0x43444C7F, L"ping", 20000);
    return static_cast<DWORD>(GetTickCount64() - start);
}

PixelRect HostedArea(HWND cadrel)
{
    const PixelRect r = RectOf(cadrel);
    const double s = GetDpiForWindow(cadrel) / 96.0;
    const int m = static_cast<int>(std::lround(14 * s));
    const int t = static_cast<int>(std::lround(30 * s));
    return {r.left + m, r.top + t, r.right - m, r.bottom - m};
}

bool StandsOver(HWND window, HWND cadrel)
{
    return IsWindowVisible(window) && !IsIconic(window) && RectOf(window) == HostedArea(cadrel);
}

// Whether `below` comes right after `window` in the z-order, with at most
// windows of the same process (its own popups) between them.
bool JustBelow(HWND below, HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    for (HWND next = GetWindow(window, GW_HWNDNEXT); next != nullptr; next = GetWindow(next, GW_HWNDNEXT)) {
        if (next == below) {
            return true;
        }
        DWORD owner = 0;
        GetWindowThreadProcessId(next, &owner);
        if (owner != process) {
            return false;
        }
    }
    return false;
}

// The middle of tab `index` on a cadrel's horizontal title bar.
POINT TabPoint(HWND cadrel, int index, int count)
{
    const PixelRect r = RectOf(cadrel);
    const unsigned dpi = GetDpiForWindow(cadrel);
    int first = -1;
    int last = -1;
    for (int x = 0; x < r.Width(); ++x) {
        if (TabAtPoint(x, 15, count, r.Width(), r.Height(), UnfoldDown, dpi) == index) {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    return {r.left + (first + last) / 2, r.top + 15};
}

// A drag by the window's caption at a hand's pace, so a watcher that looks
// four times a second sees the button held. Returns whether the window ever
// stood elsewhere than it did during the drag or in the second after it
// (Wine drags an outline and moves the window only at the release).
bool SlowCaptionDrag(HWND window, POINT from, POINT to)
{
    const PixelRect start = RectOf(window);
    bool moved = false;
    Drag(from, to, [&](POINT) {
        moved = moved || RectOf(window) != start;
        return true;
    });
    WaitFor([&] { return moved = moved || RectOf(window) != start; }, 1000);
    return moved;
}

POINT CaptionPoint(HWND window)
{
    const PixelRect r = RectOf(window);
    return {r.left + 80, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
}

// A click that brings the window forward, then a pause beyond the
// double-click time, so the drag's press that follows does not maximize it.
void ActivateByCaption(HWND window)
{
    Click(CaptionPoint(window));
    Sleep(GetDoubleClickTime() + 200);
}

class Hosting : public CadrelScenario {
protected:
    Hosting() : CadrelScenario(L"hosting") {}

    void SetUp() override
    {
        EndHostables();
        CadrelScenario::SetUp();
        DeleteFileW((HostableExe() + L".started").c_str());
    }

    void TearDown() override
    {
        CadrelScenario::TearDown();
        EndHostables();
    }

    static CadrelTab FolderTab(const wchar_t* title, const std::wstring& folder)
    {
        CadrelTab tab;
        tab.title = title;
        tab.folder = folder;
        return tab;
    }

    static CadrelTab HostingTab(const wchar_t* title, const std::wstring& exe, const wchar_t* hostedTitle)
    {
        CadrelTab tab;
        tab.title = title;
        tab.hostedExe = exe;
        tab.hostedTitle = hostedTitle;
        return tab;
    }
};

TEST_F(Hosting, HostsPlacesHidesRestoresSnapsBackTakesADroppedWindowAndRelaunches)
{
    Workspace page;
    page.id = "{page}";
    page.name = L"Page";
    CadrelRecord& a = AddPinned(page, "{A}", 0.03, 0.08, 0.45, 0.6,
                                {FolderTab(L"Dossier", root_), FolderTab(L"Appli", root_)});
    a.active = 1;
    AddPinned(page, "{B}", 0.52, 0.08, 0.45, 0.6, {FolderTab(L"Bureau B", root_)});
    StartWithPage(page);
    HWND cadrelA = CadrelTitled(L"Appli");
    HWND cadrelB = CadrelTitled(L"Bureau B");
    ASSERT_NE(cadrelA, nullptr);
    ASSERT_NE(cadrelB, nullptr);
    ASSERT_TRUE(app_.WaitForLine(L"Crochets d'evenements de fenetres", 5000));

    HWND one = StartHostable(HostableExe(), L"Hote Un", 60, work_.bottom - 330, true);
    ASSERT_NE(one, nullptr);
    HWND popup = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (popup = HostableTitled(L"Hote Un popup")) != nullptr && IsWindowVisible(popup); }));
    const PixelRect before = RectOf(one);

    // Hosted: exactly over the content area, the cadrel right below it, the
    // tab named after the application, the executable remembered.
    ASSERT_TRUE(HostInCadrel(app_, 0, one));
    ASSERT_TRUE(app_.WaitForLine(L"Fenetre hebergee dans la cadrel {A}", 5000));
    EXPECT_TRUE(WaitFor([&] { return StandsOver(one, cadrelA); })) << RectOf(one) << " vs " << HostedArea(cadrelA);
    EXPECT_TRUE(JustBelow(cadrelA, one));
    EXPECT_TRUE(WaitFor([&] { return TitleOf(cadrelA) == HostableName; })) << TitleOf(cadrelA);
    const Settings saved = SaveAndReadLayout(app_, appData_);
    ASSERT_EQ(saved.workspaces.size(), 1u);
    EXPECT_EQ(saved.workspaces[0].cadrels[0].tabs[1].hostedExe.substr(
                  saved.workspaces[0].cadrels[0].tabs[1].hostedExe.find_last_of(L'\\') + 1),
              L"hostable_test_app.exe");
    EXPECT_EQ(saved.workspaces[0].cadrels[0].tabs[1].hostedTitle, L"Hote Un");
    EXPECT_NE(ReadBytes(appData_ + L"\\hosted-apps.txt").find("hostable_test_app.exe"), std::string::npos);

    // Another cadrel may not take it: the refusal is explained and nothing moves.
    ASSERT_TRUE(HostInCadrel(app_, 1, one));
    ASSERT_TRUE(app_.WaitForLine(L"Hebergement refuse : Cette fenêtre est déjà hébergée dans une autre cadrel.", 5000));
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor([&] {
        for (HWND window : app_.TopLevelWindows(L"#32770")) {
            box = IsWindowVisible(window) ? window : box;
        }
        return box != nullptr;
    }));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(StandsOver(one, cadrelA));
    EXPECT_EQ(TitleOf(cadrelB), L"Bureau B");

    Sleep(500);
    ScreenImage shot;
    ASSERT_TRUE(shot.Capture());
    shot.SavePng(std::wstring(CADRELS_TEST_OUTPUT_DIR) + L"\\hosting-screenshot.png");

    // Another tab hides it and its popup; minimized meanwhile, it comes back
    // restored, and the popup hosting hid comes back with it.
    Click(TabPoint(cadrelA, 0, 2));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(one); }));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(popup); }));
    ShowWindow(one, SW_SHOWMINNOACTIVE);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(one) != FALSE; }));
    Click(TabPoint(cadrelA, 1, 2));
    EXPECT_TRUE(WaitFor([&] { return StandsOver(one, cadrelA); })) << RectOf(one) << " vs " << HostedArea(cadrelA);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(popup) != FALSE; }));

    // Rolled up, the cadrel hides it; unfolded, it is back in place.
    DoubleClick(TabPoint(cadrelA, 1, 2));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(one); }));
    DoubleClick(TabPoint(cadrelA, 1, 2));
    EXPECT_TRUE(WaitFor([&] { return StandsOver(one, cadrelA); })) << RectOf(one) << " vs " << HostedArea(cadrelA);

    // Moved away, as the end of a drag by its caption leaves it, it snaps
    // back. (Under Wine the cadrel's surface takes the presses over the
    // hosted window, so the move is made here rather than dragged.)
    const PixelRect placed = RectOf(one);
    SetWindowPos(one, nullptr, placed.left + 160, placed.top + 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return StandsOver(one, cadrelA); })) << RectOf(one) << " vs " << HostedArea(cadrelA);
    ShowWindow(one, SW_MAXIMIZE);
    EXPECT_TRUE(WaitFor([&] { return StandsOver(one, cadrelA); })) << RectOf(one) << " vs " << HostedArea(cadrelA);

    // Released, it goes back where it stood before hosting, keeping what
    // the application changed meanwhile (here: disabled, as by its own
    // modal dialog); hosted again, it is placed again.
    EnableWindow(one, FALSE);
    ASSERT_EQ(SendCopyData(app_.AppWindow(), CopyDataHostRequest, L"release\t0"), TRUE);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(one) && RectOf(one) == before; })) << RectOf(one) << " vs " << before;
    EXPECT_FALSE(IsWindowEnabled(one));
    EnableWindow(one, TRUE);
    ASSERT_TRUE(HostInCadrel(app_, 0, one));
    EXPECT_TRUE(WaitFor([&] { return StandsOver(one, cadrelA); })) << RectOf(one) << " vs " << HostedArea(cadrelA);

    // A window released over a cadrel's items stays where it was dropped.
    HWND two = StartHostable(HostableExe(), L"Hote Deux", work_.right - 460, work_.bottom - 330);
    ASSERT_NE(two, nullptr);
    ActivateByCaption(two);
    const PixelRect areaB = HostedArea(cadrelB);
    POINT grip2 = CaptionPoint(two);
    SlowCaptionDrag(two, grip2, {(areaB.left + areaB.right) / 2, (areaB.top + areaB.bottom) / 2});
    Sleep(1200);
    EXPECT_EQ(TitleOf(cadrelB), L"Bureau B");
    EXPECT_NE(RectOf(two), areaB);
    EXPECT_EQ(app_.CountLines(L"Fenetre hebergee dans la cadrel {B}"), 0u);
    // (Released over the title bar it is hosted there; under Wine the
    // position the program reads for the pointer after another program's
    // caption drag is where that drag began, so that end is not driven here.)
    const PixelRect dropped = RectOf(two);
    ASSERT_TRUE(HostInCadrel(app_, 1, two));
    EXPECT_TRUE(WaitFor([&] { return StandsOver(two, cadrelB); }, 8000))
        << RectOf(two) << " vs " << HostedArea(cadrelB);
    EXPECT_TRUE(WaitFor([&] { return TitleOf(cadrelB) == HostableName; }));

    // Closed, the tab shows the closed panel; its button starts the program
    // again and the new window is adopted.
    PostMessageW(one, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app_.WaitForLine(L"Application hebergee fermee dans la cadrel {A}", 5000));
    const PixelRect area = HostedArea(cadrelA);
    const POINT relaunch{(area.left + area.right) / 2, (area.top + area.bottom) / 2 + 26};
    Click(relaunch);
    ASSERT_TRUE(app_.WaitForLine(L"Relance de l'application hebergee", 5000));
    HWND again = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (again = HostableTitled(DefaultHostableTitle)) != nullptr; }, 10000));
    EXPECT_TRUE(WaitFor([&] { return again != nullptr && StandsOver(again, cadrelA); }, 10000));

    // At exit the hosted windows are left minimized, with the place they had
    // before hosting to come back to.
    ASSERT_TRUE(app_.Quit().has_value());
    EXPECT_TRUE(WaitFor([&] { return IsIconic(again) && IsIconic(two); }));
    // Restored as a user restores it from the taskbar (Wine reports no
    // normal position for another process's minimized window, so the
    // restored rectangle is what is checked).
    ShowWindow(again, SW_RESTORE);
    ShowWindow(two, SW_RESTORE);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(again) && RectOf(again) == (PixelRect{200, 150, 600, 450}); }))
        << RectOf(again);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(two) && RectOf(two) == dropped; })) << RectOf(two) << " vs " << dropped;
}

TEST_F(Hosting, ReattachesByTitleAfterARestartAndNeverStartsAProgramThisUserDidNotHost)
{
    const std::wstring stranger = root_ + L"\\Inconnu.exe";
    ASSERT_TRUE(CopyFileW(HostableExe().c_str(), stranger.c_str(), FALSE));
    HWND other = StartHostable(HostableExe(), L"Autre fenetre", 80, 80);
    HWND notes = StartHostable(HostableExe(), L"Notes du jour", 140, 140);
    ASSERT_NE(other, nullptr);
    ASSERT_NE(notes, nullptr);
    const PixelRect otherRect = RectOf(other);

    Workspace page;
    page.id = "{page}";
    page.name = L"Page";
    AddPinned(page, "{A}", 0.03, 0.08, 0.45, 0.6, {HostingTab(L"Notes", HostableExe(), L"Notes du jour")});
    AddPinned(page, "{B}", 0.52, 0.08, 0.45, 0.6, {HostingTab(L"Etranger", stranger, L"Rien")});
    // This user hosted the test program before, never the stranger.
    CreateDirectoryW(appData_.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(appData_ + L"\\hosted-apps.txt", "C:\\nowhere\\x.exe\r\n"));
    std::string known = "C:\\nowhere\\x.exe\r\n";
    const std::wstring exe = HostableExe();
    known += std::string(exe.begin(), exe.end()) + "\r\n";
    ASSERT_TRUE(WriteBytes(appData_ + L"\\hosted-apps.txt", known));
    StartWithPage(page);
    HWND cadrelA = CadrelTitled(L"Notes");
    ASSERT_NE(cadrelA, nullptr);

    EXPECT_TRUE(WaitFor([&] { return StandsOver(notes, cadrelA); }, 10000))
        << RectOf(notes) << " vs " << HostedArea(cadrelA);
    EXPECT_EQ(RectOf(other), otherRect);
    EXPECT_TRUE(app_.WaitForLine(L"pas de demarrage automatique : " + stranger, 5000));
    Sleep(2000);
    EXPECT_FALSE(FileExists(stranger + L".started"));

    // Restarted, the program finds the window again, minimized as it was left.
    ASSERT_TRUE(app_.Quit().has_value());
    EXPECT_TRUE(WaitFor([&] { return IsIconic(notes) != FALSE; }));
    EXPECT_EQ(app_.CountLines(L"Demarrage de l'application hebergee"), 0u);
    CadrelsProcess restarted;
    ASSERT_TRUE(restarted.Start());
    ASSERT_TRUE(restarted.WaitUntilReady());
    cadrelA = nullptr;
    for (HWND window : restarted.TopLevelWindows(L"Cadrels.Cadrel")) {
        cadrelA = TitleOf(window) == L"Notes" ? window : cadrelA;
    }
    ASSERT_NE(cadrelA, nullptr);
    EXPECT_TRUE(WaitFor([&] { return StandsOver(notes, cadrelA); }, 10000))
        << RectOf(notes) << " vs " << HostedArea(cadrelA);
    EXPECT_EQ(RectOf(other), otherRect);
    EXPECT_FALSE(FileExists(stranger + L".started"));
    EXPECT_EQ(restarted.CountLines(L"Demarrage de l'application hebergee"), 0u);
    restarted.EndTest(HasFailure());
}

TEST_F(Hosting, AHungHostedWindowFreezesNothingThroughAPageSwitchAndExit)
{
    Workspace page;
    page.id = "{page}";
    page.name = L"Page";
    AddPinned(page, "{A}", 0.03, 0.08, 0.45, 0.6, {FolderTab(L"Appli", root_)});
    StartWithPage(page);
    HWND cadrelA = CadrelTitled(L"Appli");
    ASSERT_NE(cadrelA, nullptr);
    HWND hung = StartHostable(HostableExe(), L"Hote fige", 60, 60);
    ASSERT_NE(hung, nullptr);
    ASSERT_TRUE(HostInCadrel(app_, 0, hung));
    ASSERT_TRUE(WaitFor([&] { return StandsOver(hung, cadrelA); }));

    // The window stops answering for far longer than any of what follows
    // may take, even on a loaded machine: whatever is done while it still
    // does not answer did not wait for it.
    const auto stillHung = [hung] {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(hung, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result) == 0;
    };
    const DWORD calm = RoundTripMs(app_.AppWindow());
    PostMessageW(hung, StopPumping, 60000, 0);
    ASSERT_TRUE(WaitFor(stillHung));

    // A page switch releases the hosted window while it does not answer.
    ASSERT_EQ(SendCopyData(app_.AppWindow(), CopyDataPageRequest, L"new\tDeux"), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrels de la page construites", 5000, 2));
    const DWORD duringSwitch = RoundTripMs(app_.AppWindow());
    EXPECT_TRUE(stillHung()) << "the page switch waited for the hung window";

    // So does exit.
    const std::optional<DWORD> exitCode = app_.Quit(30000);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_TRUE(stillHung()) << "exit waited for the hung window";
    std::printf("Round trip %lu ms calm, %lu ms after a page switch with the hosted window hung\n", calm,
                duringSwitch);
}

}  // namespace
}  // namespace cadrels::testing
