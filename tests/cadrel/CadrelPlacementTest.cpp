#include "cadrel/CadrelPlacement.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

MonitorInfo Monitor(std::string id, LONG width, LONG height, unsigned dpi, bool primary)
{
    MonitorInfo monitor;
    monitor.id = std::move(id);
    monitor.workArea = {100, 50, 100 + width, 50 + height};
    monitor.dpi = dpi;
    monitor.primary = primary;
    return monitor;
}

void ExpectGeometry(const CadrelGeom& actual, const CadrelGeom& expected, const char* label)
{
    EXPECT_EQ(actual.monitor, expected.monitor) << label;
    EXPECT_DOUBLE_EQ(actual.x, expected.x) << label;
    EXPECT_DOUBLE_EQ(actual.y, expected.y) << label;
    EXPECT_DOUBLE_EQ(actual.w, expected.w) << label;
    EXPECT_DOUBLE_EQ(actual.h, expected.h) << label;
    EXPECT_FALSE(actual.rolled) << label;
}

TEST(CascadePlacement, StepsDownAndRightSixTimesThenStartsANewColumn)
{
    const std::vector<MonitorInfo> monitors = {Monitor("SIDE", 800, 600, 96, false),
                                               Monitor("MAIN", 1920, 1040, 96, true)};
    const double w = 360.0 / 1920, h = 460.0 / 1040;
    ExpectGeometry(CascadePlacement(monitors, 0), {"MAIN", 60.0 / 1920, 60.0 / 1040, w, h, false}, "first");
    ExpectGeometry(CascadePlacement(monitors, 5), {"MAIN", 210.0 / 1920, 210.0 / 1040, w, h, false}, "sixth");
    ExpectGeometry(CascadePlacement(monitors, 6), {"MAIN", 280.0 / 1920, 60.0 / 1040, w, h, false}, "seventh");
    ExpectGeometry(CascadePlacement(monitors, 13), {"MAIN", 530.0 / 1920, 90.0 / 1040, w, h, false}, "fourteenth");
}

TEST(CascadePlacement, ScalesWithTheMonitorAndClampsToItsWorkArea)
{
    ExpectGeometry(CascadePlacement({Monitor("HI", 2880, 1560, 144, true)}, 1),
                   {"HI", 135.0 / 2880, 135.0 / 1560, 540.0 / 2880, 690.0 / 1560, false}, "150 %");
    ExpectGeometry(CascadePlacement({Monitor("ODD", 1000, 1000, 120, true)}, 1),
                   {"ODD", 112.0 / 1000, 112.0 / 1000, 0.45, 0.575, false}, "125 % truncates each length");
    ExpectGeometry(CascadePlacement({Monitor("SMALL", 300, 200, 96, true)}, 40),
                   {"SMALL", 0.85, 0.85, 1.0, 1.0, false}, "small");
    ExpectGeometry(CascadePlacement({Monitor("HUGE", 10000, 10000, 96, true)}, 0),
                   {"HUGE", 0.006, 0.006, 0.05, 0.05, false}, "huge");
    // Without a primary flag the first monitor serves.
    EXPECT_EQ(CascadePlacement({Monitor("A", 800, 600, 96, false), Monitor("B", 800, 600, 96, false)}, 0).monitor, "A");
}

TEST(CascadePlacement, KeepsTheDefaultsWithoutAUsableMonitor)
{
    ExpectGeometry(CascadePlacement({}, 3), CadrelGeom{}, "no monitor");
    ExpectGeometry(CascadePlacement({Monitor("FLAT", 0, 900, 96, true)}, 0), CadrelGeom{}, "zero width");
    ExpectGeometry(CascadePlacement({Monitor("FLAT", 900, 0, 96, true)}, 0), CadrelGeom{}, "zero height");
}

}  // namespace
}  // namespace cadrels

