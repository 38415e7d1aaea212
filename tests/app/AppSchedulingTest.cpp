#include "app/AppScheduling.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace cadrels {
namespace {

TEST(AppScheduling, TheSortPassWaitsForBusyAndForTheUndoPause)
{
    const std::uint32_t undoAt = 100000;
    const std::uint32_t until = undoAt + 1500;
    EXPECT_TRUE(SortMustWait(false, undoAt + 10, until)) << "a folder change right after an undo";
    EXPECT_TRUE(SortMustWait(false, undoAt + 1499, until));
    EXPECT_FALSE(SortMustWait(false, undoAt + 1500, until)) << "1.5 s after the undo";
    EXPECT_FALSE(SortMustWait(false, undoAt + 60000, until));
    EXPECT_TRUE(SortMustWait(true, undoAt + 60000, until)) << "a close prompt is open";
    EXPECT_FALSE(SortMustWait(false, 5, 0)) << "never suppressed";
}

TEST(AppScheduling, TheUndoPauseSurvivesTheTickWrap)
{
    const std::uint32_t undoAt = 0xFFFFFF00u;
    const std::uint32_t until = undoAt + 1500;  // wraps to a small number
    EXPECT_TRUE(SortMustWait(false, undoAt + 100, until));
    EXPECT_TRUE(SortMustWait(false, 0x00000100u, until)) << "past the wrap, still inside the pause";
    EXPECT_FALSE(SortMustWait(false, until + 1, until));
}

TEST(AppScheduling, PagesWrapBothWays)
{
    struct Case {
        int active, count, step, expected;
    };
    const Case cases[] = {
        {2, 3, +1, 0}, {0, 3, -1, 2}, {1, 3, +1, 2}, {1, 3, -1, 0},
        {0, 1, +1, 0}, {0, 1, -1, 0}, {0, 0, +1, -1}, {4, 5, +7, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WrappedPageIndex(c.active, c.count, c.step), c.expected)
            << c.active << " of " << c.count << " step " << c.step;
    }
}

}  // namespace
}  // namespace cadrels
