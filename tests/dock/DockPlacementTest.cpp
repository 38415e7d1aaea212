#include "dock/DockPlacement.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace cadrels {
namespace {

TEST(DockPlacementTest, FourTaskbarEdgesAndNoTaskbar)
{
    const PixelRect monitor{0, 0, 1920, 1080};
    struct Case {
        const char* name;
        TaskbarEdge edge;
        PixelRect work;
        PixelRect taskbar;
        PixelPoint expected;
    };
    const Case cases[] = {
        // Just above a bottom taskbar, centred on the monitor.
        {"bottom", TaskbarEdge::Bottom, {0, 0, 1920, 1040}, {0, 1040, 1920, 1080}, {(1920 - 400) / 2, 1040 - 8 - 120}},
        // Just below a top taskbar.
        {"top", TaskbarEdge::Top, {0, 40, 1920, 1080}, {0, 0, 1920, 40}, {760, 48}},
        // A side taskbar: the bottom of the work area, centred on the work area.
        {"left", TaskbarEdge::Left, {60, 0, 1920, 1080}, {0, 0, 60, 1080}, {60 + (1860 - 400) / 2, 1080 - 128}},
        {"right", TaskbarEdge::Right, {0, 0, 1860, 1080}, {1860, 0, 1920, 1080}, {(1860 - 400) / 2, 952}},
        // No answer from the shell: the work area's bottom, centred on the monitor.
        {"none", TaskbarEdge::None, {0, 0, 1920, 1050}, {}, {760, 1050 - 128}},
    };
    for (const Case& c : cases) {
        const DockPlacementInput input{monitor, c.work, c.edge, c.taskbar, 400, 120, 8};
        EXPECT_EQ(PlaceDock(input), c.expected) << c.name;
    }
}

TEST(DockPlacementTest, SecondMonitorLeftOfThePrimary)
{
    const DockPlacementInput input{{-1280, 100, 0, 1124}, {-1280, 100, 0, 1084}, TaskbarEdge::Bottom,
                                   {-1280, 1084, 0, 1124}, 372, 120, 8};
    EXPECT_EQ(PlaceDock(input), (PixelPoint{-1280 + (1280 - 372) / 2, 1084 - 128}));
}

TEST(FullScreenWindow, CoversTheMonitorOnlyWhenItSpansAllOfIt)
{
    const PixelRect monitor{0, 0, 1280, 800};
    EXPECT_TRUE(CoversMonitor({0, 0, 1280, 800}, monitor));
    EXPECT_TRUE(CoversMonitor({-8, -8, 1288, 808}, monitor));  // a maximised frame overhangs
    EXPECT_FALSE(CoversMonitor({0, 0, 1280, 770}, monitor));   // a maximised window leaves the taskbar
    EXPECT_FALSE(CoversMonitor({1, 0, 1280, 800}, monitor));
    EXPECT_FALSE(CoversMonitor({1280, 0, 2560, 800}, monitor));  // the next monitor
    EXPECT_FALSE(CoversMonitor({0, 0, 0, 0}, PixelRect{}));
}

TEST(BackdropTint, AveragesEveryFourthPixelAndLightensIt)
{
    // 8 by 2 pixels: the sampled columns 0 and 4 are black and white,
    // the others red, which must not count.
    const int width = 8;
    const int height = 2;
    const size_t stride = width * 4 + 4;  // rows may be padded
    std::vector<std::uint8_t> pixels(stride * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = pixels.data() + y * stride + x * 4;
            if (x == 4) {
                p[0] = p[1] = p[2] = 255;
            } else if (x % 4 != 0) {
                p[2] = 255;
            }
            p[3] = 255;
        }
    }
    DockTint tint;
    ASSERT_TRUE(AverageBackdropTint(pixels.data(), width, height, stride, tint));
    const float expected = (127.5f * 0.42f + 147.9f) / 255.0f;
    EXPECT_NEAR(tint.r, expected, 1e-4f);
    EXPECT_NEAR(tint.g, expected, 1e-4f);
    EXPECT_NEAR(tint.b, expected, 1e-4f);
    EXPECT_FLOAT_EQ(tint.a, 0.9f);

    // A black screen still gives a light tint; nothing, or a short stride, gives none.
    std::vector<std::uint8_t> black(4 * 4 * 4, 0);
    ASSERT_TRUE(AverageBackdropTint(black.data(), 4, 4, 16, tint));
    EXPECT_NEAR(tint.b, 147.9f / 255.0f, 1e-4f);
    EXPECT_FALSE(AverageBackdropTint(black.data(), 0, 4, 16, tint));
    EXPECT_FALSE(AverageBackdropTint(black.data(), 4, 4, 15, tint));
    EXPECT_FALSE(AverageBackdropTint(nullptr, 4, 4, 16, tint));
}

}  // namespace
}  // namespace cadrels
