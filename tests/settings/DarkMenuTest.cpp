// The menu as a user drives it: real windows on the test's main thread, keys
// and mouse messages posted by a script thread.
#include "DesktopDriver.h"
#include "MenuItems.h"

#include "model/Theme.h"
#include "settings/DarkMenu.h"
#include "settings/Placement.h"

#include <gtest/gtest.h>

namespace cadrels::testing {
namespace {

constexpr wchar_t MenuClass[] = L"Cadrels.DarkMenu";
constexpr POINT MenuOrigin{200, 150};

// [A, separator, disabled B, C]; at 96 DPI the entries are centred at these
// heights below the window's top (6 margin, 30 per entry, 9 per separator).
std::vector<DarkMenuItem> WalkItems()
{
    return {Entry(L"A", 1), DarkMenuItem::Separator(), Entry(L"B", 2, false), Entry(L"C", 3)};
}
constexpr int WalkA = 21;
constexpr int WalkB = 60;
constexpr int WalkC = 90;

// [File, More > (X, Y), Z]: centres 21, 51, 81; the submenu's X and Y at 21
// and 51 below its own top.
std::vector<DarkMenuItem> NestedItems()
{
    return {Entry(L"File", 10), Submenu(L"More", 11, {Entry(L"X", 21), Entry(L"Y", 22)}), Entry(L"Z", 30)};
}
constexpr int NestedFile = 21;
constexpr int NestedMore = 51;

POINT At(HWND window, int y, int x = 40)
{
    const RECT rect = WindowRect(window);
    return {rect.left + x, rect.top + y};
}

// One scripted action on the root window of an open menu.
struct Step {
    enum Kind { Key, Mouse } kind;
    UINT value;      // the virtual key, or the mouse message
    int y = 0;       // mouse: height below the root's top; ignored when outside
    bool outside = false;
};

Step Key(UINT key)
{
    return {Step::Key, key};
}

Step Mouse(UINT message, int y)
{
    return {Step::Mouse, message, y};
}

Step MouseOutside(UINT message)
{
    return {Step::Mouse, message, 0, true};
}

int RunSteps(const std::vector<DarkMenuItem>& items, const std::vector<Step>& steps, bool* timedOut)
{
    ScriptThread script(MenuClass, [&steps](HWND root) {
        for (const Step& step : steps) {
            if (step.kind == Step::Key) {
                PostKey(root, step.value);
            } else {
                const RECT rect = WindowRect(root);
                const POINT point = step.outside ? POINT{rect.left - 60, rect.bottom + 40} : At(root, step.y);
                PostMouse(root, step.value, point);
            }
        }
    });
    const int result = ShowDarkMenu(nullptr, items, MenuOrigin.x, MenuOrigin.y, 96);
    *timedOut = script.Finish();
    return result;
}

// Opens the menu, notes where its root window went and closes it with Esc.
RECT RootWindowOf(const std::vector<DarkMenuItem>& items, POINT at, int dpi)
{
    RECT root{};
    ScriptThread script(MenuClass, [&root](HWND window) {
        root = WindowRect(window);
        PostKey(window, VK_ESCAPE);
    });
    EXPECT_EQ(ShowDarkMenu(nullptr, items, at.x, at.y, dpi), 0);
    EXPECT_FALSE(script.Finish());
    return root;
}

class DarkMenu : public ::testing::Test {
protected:
    void SetUp() override { ApplyTheme(1); }
    void TearDown() override { EXPECT_TRUE(ProcessWindows(MenuClass).empty()) << "a menu window outlived its menu"; }
};

struct Case {
    const char* name;
    std::vector<Step> steps;
    int expected;
};

void RunCases(const std::vector<DarkMenuItem>& items, const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        bool timedOut = false;
        EXPECT_EQ(RunSteps(items, c.steps, &timedOut), c.expected) << c.name;
        EXPECT_FALSE(timedOut) << c.name << ": the menu stayed open";
    }
}

TEST_F(DarkMenu, KeyboardWalkSkipsSeparatorsAndDisabledEntries)
{
    RunCases(WalkItems(), {
        {"Down chooses A first", {Key(VK_DOWN), Key(VK_RETURN)}, 1},
        {"the second Down skips the separator and B", {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)}, 3},
        {"the third Down wraps to A", {Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)}, 1},
        {"Up from the start selects the last entry", {Key(VK_UP), Key(VK_RETURN)}, 3},
        {"Up from A wraps to C", {Key(VK_DOWN), Key(VK_UP), Key(VK_RETURN)}, 3},
        {"Right on a leaf does nothing", {Key(VK_DOWN), Key(VK_RIGHT), Key(VK_RETURN)}, 1},
        {"Left at the root does nothing", {Key(VK_LEFT), Key(VK_DOWN), Key(VK_RETURN)}, 1},
        {"Enter without a highlight does nothing", {Key(VK_RETURN), Key(VK_DOWN), Key(VK_RETURN)}, 1},
        {"Esc at the root ends with nothing", {Key(VK_DOWN), Key(VK_ESCAPE), Key(VK_RETURN)}, 0},
    });
}

