#include "cadrel/CadrelSnapping.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

const PixelRect Work{0, 0, 1920, 1040};

CadrelSnapping OnOneMonitor()
{
    return CadrelSnapping([](const PixelRect&) { return std::optional<PixelRect>(Work); });
}

const CadrelMetrics Metrics96 = MetricsForDpi(96);

TEST(CadrelSnapping, AMoveNearAnEdgeSnapsUnlessAltFreesIt)
{
    CadrelSnapping snapping = OnOneMonitor();
    const PixelRect nearLeft = RectFromSize(7, 300, 400, 300);

    const PixelPoint snapped = snapping.Move(nearLeft, false, UnfoldDown, Metrics96, 96);
    EXPECT_EQ(snapped.x, 0);
    EXPECT_EQ(snapped.y, 300);

    const PixelPoint free = snapping.Move(nearLeft, true, UnfoldDown, Metrics96, 96);
    EXPECT_EQ(free.x, 7);
    EXPECT_EQ(free.y, 300);

    // Too far from any line: the proposal stands.
    const PixelPoint away = snapping.Move(RectFromSize(40, 300, 400, 300), false, UnfoldDown, Metrics96, 96);
    EXPECT_EQ(away.x, 40);
}

TEST(CadrelSnapping, NeighboursAttractOnlyWhileEdgeSnappingIsOn)
{
    CadrelSnapping snapping = OnOneMonitor();
    ASSERT_TRUE(snapping.UsesNeighbours());
    snapping.SetNeighbours({RectFromSize(500, 100, 300, 300)});
    // Its left edge lands 5 pixels from the neighbour's right edge at 800.
    const PixelRect beside = RectFromSize(805, 150, 300, 300);
    EXPECT_EQ(snapping.Move(beside, false, UnfoldDown, Metrics96, 96).x, 800);

    snapping.Configure(false, 0);
    EXPECT_FALSE(snapping.UsesNeighbours());
    EXPECT_EQ(snapping.Move(beside, false, UnfoldDown, Metrics96, 96).x, 805);
    // Nor does the work area's edge pull any more.
    EXPECT_EQ(snapping.Move(RectFromSize(7, 300, 400, 300), false, UnfoldDown, Metrics96, 96).x, 7);
}

TEST(CadrelSnapping, TheGridSnapsWithoutEdgesAndANegativeStepMeansNone)
{
    CadrelSnapping snapping = OnOneMonitor();
    snapping.Configure(false, 50);
    const PixelPoint onGrid = snapping.Move(RectFromSize(103, 196, 400, 300), false, UnfoldDown, Metrics96, 96);
    EXPECT_EQ(onGrid.x, 100);
    EXPECT_EQ(onGrid.y, 200);

    snapping.Configure(false, -4);
    const PixelPoint none = snapping.Move(RectFromSize(103, 196, 400, 300), false, UnfoldDown, Metrics96, 96);
    EXPECT_EQ(none.x, 103);
    EXPECT_EQ(none.y, 196);
}

TEST(CadrelSnapping, EvenAFreeMoveKeepsTheTitleBarOnTheMonitor)
{
    CadrelSnapping snapping = OnOneMonitor();
    const PixelPoint below = snapping.Move(RectFromSize(300, 2000, 400, 300), true, UnfoldDown, Metrics96, 96);
    EXPECT_EQ(below.y, Work.bottom - Metrics96.titleBar);
    // A cadrel unfolding upwards has its bar at the bottom: that is what stays.
    const PixelPoint above = snapping.Move(RectFromSize(300, -2000, 400, 300), true, UnfoldUp, Metrics96, 96);
    EXPECT_EQ(above.y, Work.top + Metrics96.titleBar - 300);
}

TEST(CadrelSnapping, AResizeSnapsTheDraggedEdgeOnly)
{
    CadrelSnapping snapping = OnOneMonitor();
    const PixelRect wide{1200, 300, 1914, 600};
    const PixelRect right = snapping.Resize(wide, EdgeRight, false, Metrics96, 96);
    EXPECT_EQ(right.right, Work.right);
    EXPECT_EQ(right.left, 1200);
    EXPECT_EQ(snapping.Resize(wide, EdgeLeft, false, Metrics96, 96), wide);
    EXPECT_EQ(snapping.Resize(wide, EdgeRight, true, Metrics96, 96), wide);
}

TEST(CadrelSnapping, WithoutAMonitorEverythingPassesUnchanged)
{
    CadrelSnapping snapping([](const PixelRect&) { return std::optional<PixelRect>(); });
    const PixelRect rect = RectFromSize(7, -5000, 400, 300);
    const PixelPoint moved = snapping.Move(rect, false, UnfoldDown, Metrics96, 96);
    EXPECT_EQ(moved.x, 7);
    EXPECT_EQ(moved.y, -5000);
    EXPECT_EQ(snapping.Resize(rect, EdgeLeft, false, Metrics96, 96), rect);
}

}  // namespace
}  // namespace cadrels
