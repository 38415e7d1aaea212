#include "model/MonitorInfo.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

MonitorInfo Monitor(const char* id, LONG left, LONG top, LONG right, LONG bottom, unsigned dpi, bool primary = false)
{
    MonitorInfo m;
    m.id = id;
    m.workArea = {left, top, right, bottom};
    m.bounds = m.workArea;
    m.dpi = dpi;
    m.primary = primary;
    return m;
}

TEST(DisplayKey, NoMonitorGivesDefault)
{
    EXPECT_EQ(DisplayKey({}), "default");
}

TEST(DisplayKey, UsesWorkAreaSizeAndDpi)
{
    EXPECT_EQ(DisplayKey({Monitor("\\\\?\\DISPLAY#A", 0, 0, 1920, 1040, 96)}), "\\\\?\\DISPLAY#A|1920x1040@96");
    EXPECT_EQ(DisplayKey({Monitor("M", -1280, 40, 0, 1024, 144)}), "M|1280x984@144");
}

TEST(DisplayKey, IsIndependentOfEnumerationOrder)
{
    const MonitorInfo a = Monitor("B-second", 1920, 0, 3840, 1080, 96, false);
    const MonitorInfo b = Monitor("A-first", 0, 0, 1920, 1040, 120, true);
    EXPECT_EQ(DisplayKey({a, b}), "A-first|1920x1040@120B-second|1920x1080@96");
    EXPECT_EQ(DisplayKey({b, a}), DisplayKey({a, b}));
}

TEST(DisplayKey, SortsBytewiseOnTheWholePart)
{
    // Same id, different sizes: the size text decides; '1' sorts before '9'.
    const MonitorInfo small = Monitor("X", 0, 0, 900, 600, 96);
    const MonitorInfo large = Monitor("X", 0, 0, 1000, 600, 96);
    EXPECT_EQ(DisplayKey({small, large}), "X|1000x600@96X|900x600@96");
    // Upper case sorts before lower case in byte order.
    EXPECT_EQ(DisplayKey({Monitor("b", 0, 0, 1, 1, 96), Monitor("C", 0, 0, 1, 1, 96)}), "C|1x1@96b|1x1@96");
}

TEST(PrimaryMonitor, FirstFlaggedElseFirst)
{
    EXPECT_EQ(PrimaryMonitor({}), nullptr);
    const std::vector<MonitorInfo> none = {Monitor("a", 0, 0, 1, 1, 96), Monitor("b", 0, 0, 1, 1, 96)};
    EXPECT_EQ(PrimaryMonitor(none)->id, "a");
    const std::vector<MonitorInfo> two = {Monitor("a", 0, 0, 1, 1, 96), Monitor("b", 0, 0, 1, 1, 96, true),
                                          Monitor("c", 0, 0, 1, 1, 96, true)};
    EXPECT_EQ(PrimaryMonitor(two)->id, "b");
}

TEST(EnumerateMonitors, DescribesTheScreenOfTheTestDesktop)
{
    const std::vector<MonitorInfo> monitors = EnumerateMonitors();
    ASSERT_FALSE(monitors.empty());
    const MonitorInfo* primary = PrimaryMonitor(monitors);
    ASSERT_NE(primary, nullptr);
    EXPECT_FALSE(primary->id.empty());
    EXPECT_FALSE(primary->deviceName.empty());
    EXPECT_GE(primary->dpi, 96u);
    EXPECT_GT(primary->bounds.right - primary->bounds.left, 0);
    EXPECT_LE(primary->workArea.bottom - primary->workArea.top, primary->bounds.bottom - primary->bounds.top);
    EXPECT_NE(DisplayKey(monitors), "default");
    EXPECT_EQ(DisplayKey(monitors), DisplayKey(EnumerateMonitors())) << "the key is stable between calls";
}

}  // namespace
}  // namespace cadrels