TEST_F(DarkMenu, KeyboardOpensAndClosesSubmenus)
{
    RunCases(NestedItems(), {
        {"Right opens, Down walks the submenu",
         {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT), Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)}, 22},
        {"Enter on a submenu entry opens it", {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN), Key(VK_DOWN), Key(VK_RETURN)},
         21},
        {"Left closes the submenu and the root keeps its highlight",
         {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT), Key(VK_LEFT), Key(VK_DOWN), Key(VK_RETURN)}, 30},
        {"Esc closes only the submenu",
         {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT), Key(VK_ESCAPE), Key(VK_UP), Key(VK_RETURN)}, 10},
        {"a second Esc ends the menu",
         {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT), Key(VK_ESCAPE), Key(VK_ESCAPE), Key(VK_UP), Key(VK_RETURN)}, 0},
    });
}

TEST_F(DarkMenu, MouseReleaseOutsideEndsButPressesAndRightClicksDoNot)
{
    RunCases(WalkItems(), {
        {"a left release outside ends with nothing",
         {MouseOutside(WM_LBUTTONUP), Key(VK_DOWN), Key(VK_RETURN)}, 0},
        {"a right release outside ends with nothing",
         {MouseOutside(WM_RBUTTONUP), Key(VK_DOWN), Key(VK_RETURN)}, 0},
        {"a press outside keeps the menu open",
         {MouseOutside(WM_LBUTTONDOWN), MouseOutside(WM_RBUTTONDOWN), MouseOutside(WM_MBUTTONDOWN),
          MouseOutside(WM_MOUSEMOVE), Key(VK_DOWN), Key(VK_RETURN)}, 1},
        {"a click on an entry chooses it", {Mouse(WM_LBUTTONDOWN, WalkC), Mouse(WM_LBUTTONUP, WalkC)}, 3},
        {"a right click on an entry only highlights it",
         {Mouse(WM_RBUTTONDOWN, WalkC), Mouse(WM_RBUTTONUP, WalkC), Key(VK_RETURN)}, 3},
        {"a click on a disabled entry chooses nothing",
         {Mouse(WM_LBUTTONDOWN, WalkB), Mouse(WM_LBUTTONUP, WalkB), Key(VK_DOWN), Key(VK_RETURN)}, 3},
        {"hovering moves the keyboard highlight", {Mouse(WM_MOUSEMOVE, WalkC), Key(VK_DOWN), Key(VK_RETURN)}, 1},
        {"a release in the margin chooses nothing", {Mouse(WM_LBUTTONUP, 2), Key(VK_UP), Key(VK_RETURN)}, 3},
    });
}