namespace cadrels {
namespace {

MonitorInfo ConnectedMonitor(const char* id, bool primary)
{
    MonitorInfo monitor;
    monitor.id = id;
    monitor.workArea = {0, 0, 1920, 1040};
    monitor.bounds = {0, 0, 1920, 1080};
    monitor.primary = primary;
    return monitor;
}

TEST(GeometryFromOtherDisplay, TakesTheFirstOtherKeyInByteOrder)
{
    PageLayouts layouts;
    layouts["B|1280x720@96"]["{C}"] = CadrelGeom{"second", 0.2, 0.2, 0.3, 0.3, false};
    layouts["A|1920x1040@96"]["{C}"] = CadrelGeom{"first", 0.5, 0.1, 0.2, 0.4, true};
    layouts["A|1920x1040@96"]["{OTHER}"] = CadrelGeom{};
    const std::vector<MonitorInfo> monitors = {ConnectedMonitor("first", true), ConnectedMonitor("second", false)};

    const auto geometry = GeometryFromOtherDisplay(layouts, "{C}", "Z|now", monitors);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(*geometry, (CadrelGeom{"first", 0.5, 0.1, 0.2, 0.4, true}));
    // The current key itself is never the source.
    const auto skipped = GeometryFromOtherDisplay(layouts, "{C}", "A|1920x1040@96", monitors);
    ASSERT_TRUE(skipped);
    EXPECT_EQ(skipped->monitor, "second");
    EXPECT_FALSE(GeometryFromOtherDisplay(layouts, "{NONE}", "Z|now", monitors));
}

TEST(GeometryFromOtherDisplay, TheMostRecentKeyOnAConnectedMonitorWins)
{
    PageLayouts layouts;
    layouts["A|old"]["{C}"] = CadrelGeom{"main", 0.1, 0.1, 0.2, 0.2, false};
    layouts["B|gone"]["{C}"] = CadrelGeom{"unplugged", 0.3, 0.3, 0.2, 0.2, false};
    layouts["C|newest"]["{C}"] = CadrelGeom{"main", 0.7, 0.2, 0.2, 0.3, false};
    const std::vector<MonitorInfo> monitors = {ConnectedMonitor("main", true)};

    // Recency first: the newest key, on the same monitor.
    const auto recent = GeometryFromOtherDisplay(layouts, "{C}", "now", monitors, {"C|newest", "A|old"});
    ASSERT_TRUE(recent);
    EXPECT_DOUBLE_EQ(recent->x, 0.7);
    // A recent key whose monitor is gone gives way to an older one on a
    // connected monitor.
    const auto connected = GeometryFromOtherDisplay(layouts, "{C}", "now", monitors, {"B|gone", "C|newest"});
    ASSERT_TRUE(connected);
    EXPECT_DOUBLE_EQ(connected->x, 0.7);
    // Keys the recency list does not know (an older file) follow in byte order.
    const auto unknown = GeometryFromOtherDisplay(layouts, "{C}", "now", monitors, {"Z|never-saved"});
    ASSERT_TRUE(unknown);
    EXPECT_DOUBLE_EQ(unknown->x, 0.1);
    // Only monitors that are gone: the most recent, moved to the primary.
    layouts.erase("A|old");
    layouts.erase("C|newest");
    const auto moved = GeometryFromOtherDisplay(layouts, "{C}", "now", monitors, {"B|gone"});
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->monitor, "main");
    EXPECT_DOUBLE_EQ(moved->x, 0.3);
}

TEST(DisplayRecency, TheUsedKeyMovesToTheFrontAndTheListStaysBounded)
{
    std::vector<std::string> recent;
    NoteDisplayUsed(recent, "a");
    NoteDisplayUsed(recent, "b");
    NoteDisplayUsed(recent, "a");
    EXPECT_EQ(recent, (std::vector<std::string>{"a", "b"}));
    NoteDisplayUsed(recent, "");
    EXPECT_EQ(recent.size(), 2u);
    for (int i = 0; i < 40; ++i) {
        NoteDisplayUsed(recent, "k" + std::to_string(i));
    }
    EXPECT_EQ(recent.size(), MaxRecentDisplays);
    EXPECT_EQ(recent.front(), "k39");
}

TEST(GeometryFromOtherDisplay, AMonitorThatIsGoneBecomesThePrimaryOne)
{
    PageLayouts layouts;
    layouts["docked"]["{C}"] = CadrelGeom{"unplugged", 0.6, 0.3, 0.2, 0.5, false};
    const std::vector<MonitorInfo> monitors = {ConnectedMonitor("laptop", false), ConnectedMonitor("main", true)};
    const auto geometry = GeometryFromOtherDisplay(layouts, "{C}", "undocked", monitors);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->monitor, "main");
    EXPECT_DOUBLE_EQ(geometry->x, 0.6) << "the fractions stay";
    EXPECT_TRUE(GeometryFromOtherDisplay(layouts, "{C}", "undocked", {})->monitor.empty());
}

