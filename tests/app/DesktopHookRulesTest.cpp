#include "app/DesktopHookRules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace cadrels {
namespace {

struct Press {
    std::uint32_t time;
    int x, y;
    bool completes;
};

// Each case is a run of presses fed to one fresh state.
TEST(DoubleClickRule, PairsTwoPressesCloseInTimeAndPlaceOnce)
{
    const DoubleClickLimits limits{500, 4, 4};
    struct Case {
        const char* name;
        std::vector<Press> presses;
    };
    const Case cases[] = {
        {"two quick presses", {{1000, 10, 10, false}, {1300, 10, 10, true}}},
        {"at the time limit", {{1000, 10, 10, false}, {1500, 10, 10, true}}},
        {"one millisecond late", {{1000, 10, 10, false}, {1501, 10, 10, false}}},
        {"at the edge of the rectangle", {{1000, 10, 10, false}, {1100, 14, 6, true}}},
        {"outside the rectangle", {{1000, 10, 10, false}, {1100, 15, 10, false}}},
        {"outside it vertically", {{1000, 10, 10, false}, {1100, 10, 30, false}}},
        // The third press starts over instead of pairing with the second,
        // so three quick clicks toggle once; a fourth completes a new pair.
        {"three and four quick presses",
         {{1000, 10, 10, false}, {1100, 10, 10, true}, {1200, 10, 10, false}, {1300, 10, 10, true}}},
        // Message times wrap after 49.7 days: the gap is unsigned.
        {"across the tick wrap", {{0xFFFFFF00u, 10, 10, false}, {0x00000050u, 10, 10, true}}},
        {"a time that went backwards", {{2000, 10, 10, false}, {1900, 10, 10, false}}},
        // The first press right after start-up pairs with nothing.
        {"a first press near time zero", {{300, 0, 0, false}}},
        {"a pair starting at time zero", {{0, 5, 5, false}, {200, 5, 5, true}}},
        // A far press in between breaks the pair.
        {"a press elsewhere between", {{1000, 10, 10, false}, {1100, 200, 200, false}, {1200, 10, 10, false}}},
    };
    for (const Case& c : cases) {
        DoubleClickState state;
        for (size_t i = 0; i < c.presses.size(); ++i) {
            const Press& press = c.presses[i];
            EXPECT_EQ(TakePress(state, press.time, press.x, press.y, limits), press.completes)
                << c.name << ", press " << i;
        }
    }
}

TEST(DoubleClickRule, TheBareDesktopIsTheShellsViewOrTheDesktopWindowItself)
{
    struct Case {
        const wchar_t* className;
        bool desktopWindow, shellWindow;
        DesktopHit expected;
    };
    const Case cases[] = {
        {L"Progman", false, true, DesktopHit::ShellView},
        {L"WorkerW", false, false, DesktopHit::ShellView},
        // Wine's desktop and shells without Progman.
        {L"#32769", true, false, DesktopHit::BareDesktop},
        {L"OtherShellDesktop", false, true, DesktopHit::BareDesktop},
        {L"Shell_TrayWnd", false, false, DesktopHit::None},
        {L"Cadrels.Cadrel", false, false, DesktopHit::None},
        {L"Notepad", false, false, DesktopHit::None},
        {L"progman", false, false, DesktopHit::None},
        {L"", false, false, DesktopHit::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyDoubleClickRoot(c.className, c.desktopWindow, c.shellWindow), c.expected)
            << static_cast<int>(c.expected);
    }
}

TEST(SpaceRule, TakesSpaceOnlyOverACadrelWithASelectionWhenNothingTypesIt)
{
    struct Case {
        SpaceFacts facts;
        bool opens;
    };
    const Case cases[] = {
        {{.overCadrel = true, .cadrelHasSelection = true}, true},
        {{.overCadrel = true, .cadrelHasSelection = false}, false},
        {{.overCadrel = false, .cadrelHasSelection = true}, false},
        {{.quickLookOpen = true, .overCadrel = true, .cadrelHasSelection = true}, false},
        // The rename box or a query field of ours has the keyboard.
        {{.overCadrel = true, .cadrelHasSelection = true, .typingInOurWindow = true}, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(SpaceOpensQuickLook(cases[i].facts), cases[i].opens) << "case " << i;
    }
}

}  // namespace
}  // namespace cadrels