// A menu that opens under a resting pointer is told the pointer moved onto
// it; that does not highlight the entry there, so the keyboard starts from
// the top, as with the system's menus.
TEST_F(DarkMenu, AMenuOpenedUnderARestingPointerHighlightsNothingUntilItMoves)
{
    ASSERT_TRUE(SendPointerTo({MenuOrigin.x + 40, MenuOrigin.y + WalkA}));
    RunCases(WalkItems(), {
        {"the move reported as the menu appears is no hover",
         {Mouse(WM_MOUSEMOVE, WalkA), Key(VK_DOWN), Key(VK_RETURN)}, 1},
        {"once the pointer moves it hovers",
         {Mouse(WM_MOUSEMOVE, WalkA), Mouse(WM_MOUSEMOVE, WalkC), Mouse(WM_MOUSEMOVE, WalkA), Key(VK_DOWN),
          Key(VK_RETURN)}, 3},
    });
}

TEST_F(DarkMenu, RealPointerInputReachesTheMenuThroughTheCapture)
{
    struct RealCase {
        const char* name;
        bool outside;
        int expected;
    };
    for (const RealCase& c : {RealCase{"a click on C chooses it", false, 3},
                              RealCase{"a click outside ends with nothing", true, 0}}) {
        ScriptThread script(MenuClass, [&c](HWND root) {
            const RECT rect = WindowRect(root);
            const POINT target = c.outside ? POINT{rect.right + 150, rect.bottom + 100} : At(root, WalkC);
            ASSERT_TRUE(SendPointerTo({target.x - 5, target.y}));
            ASSERT_TRUE(SendLeftClick(target));
        });
        EXPECT_EQ(ShowDarkMenu(nullptr, WalkItems(), MenuOrigin.x, MenuOrigin.y, 96), c.expected) << c.name;
        EXPECT_FALSE(script.Finish()) << c.name;
    }
}

TEST_F(DarkMenu, HoverOpensSubmenuAtOnceAndMovingBackClosesIt)
{
    RECT root{};
    RECT submenu{};
    bool reopened = false;
    ScriptThread script(MenuClass, [&](HWND rootWindow) {
        root = WindowRect(rootWindow);
        PostMouse(rootWindow, WM_MOUSEMOVE, At(rootWindow, NestedMore));
        const HWND sub = WaitForNewWindow(MenuClass, {rootWindow}, 2000);
        ASSERT_NE(sub, nullptr) << "hovering an entry with children did not open its submenu";
        submenu = WindowRect(sub);
        // Moving into the submenu keeps it; moving back to another entry of
        // the root closes it.
        PostMouse(rootWindow, WM_MOUSEMOVE, At(sub, 21));
        PostMouse(rootWindow, WM_MOUSEMOVE, At(rootWindow, NestedFile));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sub); }, 2000)) << "the submenu stayed open";
        PostMouse(rootWindow, WM_MOUSEMOVE, At(rootWindow, NestedMore));
        const HWND again = WaitForNewWindow(MenuClass, {rootWindow}, 2000);
        ASSERT_NE(again, nullptr);
        reopened = true;
        PostClick(rootWindow, At(again, 51));
    });
    const int result = ShowDarkMenu(nullptr, NestedItems(), MenuOrigin.x, MenuOrigin.y, 96);
    EXPECT_FALSE(script.Finish());
    EXPECT_TRUE(reopened);
    EXPECT_EQ(result, 22);
    EXPECT_EQ(submenu.left, root.right - 3);
    EXPECT_EQ(submenu.top, root.top + 36) << "the submenu starts level with its entry";
}

TEST_F(DarkMenu, MenuNearTheBottomRightCornerLiesInsideTheWorkArea)
{
    const RECT work = WorkAreaNear({0, 0});
    const RECT root = RootWindowOf(WalkItems(), {work.right - 5, work.bottom - 5}, 96);
    EXPECT_EQ(root.right, work.right);
    EXPECT_EQ(root.bottom, work.bottom);
    EXPECT_EQ(root.right - root.left, 170);
    EXPECT_EQ(root.bottom - root.top, 6 + 30 + 9 + 30 + 30 + 6);
}

