#include "cadrel/CadrelGeometry.h"
#include "cadrel/CadrelPresets.h"

#include <gtest/gtest.h>

#include <string>

namespace cadrels {
namespace {

constexpr PixelRect Work{0, 0, 1920, 1040};

TEST(RectFromGeometry, FollowsTheWorkAreaAndKeepsTheSmallestSize)
{
    const PixelRect offset{100, 40, 100 + 1920, 40 + 1040};
    EXPECT_EQ(RectFromGeometry({"M", 0.1, 0.25, 0.25, 0.5, false}, offset), (PixelRect{292, 300, 772, 820}));
    // 0.01 of 1920 is 19 pixels and 0.01 of 1040 is 10: both below the smallest window.
    EXPECT_EQ(RectFromGeometry({"M", 0.0, 0.0, 0.01, 0.01, false}, Work), (PixelRect{0, 0, 120, 100}));
    // Products are rounded, not truncated: 0.3333 of 1920 is 639.9.
    EXPECT_EQ(RectFromGeometry({"M", 0.3333, 0.0, 0.3333, 0.5, false}, Work).left, 640);
    EXPECT_EQ(RectFromGeometry({"M", 0.5, 0.5, 0.2, 0.2, false}, std::nullopt), (PixelRect{120, 120, 480, 580}))
        << "without a monitor the window stands where any screen shows it";
}

TEST(RectFromGeometry, RoundTripsThroughTheSavedFractions)
{
    const PixelRect work{-1280, 0, 0, 984};
    for (const PixelRect& rect : {PixelRect{-1200, 30, -800, 530}, PixelRect{-1280, 0, -1000, 300},
                                  PixelRect{-300, 600, -1, 983}}) {
        const std::optional<CadrelGeom> geometry = GeometryFromRect(rect, work, "LEFT", true);
        ASSERT_TRUE(geometry);
        EXPECT_EQ(geometry->monitor, "LEFT");
        EXPECT_TRUE(geometry->rolled);
        EXPECT_EQ(RectFromGeometry(*geometry, work), rect);
    }
    EXPECT_FALSE(GeometryFromRect({0, 0, 10, 10}, {5, 5, 5, 900}, "EMPTY", false)) << "an empty work area";
}

struct FitCase {
    int direction;
    PixelPoint proposed;
    PixelPoint expected;
    const char* label;
};

TEST(FitIntoWorkArea, KeepsTheTitleBarInsideAndFortyEightPixelsVisible)
{
    // A 400 by 300 window on a 1920 by 1040 work area at 100 %: bar 30, visible part 48.
    const CadrelMetrics metrics = MetricsForDpi(96);
    const FitCase cases[] = {
        {0, {500, 2000}, {500, 1010}, "bar on top, dragged below: the bar stays whole"},
        {0, {-1000, -50}, {-352, 0}, "bar on top, dragged left and up: 48 pixels stay"},
        {0, {5000, 100}, {1872, 100}, "bar on top, dragged right"},
        {1, {500, -1000}, {500, -270}, "bar at the bottom, dragged up: the bar stays whole"},
        {1, {500, 2000}, {500, 740}, "bar at the bottom, dragged down: the whole window stays"},
        {2, {-1000, 500}, {-370, 500}, "bar on the right, dragged left"},
        {2, {5000, -1000}, {1520, -252}, "bar on the right, dragged right and up"},
        {3, {-1000, 5000}, {0, 992}, "bar on the left, dragged left and down"},
        {3, {5000, 500}, {1890, 500}, "bar on the left, dragged right"},
    };
    for (const FitCase& c : cases) {
        EXPECT_EQ(FitIntoWorkArea(c.proposed, 400, 300, Work, c.direction, metrics), c.expected) << c.label;
    }
}

TEST(FitIntoWorkArea, AnEmptyRangeTakesItsUpperBound)
{
    // A work area narrower than the bar and the visible part: both ranges are empty.
    const PixelRect tiny{0, 0, 20, 20};
    const CadrelMetrics metrics = MetricsForDpi(96);
    EXPECT_EQ(FitIntoWorkArea({7, 7}, 400, 300, tiny, 0, metrics), (PixelPoint{-28, -10}));
    EXPECT_EQ(FitIntoWorkArea({7, 7}, 400, 300, tiny, 3, metrics), (PixelPoint{-10, -28}));
}

TEST(Snapping, NearestLineAndGridValue)
{
    EXPECT_EQ(NearestLine({100, 200}, 110, 11), 100);
    EXPECT_EQ(NearestLine({100, 200}, 112, 11), std::nullopt) << "12 pixels is beyond 11";
    EXPECT_EQ(NearestLine({120, 100}, 110, 11), 120) << "a tie goes to the first line";
    EXPECT_EQ(NearestLine({100, 108}, 105, 11), 108);

    EXPECT_EQ(GridValue(44, 0, 30, 16), 30);
    EXPECT_EQ(GridValue(45, 0, 30, 16), 60) << "a half goes away from the origin";
    EXPECT_EQ(GridValue(-45, 0, 30, 16), -60);
    EXPECT_EQ(GridValue(104, 100, 30, 5), 100);
    EXPECT_EQ(GridValue(112, 100, 30, 5), std::nullopt) << "beyond the snap distance";
    EXPECT_EQ(GridValue(44, 0, 0, 16), std::nullopt) << "no grid";
}

TEST(Snapping, GridAtOneHundredFiftyPercentWithEdgesOff)
{
    // snap off, grid 20 at 144 DPI: a 30-pixel grid from the work area's left, reach 16.
    const SnapReach reach = SnapReachFor(20, 144);
    EXPECT_EQ(reach.grid, 30);
    EXPECT_EQ(reach.distance, 16);
    const PixelRect work{50, 0, 1970, 1040};
    const SnapLines lines = CollectSnapLines(work, false, {{300, 300, 700, 700}});
    EXPECT_TRUE(lines.vertical.empty()) << "no edge lines, not even the neighbours'";
    // A left edge 14 right of a grid line and a right edge 14 left of one:
    // equal shifts, the left edge's wins.
    EXPECT_EQ(SnapMove({274, 0, 726, 100}, lines, reach).x, 260);
    // The right edge 5 from a line beats the left edge 14 from one.
    EXPECT_EQ(SnapMove({274, 0, 655, 100}, lines, reach).x, 269);
    // The grid counts from the work area, not from the screen.
    EXPECT_EQ(SnapMove({62, 0, 162, 100}, lines, reach).x, 70);
}

TEST(Snapping, EdgeLinesBeatTheGridAndEqualShiftsTakeTheLeftEdge)
{
    const PixelRect work{0, 0, 1000, 800};
    const SnapLines lines = CollectSnapLines(work, true, {{500, 100, 700, 400}});
    const SnapReach reach{100, 11};
    // Left edge 8 from the work area's edge, right edge 8 from a grid line: left.
    EXPECT_EQ(SnapMove({8, 300, 208, 500}, lines, reach), (PixelPoint{0, 300}));
    // Left edge 5 right of 500 and right edge 5 left of 700: left wins.
    EXPECT_EQ(SnapMove({505, 600, 695, 700}, lines, reach).x, 500);
    // Right edge 3 from the neighbour's left edge: the window ends on it.
    EXPECT_EQ(SnapMove({247, 600, 497, 700}, lines, reach).x, 250);
    // The neighbour's bottom is a horizontal line: a top 9 below it snaps up.
    EXPECT_EQ(SnapMove({100, 409, 300, 659}, lines, reach).y, 400);
    // A line in reach is taken even where a grid line is nearer (510 is 4 away, 500 is 6).
    EXPECT_EQ(SnapMove({506, 600, 609, 700}, lines, SnapReach{30, 11}).x, 500);
}

TEST(Resizing, KeepsTheMinimumSizeOnTheDraggedEdge)
{
    const PixelRect press{100, 100, 500, 400};
    EXPECT_EQ(ResizeByEdges(press, 1000, 0, EdgeLeft, 160, 120), (PixelRect{340, 100, 500, 400}))
        << "dragging the left edge far right stops 160 left of the right edge";
    EXPECT_EQ(ResizeByEdges(press, -1000, -1000, EdgeRight | EdgeBottom, 160, 120), (PixelRect{100, 100, 260, 220}));
    EXPECT_EQ(ResizeByEdges(press, -30, 20, EdgeLeft | EdgeTop, 160, 120), (PixelRect{70, 120, 500, 400}));
    EXPECT_EQ(ResizeByEdges(press, 0, 1000, EdgeTop, 240, 180), (PixelRect{100, 220, 500, 400})) << "at 150 %";
}

TEST(Resizing, SnapsOnlyTheDraggedEdges)
{
    const SnapLines lines = CollectSnapLines({0, 0, 1000, 800}, true, {{300, 0, 400, 50}});
    const SnapReach reach{0, 11};
    // Left edge dragged to 295: the neighbour's left edge at 300 would make
    // the window 155 wide, below 160: refused, the edge stays at 295.
    EXPECT_EQ(SnapResize({295, 100, 455, 300}, EdgeLeft, lines, reach, 160, 120).left, 295);
    // Right edge dragged to 395 snaps to 400; the left edge near 0 is not dragged.
    EXPECT_EQ(SnapResize({5, 100, 395, 300}, EdgeRight, lines, reach, 160, 120), (PixelRect{5, 100, 400, 300}));
    // Bottom near the work area's bottom.
    EXPECT_EQ(SnapResize({5, 100, 395, 792}, EdgeBottom, lines, reach, 160, 120).bottom, 800);
}

TEST(ResizeEdgesAt, EdgesAndCornersScaleWithTheDpi)
{
    // 400 by 300 at 100 %: edges 6 pixels, corners 16.
    EXPECT_EQ(ResizeEdgesAt(3, 150, 400, 300, 96), EdgeLeft);
    EXPECT_EQ(ResizeEdgesAt(394, 150, 400, 300, 96), EdgeRight);
    EXPECT_EQ(ResizeEdgesAt(200, 299, 400, 300, 96), EdgeBottom);
    EXPECT_EQ(ResizeEdgesAt(200, 150, 400, 300, 96), 0);
    EXPECT_EQ(ResizeEdgesAt(15, 3, 400, 300, 96), EdgeLeft | EdgeTop) << "the corner square grabs both edges";
    EXPECT_EQ(ResizeEdgesAt(390, 290, 400, 300, 96), EdgeRight | EdgeBottom);
    EXPECT_EQ(ResizeEdgesAt(8, 150, 400, 300, 96), 0) << "8 is beyond 6 at 100 %";
    EXPECT_EQ(ResizeEdgesAt(8, 150, 400, 300, 144), EdgeLeft) << "but within 9 at 150 %";
}

TEST(TitleBar, SitsOnTheSideTheCadrelUnfoldsFrom)
{
    EXPECT_TRUE(IsOnTitleBarAt(200, 29, 400, 300, 0, 30));
    EXPECT_FALSE(IsOnTitleBarAt(200, 30, 400, 300, 0, 30));
    EXPECT_TRUE(IsOnTitleBarAt(200, 270, 400, 300, 1, 30));
    EXPECT_FALSE(IsOnTitleBarAt(200, 269, 400, 300, 1, 30));
    EXPECT_TRUE(IsOnTitleBarAt(0, 10, 400, 20, 1, 30)) << "a window lower than the bar is all bar";
    EXPECT_TRUE(IsOnTitleBarAt(370, 150, 400, 300, 2, 30));
    EXPECT_FALSE(IsOnTitleBarAt(369, 150, 400, 300, 2, 30));
    EXPECT_TRUE(IsOnTitleBarAt(29, 150, 400, 300, 3, 30));
    EXPECT_FALSE(IsOnTitleBarAt(30, 150, 400, 300, 3, 30));
}

TEST(TitleBar, TabsShareTheBarAndLeaveTheGrabAreaFree)
{
    // 400 wide, pad 10, grab 22: each of two tabs is 179 wide.
    EXPECT_EQ(TabAtPoint(10, 10, 2, 400, 300, 0, 96), 0);
    EXPECT_EQ(TabAtPoint(188, 10, 2, 400, 300, 0, 96), 0);
    EXPECT_EQ(TabAtPoint(189, 10, 2, 400, 300, 0, 96), 1);
    EXPECT_EQ(TabAtPoint(368, 10, 2, 400, 300, 0, 96), -1) << "the grab area";
    EXPECT_EQ(TabAtPoint(5, 10, 2, 400, 300, 0, 96), -1) << "the margin";
    EXPECT_EQ(TabAtPoint(100, 100, 2, 400, 300, 0, 96), -1) << "off the bar";
    EXPECT_EQ(TabAtPoint(100, 10, 1, 400, 300, 0, 96), -1) << "one tab has no strip";
    EXPECT_EQ(TabAtPoint(385, 200, 2, 400, 300, 2, 96), 1) << "side bar: along its height";
}

TEST(TitleBar, InsertSlotsStepByTabWidthAndStayOnTheStrip)
{
    // Two tabs of 179 px from x = 10 at 96 DPI.
    EXPECT_EQ(TabInsertIndexAt(188, 10, 2, 400, 300, 0, 96), 0);
    EXPECT_EQ(TabInsertIndexAt(189, 10, 2, 400, 300, 0, 96), 1);
    EXPECT_EQ(TabInsertIndexAt(5, 10, 2, 400, 300, 0, 96), 0) << "before the strip";
    EXPECT_EQ(TabInsertIndexAt(395, 10, 2, 400, 300, 0, 96), 1) << "over the grab area";
    EXPECT_EQ(TabInsertIndexAt(-50, 400, 2, 400, 300, 1, 96), 0) << "far off the window";
    EXPECT_EQ(TabInsertIndexAt(100, 10, 1, 400, 300, 0, 96), 0) << "one tab";
    // Side bars count along the height: three tabs of 86 px from y = 10.
    EXPECT_EQ(TabInsertIndexAt(385, 181, 3, 400, 300, 2, 96), 1);
    EXPECT_EQ(TabInsertIndexAt(5, 182, 3, 400, 300, 3, 96), 2);
    // At 144 DPI: margins of 15 and a grab area of 33 make tabs 268.5 px wide.
    EXPECT_EQ(TabInsertIndexAt(283, 10, 2, 600, 300, 0, 144), 0);
    EXPECT_EQ(TabInsertIndexAt(284, 10, 2, 600, 300, 0, 144), 1);
    // A window narrower than its margins has no width to step by.
    EXPECT_EQ(TabInsertIndexAt(20, 10, 3, 40, 300, 0, 96), 0);
}

struct RollCase {
    int direction;
    PixelRect full;
    PixelRect rolled;
};

TEST(Rolling, RollsTowardTheBarAndUnfoldsToTheRememberedSize)
{
    const RollCase cases[] = {
        {0, {100, 100, 500, 600}, {100, 100, 500, 130}},
        {1, {100, 100, 500, 600}, {100, 570, 500, 600}},
        {2, {100, 100, 500, 600}, {470, 100, 500, 600}},
        {3, {100, 100, 500, 600}, {100, 100, 130, 600}},
    };
    for (const RollCase& c : cases) {
        const PixelRect rolled = RolledRect(c.full, c.direction, 30);
        EXPECT_EQ(rolled, c.rolled) << "direction " << c.direction;
        EXPECT_EQ(UnrolledRect(rolled, c.direction, c.full.Width(), c.full.Height()), c.full)
            << "direction " << c.direction;
        EXPECT_EQ(FullRectOf(rolled, true, c.direction, c.full.Width(), c.full.Height()), c.full)
            << "direction " << c.direction;
        EXPECT_EQ(FullRectOf(c.full, false, c.direction, 1, 1), c.full) << "unrolled is its own full rectangle";
    }
    // Never unrolled with a known size: it unfolds to the size it has.
    EXPECT_EQ(UnrolledRect({10, 10, 410, 40}, 0, 0, 0), (PixelRect{10, 10, 410, 40}));
    EXPECT_EQ(FullRectOf({10, 10, 410, 40}, true, 0, 0, 0), (PixelRect{10, 10, 410, 40}));
}

TEST(Rolling, ChangingTheBarSideOfARolledCadrel)
{
    // Rolled with its bar on top, 400 wide, remembered 500 high.
    const PixelRect bar{100, 100, 500, 130};
    const UnfoldChange toRight = ChangeUnfoldDirection(bar, true, 0, 2, 0, 500, 30);
    EXPECT_EQ(toRight.rect, (PixelRect{470, 100, 500, 600})) << "a 30-pixel strip at the right edge";
    EXPECT_EQ(toRight.fullWidth, 400);
    EXPECT_EQ(toRight.fullHeight, 500);

    const UnfoldChange toBottom = ChangeUnfoldDirection(bar, true, 0, 1, 0, 500, 30);
    EXPECT_EQ(toBottom.rect, (PixelRect{100, 570, 500, 600})) << "the bar moves to the bottom of the full window";

    // Rolled with its bar at the bottom: the bottom edge is where the window hangs from.
    const UnfoldChange upToLeft = ChangeUnfoldDirection({100, 570, 500, 600}, true, 1, 3, 0, 500, 30);
    EXPECT_EQ(upToLeft.rect, (PixelRect{100, 100, 130, 600}));

    // Unrolled: the window stays, the sizes are remembered.
    const UnfoldChange open = ChangeUnfoldDirection({0, 0, 300, 200}, false, 0, 3, 0, 0, 30);
    EXPECT_EQ(open.rect, (PixelRect{0, 0, 300, 200}));
    EXPECT_EQ(open.fullWidth, 300);
    EXPECT_EQ(open.fullHeight, 200);
}

TEST(RollAnimation, EasesOutOverOneHundredFiftyMilliseconds)
{
    EXPECT_EQ(AnimatedHeight(30, 430, 0), 30);
    EXPECT_EQ(AnimatedHeight(30, 430, 75), 330) << "three quarters of the way at half the time";
    EXPECT_EQ(AnimatedHeight(30, 430, 150), 430);
    EXPECT_EQ(AnimatedHeight(430, 30, 1000), 30) << "late steps end at the target";
    EXPECT_EQ(AnimationClip(0, 400, 430, 100), (PixelRect{0, 0, 400, 100}));
    EXPECT_EQ(AnimationClip(1, 400, 430, 100), (PixelRect{0, 330, 400, 430})) << "bar at the bottom: the bottom part";
}

TEST(ShapePresets, RegionsStayOnTheWorkAreaAndTheFrameOpensInward)
{
    const int regionCounts[ShapeCount] = {4, 4, 5, 3, 3, 3};
    for (int shape = 0; shape < ShapeCount; ++shape) {
        ASSERT_EQ(static_cast<int>(ShapeRegions(shape).size()), regionCounts[shape]) << "shape " << shape;
        for (const ShapeRegion& region : ShapeRegions(shape)) {
            EXPECT_GE(region.x, 0.0);
            EXPECT_LE(region.x + region.w, 1.0) << "shape " << shape << " label " << static_cast<int>(region.label);
            EXPECT_LE(region.y + region.h, 1.0) << "shape " << shape << " label " << static_cast<int>(region.label);
            EXPECT_GE(static_cast<int>(region.label), 457);
            EXPECT_LE(static_cast<int>(region.label), 472);
        }
    }
    EXPECT_TRUE(ShapeRegions(-1).empty());
    EXPECT_TRUE(ShapeRegions(ShapeCount).empty());
    EXPECT_EQ(static_cast<int>(ShapeLabel(0)), 451);
    EXPECT_EQ(static_cast<int>(ShapeLabel(5)), 456);

    const auto frame = ShapeRegions(0);
    EXPECT_EQ(static_cast<int>(frame[1].label), 458);
    EXPECT_EQ(frame[1].unfold, 1) << "the bottom side of the frame unfolds upward";
    for (const ShapeRegion& region : ShapeRegions(0)) {
        if (static_cast<int>(region.label) != 458) {
            EXPECT_EQ(region.unfold, 0);
        }
    }
}

}  // namespace
}  // namespace cadrels
