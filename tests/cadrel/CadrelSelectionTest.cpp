#include "cadrel/CadrelSelection.h"

#include <gtest/gtest.h>

#include <vector>

namespace cadrels {
namespace {

std::vector<bool> Bits(std::initializer_list<int> set, size_t size)
{
    std::vector<bool> bits(size, false);
    for (int i : set) {
        bits[static_cast<size_t>(i)] = true;
    }
    return bits;
}

TEST(Selection, RangesReplaceTheSelectionAndStayInBounds)
{
    std::vector<bool> bits = Bits({0, 5}, 6);
    SelectRangeBits(bits, 4, 2);
    EXPECT_EQ(bits, Bits({2, 3, 4}, 6)) << "the rest is dropped, the order of the ends does not matter";
    SelectRangeBits(bits, -3, 1);
    EXPECT_EQ(bits, Bits({0, 1}, 6));
    SelectRangeBits(bits, 4, 40);
    EXPECT_EQ(bits, Bits({4, 5}, 6));
    EXPECT_EQ(SelectedCountOf(bits), 2);
    EXPECT_EQ(FirstSelectedOf(bits), 4);
    EXPECT_EQ(FirstSelectedOf(Bits({}, 3)), -1);
}

// A 400 x 300 grid cadrel at 96 DPI: four 80 x 84 cells a row from (10, 40).
CadrelView GridView(int direction = UnfoldDown)
{
    CadrelView view;
    view.width = 400;
    view.height = 300;
    view.direction = direction;
    return view;
}

TEST(Marquee, TheBandNeverReachesTheBarOrTheFooter)
{
    const BandRect down = MarqueeBand(GridView(), 300, 290, 50, 5);
    EXPECT_EQ(down.left, 50);
    EXPECT_EQ(down.right, 300);
    EXPECT_EQ(down.top, 30) << "below the title bar";
    EXPECT_EQ(down.bottom, 280) << "above the 20 px footer";
    const BandRect up = MarqueeBand(GridView(UnfoldUp), 10, 5, 20, 299);
    EXPECT_EQ(up.top, 20) << "below the footer at the top";
    EXPECT_EQ(up.bottom, 270) << "above the bar at the bottom";
    const BandRect side = MarqueeBand(GridView(UnfoldLeft), 10, -5, 20, 299);
    EXPECT_EQ(side.top, 0);
    EXPECT_EQ(side.bottom, 280);
}

TEST(Marquee, ReplacesOrAddsAndShrinkingDeselects)
{
    const CadrelView view = GridView();
    const std::vector<bool> base = Bits({7}, 8);
    // Over the first two cells of the first row.
    BandRect band = MarqueeBand(view, 20, 50, 120, 60);
    EXPECT_EQ(SelectByBand(view, band, 8, 0, false, base), Bits({0, 1}, 8)) << "without Ctrl it replaces";
    EXPECT_EQ(SelectByBand(view, band, 8, 0, true, base), Bits({0, 1, 7}, 8)) << "with Ctrl it adds";
    // Shrunk back into the first cell: the second is dropped again.
    band = MarqueeBand(view, 20, 50, 60, 60);
    EXPECT_EQ(SelectByBand(view, band, 8, 0, true, base), Bits({0, 7}, 8));
    // A band touching a cell's edge only (x = 90 is where cell 1 starts) does not take it.
    band = MarqueeBand(view, 20, 50, 90, 60);
    EXPECT_EQ(SelectByBand(view, band, 8, 0, false, base), Bits({0}, 8));
    // Scrolled by one row, the same band takes the second row.
    band = MarqueeBand(view, 20, 50, 60, 60);
    EXPECT_EQ(SelectByBand(view, band, 8, 84, false, base), Bits({4}, 8));
}

TEST(Tabs, MovingATabKeepsTheActiveTab)
{
    EXPECT_EQ(ActiveTabAfterMove(1, 1, 3), 3) << "the moved tab was the active one";
    EXPECT_EQ(ActiveTabAfterMove(2, 0, 3), 1) << "a tab before it moved past it";
    EXPECT_EQ(ActiveTabAfterMove(2, 3, 0), 3) << "a tab after it moved before it";
    EXPECT_EQ(ActiveTabAfterMove(2, 3, 4), 2) << "both after it";
    EXPECT_EQ(ActiveTabAfterMove(2, 0, 1), 2) << "both before it";
    EXPECT_EQ(ActiveTabAfterMove(2, 0, 2), 1) << "moved onto its place";
}

TEST(Tabs, OnlyHorizontalBarsTearTabsOffBeyondTheMargin)
{
    const CadrelView down = GridView();
    EXPECT_FALSE(IsTabTornOff(down, 100, 54)) << "30 + 24 is still attached";
    EXPECT_TRUE(IsTabTornOff(down, 100, 55));
    EXPECT_FALSE(IsTabTornOff(down, 100, -24));
    EXPECT_TRUE(IsTabTornOff(down, 100, -25));
    EXPECT_TRUE(IsTabTornOff(down, -25, 10));
    EXPECT_TRUE(IsTabTornOff(down, 425, 10));
    const CadrelView up = GridView(UnfoldUp);  // bar from 270 to 300
    EXPECT_FALSE(IsTabTornOff(up, 100, 246));
    EXPECT_TRUE(IsTabTornOff(up, 100, 245));
    EXPECT_FALSE(IsTabTornOff(GridView(UnfoldLeft), 100, 1000)) << "side bars only reorder";
    CadrelView large = GridView();
    large.dpi = 192;  // 60 px bar, 48 px margin
    EXPECT_FALSE(IsTabTornOff(large, 100, 108));
    EXPECT_TRUE(IsTabTornOff(large, 100, 109));
}

}  // namespace
}  // namespace cadrels