TEST_F(DarkMenu, SubmenuThatWouldLeaveTheScreenOnTheRightIsMovedLeft)
{
    const RECT work = WorkAreaNear({0, 0});
    RECT root{};
    RECT submenu{};
    ScriptThread script(MenuClass, [&](HWND window) {
        root = WindowRect(window);
        PostKey(window, VK_DOWN);
        PostKey(window, VK_DOWN);
        PostKey(window, VK_RIGHT);
        const HWND sub = WaitForNewWindow(MenuClass, {window}, 2000);
        ASSERT_NE(sub, nullptr);
        submenu = WindowRect(sub);
        PostKey(window, VK_ESCAPE);
        PostKey(window, VK_ESCAPE);
    });
    // The root ends exactly at the right edge, so its submenu cannot open
    // beside it.
    EXPECT_EQ(ShowDarkMenu(nullptr, NestedItems(), work.right - 170, 200, 96), 0);
    EXPECT_FALSE(script.Finish());
    EXPECT_EQ(root.right, work.right);
    EXPECT_EQ(submenu.right, work.right);
    EXPECT_LT(submenu.left, root.right - 3);
    EXPECT_EQ(submenu.top, root.top + 36);
}

TEST_F(DarkMenu, WindowSizesFollowTheDpi)
{
    struct DpiCase {
        int dpi;
        int width;
        int height;
    };
    // [A, separator, disabled B, C]: margins, three entries and a separator.
    for (const DpiCase& c : {DpiCase{96, 170, 6 + 30 + 9 + 30 + 30 + 6}, DpiCase{144, 255, 9 + 45 + 14 + 45 + 45 + 9},
                             DpiCase{0, 170, 111}}) {
        const RECT root = RootWindowOf(WalkItems(), {100, 100}, c.dpi);
        EXPECT_EQ(root.right - root.left, c.width) << "dpi " << c.dpi;
        EXPECT_EQ(root.bottom - root.top, c.height) << "dpi " << c.dpi;
    }
}

TEST_F(DarkMenu, LongLabelWidensTheMenu)
{
    const std::wstring label = L"Une entrée de menu vraiment très longue, avec & dedans";
    std::vector<DarkMenuItem> items = WalkItems();
    items.push_back(Entry(label.c_str(), 4));
    const RECT root = RootWindowOf(items, {100, 100}, 96);
    EXPECT_EQ(root.right - root.left, 34 + 28 + MeasureMenuLabel(label, 96));
    EXPECT_GT(root.right - root.left, 170);
}

TEST_F(DarkMenu, QuitWhileOpenEndsTheMenuAndReachesTheOuterLoop)
{
    const DWORD mainThread = GetCurrentThreadId();
    ScriptThread script(MenuClass, [mainThread](HWND) {
        PostThreadMessageW(mainThread, WM_QUIT, 42, 0);
    });
    EXPECT_EQ(ShowDarkMenu(nullptr, WalkItems(), 100, 100, 96), 0);
    EXPECT_FALSE(script.Finish());
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request was swallowed";
    EXPECT_EQ(message.wParam, 42u);
}

// Timers keep running while a menu is open; one of them takes the capture
// away, which must end the menu.
struct CaptureThief {
    static inline HWND window = nullptr;
    static inline int ticks = 0;
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
    {
        ++ticks;
        KillTimer(nullptr, id);
        SetCapture(window);
    }
};

TEST_F(DarkMenu, LosingTheCaptureEndsTheMenu)
{
    CaptureThief::window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20,
                                           nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(CaptureThief::window, nullptr);
    CaptureThief::ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, &CaptureThief::OnTimer);
    ASSERT_NE(timer, 0u);
    ScriptThread script([] {});
    EXPECT_EQ(ShowDarkMenu(nullptr, WalkItems(), 100, 100, 96), 0);
    EXPECT_FALSE(script.Finish());
    EXPECT_EQ(CaptureThief::ticks, 1);
    ReleaseCapture();
    DestroyWindow(CaptureThief::window);
}

}  // namespace
}  // namespace cadrels::testing
