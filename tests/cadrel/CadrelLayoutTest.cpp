#include "cadrel/CadrelLayout.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

CadrelView View(int direction, int viewMode = ViewIconGrid, int width = 400, int height = 300, float zoom = 1.0f,
                unsigned dpi = 96)
{
    CadrelView view;
    view.width = width;
    view.height = height;
    view.direction = direction;
    view.viewMode = viewMode;
    view.zoom = zoom;
    view.dpi = dpi;
    return view;
}

TEST(ContentMetrics, CellsFollowTheViewZoomAndDpi)
{
    struct Case {
        const char* label;
        CadrelView view;
        float cellWidth;
        float cellHeight;
        float icon;
        int columns;
    };
    const Case cases[] = {
        {"grid", View(UnfoldDown, ViewIconGrid, 350), 80, 84, 44, 4},
        {"grid, bar on the right takes width", View(UnfoldLeft, ViewIconGrid, 350), 80, 84, 44, 3},
        {"grid, bar on the left takes width", View(UnfoldRight, ViewIconGrid, 350), 80, 84, 44, 3},
        {"grid, too narrow for one", View(UnfoldDown, ViewIconGrid, 50), 80, 84, 44, 1},
        {"list", View(UnfoldDown, ViewCompactList), 0, 26, 20, 1},
        {"list zoomed at 120 dpi", View(UnfoldUp, ViewCompactList, 400, 300, 2.0f, 120), 0, 65, 50, 1},
        // Margins and bar scale too: 620 - 2 * 15 - 45 holds two cells of 270, 600 would hold one.
        {"tiles at 144 dpi zoom 1.5", View(UnfoldLeft, ViewLargeTiles, 620, 600, 1.5f, 144), 270, 288, 162, 2},
        {"tiles at 144 dpi, one less", View(UnfoldLeft, ViewLargeTiles, 600, 600, 1.5f, 144), 270, 288, 162, 1},
        {"tiles zoomed out", View(UnfoldDown, ViewLargeTiles, 400, 300, 0.5f), 60, 64, 36, 6},
    };
    for (const Case& c : cases) {
        const ContentMetrics m = ComputeContentMetrics(c.view);
        EXPECT_FLOAT_EQ(m.cellWidth, c.cellWidth) << c.label;
        EXPECT_FLOAT_EQ(m.cellHeight, c.cellHeight) << c.label;
        EXPECT_FLOAT_EQ(m.icon, c.icon) << c.label;
        EXPECT_EQ(m.columns, c.columns) << c.label;
        EXPECT_FLOAT_EQ(m.pad, 10 * m.scale) << c.label;
    }
}

TEST(FooterHeight, GivesWayToShortWindowsAndRollUp)
{
    struct Case {
        int direction;
        int height;
        unsigned dpi;
        bool rolled;
        float footer;
    };
    const Case cases[] = {
        {UnfoldDown, 60, 96, false, 0},  {UnfoldDown, 69, 96, false, 0},  {UnfoldDown, 70, 96, false, 20},
        {UnfoldUp, 69, 96, false, 0},    {UnfoldLeft, 59, 96, false, 0},  {UnfoldRight, 60, 96, false, 20},
        {UnfoldDown, 139, 192, false, 0}, {UnfoldDown, 140, 192, false, 40}, {UnfoldDown, 300, 96, true, 0},
    };
    for (const Case& c : cases) {
        CadrelView view = View(c.direction, ViewIconGrid, 400, c.height, 1.0f, c.dpi);
        view.rolled = c.rolled;
        EXPECT_FLOAT_EQ(FooterHeight(view), c.footer) << "direction " << c.direction << " height " << c.height;
    }
}

