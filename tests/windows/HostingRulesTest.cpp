#include "windows/HostingRules.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(TitleSimilarity, ScoresEqualContainedAndPrefixTitles)
{
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int expected;
    };
    const Case cases[] = {
        {L"", L"Notes", 0},
        {L"Notes", L"", 0},
        {L"Notes - Editor", L"notes - EDITOR", 1000},
        {L"Report.docx - Word", L"report.docx", 700},
        {L"Word", L"Report.docx - Word", 700},
        {L"Project plan draft", L"Project budget", 8},
        {L"Proj alpha", L"Proj beta", 5},
        {L"Abc one", L"Abc two", 4},  // "abc " is the shortest prefix that counts
        {L"Abx", L"Aby", 0},
        {L"Mail", L"Calendar", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TitleSimilarity(c.a, c.b), c.expected) << '"' << testing::PrintToString(std::wstring(c.a))
                                                          << "\" vs " << testing::PrintToString(std::wstring(c.b));
    }
}

TEST(TitleSimilarity, IsSymmetric)
{
    const wchar_t* titles[] = {L"Inbox - Mail", L"inbox", L"Inbox (3) - Mail", L"Settings", L"Set", L""};
    for (const wchar_t* a : titles) {
        for (const wchar_t* b : titles) {
            EXPECT_EQ(TitleSimilarity(a, b), TitleSimilarity(b, a));
        }
    }
}

TEST(HostingExecutables, NamesBrowsersAndPackagedPathsWhateverTheCase)
{
    EXPECT_EQ(ExecutableFileName(L"C:\\Program Files\\App\\Tool.EXE"), L"tool.exe");
    EXPECT_EQ(ExecutableFileName(L"tool.exe"), L"tool.exe");
    EXPECT_EQ(ExecutableFileName(L"C:/apps/Tool.exe"), L"tool.exe");
    EXPECT_TRUE(IsBrowserExecutable(L"C:\\Program Files\\Mozilla Firefox\\FIREFOX.EXE"));
    EXPECT_TRUE(IsBrowserExecutable(L"C:\\x\\chrome_proxy.exe"));
    EXPECT_FALSE(IsBrowserExecutable(L"C:\\x\\chromeish.exe"));
    EXPECT_FALSE(IsBrowserExecutable(L"C:\\firefox.exe\\notepad.exe"));
    EXPECT_TRUE(IsPackagedPath(L"C:\\Program Files\\WindowsApps\\Pkg_1.0_x64__abc\\App.exe"));
    EXPECT_FALSE(IsPackagedPath(L"C:\\Program Files\\WindowsAppsExtra\\App.exe"));
}

HostableCandidate Strong(std::uintptr_t window, const wchar_t* title)
{
    return {window, title, true, false};
}

HostableCandidate Weak(std::uintptr_t window, const wchar_t* title)
{
    return {window, title, false, true};
}

TEST(ChooseHostableWindow, PrefersTheBestTitledStrongWindow)
{
    const std::vector<HostableCandidate> windows = {Strong(1, L"Other file - Editor"), Strong(2, L"notes.txt - Editor"),
                                                    Strong(3, L"notes.txt - Editor (2)"), Weak(4, L"notes.txt - Editor")};
    EXPECT_EQ(ChooseHostableWindow(windows, L"notes.txt - Editor", false), 2u);
    // Equal scores keep the first.
    EXPECT_EQ(ChooseHostableWindow(windows, L"notes.txt", false), 2u);
}

TEST(ChooseHostableWindow, AnEditorTakesItsFirstVisibleWindowWhenNoTitleIsAlike)
{
    const std::vector<HostableCandidate> windows = {Weak(9, L"Hidden helper"), Strong(5, L"Untitled"),
                                                    Strong(6, L"Another")};
    EXPECT_EQ(ChooseHostableWindow(windows, L"Quarterly report", false), 5u);
}

TEST(ChooseHostableWindow, FallsBackToAnAlikeOrLoneWeakWindow)
{
    EXPECT_EQ(ChooseHostableWindow({Weak(7, L"Zzz"), Weak(8, L"Quarterly report - Sheet")}, L"Quarterly report", false),
              8u);
    EXPECT_EQ(ChooseHostableWindow({Weak(7, L"Zzz")}, L"Quarterly report", false), 7u);
    EXPECT_EQ(ChooseHostableWindow({Weak(7, L"Zzz"), Weak(8, L"Yyy")}, L"Quarterly report", false), std::nullopt);
    EXPECT_EQ(ChooseHostableWindow({}, L"Quarterly report", false), std::nullopt);
    // A window neither strong nor weak is never taken.
    EXPECT_EQ(ChooseHostableWindow({HostableCandidate{3, L"Quarterly report", false, false}}, L"Quarterly report", false),
              std::nullopt);
}

