#include "cadrel/RollAnimation.h"

#include "cadrel/CadrelGeometry.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(RollAnimation, RollingUpHoldsTheFullWindowAndShrinksTheClipToTheBar)
{
    RollAnimation roll;
    EXPECT_FALSE(roll.Running());
    const PixelRect full = RectFromSize(100, 200, 300, 400);
    const PixelRect bar = RectFromSize(100, 200, 300, 30);

    const PixelRect held = roll.Start(full, bar, UnfoldDown, 1000);
    EXPECT_TRUE(roll.Running());
    EXPECT_EQ(held, full);
    EXPECT_EQ(roll.Target(), bar);

    EXPECT_EQ(roll.ClipAt(1000), (PixelRect{0, 0, 300, 400}));
    const std::optional<PixelRect> midway = roll.ClipAt(1000 + RollAnimationMs / 2);
    ASSERT_TRUE(midway.has_value());
    EXPECT_LT(midway->Height(), 400);
    EXPECT_GT(midway->Height(), 30);
    EXPECT_FALSE(roll.ClipAt(1000 + RollAnimationMs).has_value()) << "the run is over";
}

TEST(RollAnimation, UnfoldingUpKeepsTheBarAtTheBottomWhereItIs)
{
    RollAnimation roll;
    const PixelRect bar = RectFromSize(100, 570, 300, 30);
    const PixelRect full = RectFromSize(100, 200, 300, 400);

    const PixelRect held = roll.Start(bar, full, UnfoldUp, 50);
    EXPECT_EQ(held, full);
    // The clip grows from the bottom edge.
    EXPECT_EQ(roll.ClipAt(50), (PixelRect{0, 370, 300, 400}));
    const std::optional<PixelRect> later = roll.ClipAt(50 + RollAnimationMs - 1);
    ASSERT_TRUE(later.has_value());
    EXPECT_EQ(later->bottom, 400);
    EXPECT_LT(later->top, 370);
}

TEST(RollAnimation, AStoppedRunOrAClockGoingBackGivesNoStrayFrame)
{
    RollAnimation roll;
    roll.Start(RectFromSize(0, 0, 200, 300), RectFromSize(0, 0, 200, 30), UnfoldDown, 5000);
    // A clock read before the start counts as the start, not as a huge
    // unsigned elapsed time that would end the run at once.
    EXPECT_EQ(roll.ClipAt(4990), (PixelRect{0, 0, 200, 300}));
    roll.Stop();
    EXPECT_FALSE(roll.Running());
    EXPECT_FALSE(roll.ClipAt(5001).has_value());
    EXPECT_EQ(roll.Target(), RectFromSize(0, 0, 200, 30)) << "the end rectangle survives the stop";
}

}  // namespace
}  // namespace cadrels