TEST(ContentArea, LeavesOutTheBarAndTheFooterInEachDirection)
{
    EXPECT_EQ(ContentArea(View(UnfoldDown)), (LayoutRect{0, 30, 400, 280}));
    EXPECT_EQ(ContentArea(View(UnfoldUp)), (LayoutRect{0, 20, 400, 270}));
    EXPECT_EQ(ContentArea(View(UnfoldLeft)), (LayoutRect{0, 0, 370, 280}));
    EXPECT_EQ(ContentArea(View(UnfoldRight)), (LayoutRect{30, 0, 400, 280}));

    EXPECT_TRUE(IsOnFooterAt(View(UnfoldUp), 19));
    EXPECT_FALSE(IsOnFooterAt(View(UnfoldUp), 20));
    EXPECT_FALSE(IsOnFooterAt(View(UnfoldUp), -1));
    EXPECT_TRUE(IsOnFooterAt(View(UnfoldDown), 280));
    EXPECT_FALSE(IsOnFooterAt(View(UnfoldDown), 279));
    EXPECT_FALSE(IsOnFooterAt(View(UnfoldDown, ViewIconGrid, 400, 60), 59)) << "no footer at 60 pixels";
}

TEST(HostedWindowArea, LiesOnTheContentSideOfTheBarWithAMarginAtTheDpi)
{
    struct Case {
        int direction;
        unsigned dpi;
        LayoutRect expected;
    };
    const Case cases[] = {
        {UnfoldDown, 96, {14, 30, 386, 286}},
        {UnfoldUp, 96, {14, 14, 386, 270}},
        {UnfoldLeft, 96, {14, 14, 370, 286}},
        {UnfoldRight, 96, {30, 14, 386, 286}},
        {UnfoldDown, 144, {21, 45, 379, 279}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HostedWindowArea(View(c.direction, ViewIconGrid, 400, 300, 1.0f, c.dpi)), c.expected)
            << "direction " << c.direction << " at " << c.dpi;
    }
}

TEST(ItemCellRect, PlacesCellsForEachDirectionAndView)
{
    struct Case {
        const char* label;
        CadrelView view;
        int index;
        int count;
        float scroll;
        LayoutRect cell;
    };
    const Case cases[] = {
        {"grid below the bar", View(UnfoldDown), 0, 5, 0, {10, 40, 90, 124}},
        {"grid second row", View(UnfoldDown), 4, 5, 0, {10, 124, 90, 208}},
        {"grid scrolled", View(UnfoldDown), 4, 5, 50, {10, 74, 90, 158}},
        {"grid right of a left bar", View(UnfoldRight), 0, 5, 0, {40, 10, 120, 94}},
        {"grid beside a right bar", View(UnfoldLeft), 3, 5, 0, {250, 10, 330, 94}},
        // Three items against the bar at the bottom: the row ends one margin above the bar.
        {"bottom aligned", View(UnfoldUp), 2, 3, 0, {170, 176, 250, 260}},
        {"bottom, overflowing rows start at the top", View(UnfoldUp, ViewCompactList), 0, 40, 0, {10, 30, 390, 56}},
        {"list beside a right bar", View(UnfoldLeft, ViewCompactList), 1, 3, 0, {10, 36, 360, 62}},
        {"list right of a left bar", View(UnfoldRight, ViewCompactList), 0, 3, 0, {40, 10, 390, 36}},
        {"tiles at 192 dpi", View(UnfoldDown, ViewLargeTiles, 800, 800, 1.0f, 192), 1, 2, 0, {260, 80, 500, 336}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ItemCellRect(c.view, c.index, c.count, c.scroll), c.cell) << c.label;
    }
}