TEST(ChooseHostableWindow, ABrowserTakesOnlyAWindowWithAnAlikeTitle)
{
    const std::vector<HostableCandidate> unrelated = {Strong(1, L"News - Browser"), Weak(2, L"Downloads")};
    EXPECT_EQ(ChooseHostableWindow(unrelated, L"Team wiki - Browser", true), std::nullopt);
    EXPECT_EQ(ChooseHostableWindow(unrelated, L"Team wiki - Browser", false), 1u);
    const std::vector<HostableCandidate> alike = {Strong(1, L"News - Browser"), Weak(2, L"Team wiki")};
    EXPECT_EQ(ChooseHostableWindow(alike, L"Team wiki - Browser", true), 2u);
    // A strong window with an alike title beats a weak one with the same title.
    const std::vector<HostableCandidate> both = {Weak(2, L"Team wiki - Browser"), Strong(3, L"Team wiki")};
    EXPECT_EQ(ChooseHostableWindow(both, L"Team wiki - Browser", true), 3u);
}

TEST(FitOntoMonitor, KeepsARectangleThatTouchesAScreenAndBringsBackOneThatDoesNot)
{
    const std::vector<ScreenArea> screens = {
        {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
        {{1920, 0, 3200, 1024}, {1920, 0, 3200, 984}},
    };
    struct Case {
        PixelRect rect;
        PixelRect expected;
    };
    const Case cases[] = {
        {{100, 100, 900, 700}, {100, 100, 900, 700}},
        {{1900, 500, 2100, 600}, {1900, 500, 2100, 600}},      // across both screens
        {{-790, 10, 10, 600}, {-790, 10, 10, 600}},            // one column still on screen
        {{-800, 10, 0, 600}, {0, 10, 800, 600}},               // just off the left edge
        {{4000, 2000, 4500, 2300}, {2700, 684, 3200, 984}},    // far beyond the second screen
        {{5000, 100, 9000, 3000}, {1920, 0, 3200, 984}},       // larger than the work area
        {{100, -900, 400, -500}, {100, 0, 400, 400}},          // above the first screen
    };
    for (const Case& c : cases) {
        const PixelRect fitted = FitOntoMonitor(c.rect, screens);
        EXPECT_EQ(fitted, c.expected) << c.rect.left << "," << c.rect.top << " -> " << fitted.left << ","
                                      << fitted.top << "," << fitted.right << "," << fitted.bottom;
    }
    EXPECT_EQ(FitOntoMonitor({-800, 10, 0, 600}, {}), (PixelRect{-800, 10, 0, 600}));
}

TEST(HostedWindowStrayed, ToleratesSixPixelsAtTheCadrelsScale)
{
    EXPECT_FALSE(HostedWindowStrayed({106, 94}, {100, 100}, false, 1.0f));
    EXPECT_TRUE(HostedWindowStrayed({107, 100}, {100, 100}, false, 1.0f));
    EXPECT_TRUE(HostedWindowStrayed({100, 93}, {100, 100}, false, 1.0f));
    EXPECT_FALSE(HostedWindowStrayed({109, 100}, {100, 100}, false, 1.5f));
    EXPECT_TRUE(HostedWindowStrayed({100, 100}, {100, 100}, true, 1.0f));
}

TEST(HostedExecutables, RoundTripsMostRecentFirstWithoutDuplicates)
{
    HostedExecutables list;
    EXPECT_TRUE(list.Add(L"C:\\Tools\\Editor.exe"));
    EXPECT_TRUE(list.Add(L"D:\\Apps\\Éditeur\\App.exe"));
    EXPECT_FALSE(list.Add(L"c:\\tools\\EDITOR.EXE"));
    EXPECT_FALSE(list.Add(L""));
    EXPECT_FALSE(list.Add(L"C:\\a.exe\r\nC:\\b.exe"));
    EXPECT_TRUE(list.Contains(L"C:\\TOOLS\\editor.exe"));
    EXPECT_FALSE(list.Contains(L"C:\\Tools\\Editor2.exe"));

    const HostedExecutables read = HostedExecutables::Parse(list.Format());
    EXPECT_EQ(read.Paths(), list.Paths());
    EXPECT_EQ(read.Paths().front(), L"D:\\Apps\\Éditeur\\App.exe");
}

TEST(HostedExecutables, ReadsOnlyAbsolutePathsFromAnyFile)
{
    const HostedExecutables read = HostedExecutables::Parse(
        "C:\\One\\a.exe\n\nrelative.exe\r\n\\\\server\\share\\b.exe\nC:\\One\\A.EXE\nC:x.exe\nC:\\Two\\c.exe");
    const std::vector<std::wstring> expected = {L"C:\\One\\a.exe", L"\\\\server\\share\\b.exe", L"C:\\Two\\c.exe"};
    EXPECT_EQ(read.Paths(), expected);

    std::string many;
    for (int i = 0; i < 300; ++i) {
        many += "C:\\p\\" + std::to_string(i) + ".exe\n";
    }
    EXPECT_EQ(HostedExecutables::Parse(many).Paths().size(), HostedExecutables::MaxEntries);
    HostedExecutables full = HostedExecutables::Parse(many);
    EXPECT_TRUE(full.Add(L"C:\\new.exe"));
    EXPECT_EQ(full.Paths().size(), HostedExecutables::MaxEntries);
    EXPECT_EQ(full.Paths().front(), L"C:\\new.exe");
}

TEST(HostedExecutables, KeepsEachProgramWithItsApplicationId)
{
    HostedExecutables list;
    const wchar_t frame[] = L"C:\\Windows\\System32\\ApplicationFrameHost.exe";
    EXPECT_TRUE(list.Add(frame, L"Microsoft.WindowsCalculator_8wekyb3d8bbwe!App"));
    EXPECT_TRUE(list.Add(frame, L"Microsoft.WindowsNotepad_8wekyb3d8bbwe!App")) << "one host, two applications";
    EXPECT_FALSE(list.Add(frame, L"microsoft.windowscalculator_8wekyb3d8bbwe!app"));
    EXPECT_TRUE(list.Add(L"C:\\Tools\\Editor.exe"));
    EXPECT_FALSE(list.Add(L"C:\\Tools\\x.exe", L"a\tb"));

    EXPECT_TRUE(list.Contains(frame, L"Microsoft.WindowsNotepad_8wekyb3d8bbwe!App"));
    EXPECT_FALSE(list.Contains(frame)) << "the program without an id was never recorded";
    EXPECT_FALSE(list.Contains(L"C:\\Tools\\Editor.exe", L"Microsoft.WindowsNotepad_8wekyb3d8bbwe!App"));
    EXPECT_TRUE(list.Contains(L"c:\\tools\\editor.exe"));

    const HostedExecutables read = HostedExecutables::Parse(list.Format());
    EXPECT_EQ(read.Paths(), list.Paths());
    EXPECT_EQ(read.AppIds(), list.AppIds());
    EXPECT_EQ(list.Format().substr(0, 25), "C:\\Tools\\Editor.exe\r\n" + std::string("C:\\W"));

    // A line of the earlier form, a path alone, is a program without an id.
    const HostedExecutables old = HostedExecutables::Parse("C:\\One\\a.exe\r\nC:\\Two\\b.exe\tVendor.App!Main\n");
    EXPECT_TRUE(old.Contains(L"C:\\One\\a.exe"));
    EXPECT_TRUE(old.Contains(L"C:\\Two\\b.exe", L"Vendor.App!Main"));
    EXPECT_FALSE(old.Contains(L"C:\\Two\\b.exe"));
}

TEST(HostedExecutables, OnlyPlainApplicationIdsAreLaunched)
{
    struct Case {
        const wchar_t* id;
        bool safe;
    };
    const Case cases[] = {
        {L"Microsoft.WindowsCalculator_8wekyb3d8bbwe!App", true},
        {L"Vendor.App!Main", true},
        {L"", false},
        {L"..", false},
        {L"Vendor..App!Main", false},
        {L"..\\..\\Windows\\System32\\cmd.exe", false},
        {L"Vendor.App!Main\\..\\x", false},
        {L"C:/Windows/notepad.exe", false},
        {L"\\\\server\\share\\x", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSafeAppId(c.id), c.safe) << c.id;
    }
}

// A window released over a cadrel's title bar is hosted only when the bar
// is really what the user sees there.
TEST(UncoveredInStack, OnlyTheMovedWindowMayStandAboveTheTitleBar)
{
    constexpr std::uintptr_t Cadrel = 1, Moved = 2, Other = 3, Elsewhere = 4;
    struct Case {
        std::vector<StackedWindow> fromTop;
        bool uncovered;
    };
    const Case cases[] = {
        {{{Cadrel, true}}, true},
        {{{Moved, true}, {Cadrel, true}}, true},
        {{{Other, true}, {Cadrel, true}}, false},
        {{{Moved, true}, {Other, true}, {Cadrel, true}}, false},
        // Windows elsewhere on the screen, hidden or minimized ones above.
        {{{Elsewhere, false}, {Other, false}, {Cadrel, true}}, true},
        // The cadrel is not in the stack at all (closed meanwhile).
        {{{Moved, true}, {Other, false}}, false},
        {{}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UncoveredInStack(c.fromTop, Cadrel, Moved), c.uncovered) << c.fromTop.size() << " windows";
    }
}

}  // namespace
}  // namespace cadrels