MonitorInfo Screen(std::string id, RECT bounds, RECT work, unsigned dpi, bool primary)
{
    MonitorInfo monitor;
    monitor.id = std::move(id);
    monitor.bounds = bounds;
    monitor.workArea = work;
    monitor.dpi = dpi;
    monitor.primary = primary;
    return monitor;
}

TEST(AtCursorPlacement, PutsTheTitleBarUnderTheCursorOnItsMonitor)
{
    const std::vector<MonitorInfo> monitors = {Screen("MAIN", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96, true),
                                               Screen("SIDE", {1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}, 144, false)};
    const CadrelGeom main = AtCursorPlacement(monitors, {700, 400});
    EXPECT_EQ(main.monitor, "MAIN");
    EXPECT_DOUBLE_EQ(main.x, 520.0 / 1920) << "half of 360 to the left of the cursor";
    EXPECT_DOUBLE_EQ(main.y, 385.0 / 1040) << "half the title bar above it";
    EXPECT_DOUBLE_EQ(main.w, 360.0 / 1920);
    EXPECT_DOUBLE_EQ(main.h, 460.0 / 1040);

    // On the 150 % monitor, near its bottom right corner: 540 by 690, held inside.
    const CadrelGeom side = AtCursorPlacement(monitors, {3190, 1000});
    EXPECT_EQ(side.monitor, "SIDE");
    EXPECT_DOUBLE_EQ(side.x, (1280.0 - 540) / 1280);
    EXPECT_DOUBLE_EQ(side.y, (1024.0 - 690) / 1024);
    EXPECT_DOUBLE_EQ(side.w, 540.0 / 1280);

    // A cursor off every work area (on the taskbar) goes to the primary monitor.
    EXPECT_EQ(AtCursorPlacement(monitors, {100, 1060}).monitor, "MAIN");
    EXPECT_EQ(AtCursorPlacement({}, {100, 100}), CadrelGeom{}) << "no monitor: the defaults";
}

TEST(WindowRectForGeometry, AnUnknownMonitorMeansThePrimaryOne)
{
    const std::vector<MonitorInfo> monitors = {Screen("SIDE", {-1280, 0, 0, 1024}, {-1280, 0, 0, 984}, 96, false),
                                               Screen("MAIN", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96, true)};
    EXPECT_EQ(WindowRectForGeometry({"SIDE", 0.5, 0.5, 0.25, 0.5, false}, monitors), (PixelRect{-640, 492, -320, 984}));
    EXPECT_EQ(WindowRectForGeometry({"GONE", 0.5, 0.5, 0.25, 0.5, false}, monitors), (PixelRect{960, 520, 1440, 1040}));
    EXPECT_EQ(WindowRectForGeometry({"GONE", 0.5, 0.5, 0.25, 0.5, false}, {}), (PixelRect{120, 120, 480, 580}));
}

TEST(GeometryForWindow, SavesFractionsOfTheMonitorTheWindowMostlyStandsOn)
{
    const std::vector<MonitorInfo> monitors = {Screen("MAIN", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96, true),
                                               Screen("SIDE", {1920, 0, 3200, 1024}, {1920, 0, 3200, 984}, 96, false)};
    // 100 pixels on the main monitor, 300 on the side one.
    const std::optional<CadrelGeom> straddling = GeometryForWindow(monitors, {1820, 100, 2220, 592}, true);
    ASSERT_TRUE(straddling);
    EXPECT_EQ(straddling->monitor, "SIDE");
    EXPECT_DOUBLE_EQ(straddling->x, -100.0 / 1280);
    EXPECT_DOUBLE_EQ(straddling->h, 492.0 / 984);
    EXPECT_TRUE(straddling->rolled);
    // Off every screen: the nearest monitor.
    EXPECT_EQ(GeometryForWindow(monitors, {4000, 100, 4400, 400}, false)->monitor, "SIDE");
    EXPECT_FALSE(GeometryForWindow({}, {0, 0, 10, 10}, false));
}

}  // namespace
}  // namespace cadrels