TEST(ItemAtPoint, FindsTheFirstCellWithInclusiveEdgesAndNeverOnBarOrFooter)
{
    struct Case {
        const char* label;
        CadrelView view;
        int x;
        int y;
        int count;
        float scroll;
        int expected;
    };
    const Case cases[] = {
        {"on the bar", View(UnfoldDown), 50, 5, 5, 0, -1},
        {"cell corner", View(UnfoldDown), 10, 40, 5, 0, 0},
        {"shared edge goes to the first", View(UnfoldDown), 90, 40, 5, 0, 0},
        {"just past it", View(UnfoldDown), 91, 40, 5, 0, 1},
        {"row boundary goes to the upper row", View(UnfoldDown), 10, 124, 5, 0, 0},
        {"second row", View(UnfoldDown), 50, 130, 5, 0, 4},
        {"empty cell of the last row", View(UnfoldDown), 250, 130, 5, 0, -1},
        {"left margin", View(UnfoldDown), 5, 60, 5, 0, -1},
        {"negative", View(UnfoldDown), -1, 60, 5, 0, -1},
        {"no items", View(UnfoldDown), 50, 60, 0, 0, -1},
        {"over the footer", View(UnfoldDown), 50, 285, 40, 0, -1},
        {"scrolled under the bar edge", View(UnfoldDown), 50, 31, 20, 50, 0},
        {"scrolled further", View(UnfoldDown), 50, 80, 20, 50, 4},
        {"bar at the bottom", View(UnfoldUp), 200, 280, 3, 0, -1},
        {"footer at the top", View(UnfoldUp), 200, 10, 40, 0, -1},
        {"bottom aligned cell", View(UnfoldUp), 200, 200, 3, 0, 2},
        {"above bottom aligned cells", View(UnfoldUp), 200, 100, 3, 0, -1},
        {"left bar", View(UnfoldRight), 20, 50, 5, 0, -1},
        {"right of the left bar", View(UnfoldRight), 45, 50, 5, 0, 0},
        {"right bar", View(UnfoldLeft), 380, 50, 5, 0, -1},
        {"list row", View(UnfoldDown, ViewCompactList), 200, 70, 10, 0, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ItemAtPoint(c.view, c.x, c.y, c.count, c.scroll), c.expected) << c.label;
    }
}

TEST(Scrolling, StopsAtTheLastRowAndStepsOneCellANotch)
{
    const CadrelView list = View(UnfoldDown, ViewCompactList);
    // 20 rows of 26, two margins and the bar, against 300 - 20 of window.
    EXPECT_FLOAT_EQ(MaxScrollOffset(list, 20), 290);
    EXPECT_FLOAT_EQ(MaxScrollOffset(View(UnfoldLeft, ViewCompactList), 20), 260) << "no bar above the content";
    EXPECT_FLOAT_EQ(MaxScrollOffset(list, 0), 0);
    EXPECT_FLOAT_EQ(MaxScrollOffset(View(UnfoldDown), 5), 0) << "everything fits";

    EXPECT_FLOAT_EQ(WheelScrollOffset(0, -120, list, 20), 26);
    EXPECT_FLOAT_EQ(WheelScrollOffset(26, 120, list, 20), 0);
    EXPECT_FLOAT_EQ(WheelScrollOffset(0, 120, list, 20), 0) << "never above the top";
    EXPECT_FLOAT_EQ(WheelScrollOffset(0, -1200, list, 20), 260);
    EXPECT_FLOAT_EQ(WheelScrollOffset(260, -240, list, 20), 290) << "never past the last row";
    EXPECT_FLOAT_EQ(WheelScrollOffset(0, -60, list, 20), 13) << "half a notch, half a row";
    EXPECT_FLOAT_EQ(WheelScrollOffset(0, -120, View(UnfoldDown), 5), 0) << "nothing to scroll";
    CadrelView rolled = list;
    rolled.rolled = true;
    EXPECT_FLOAT_EQ(WheelScrollOffset(0, -120, rolled, 20), 0);

    EXPECT_FLOAT_EQ(ClampScrollOffset(-5, list, 20), 0);
    EXPECT_FLOAT_EQ(ClampScrollOffset(1000, list, 20), 290);
    EXPECT_FLOAT_EQ(ClampScrollOffset(100, list, 0), 0) << "an emptied folder scrolls back to the top";
}

}  // namespace
}  // namespace cadrels
