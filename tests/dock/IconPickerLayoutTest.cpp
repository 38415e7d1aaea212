#include "dock/IconPickerLayout.h"

#include <gtest/gtest.h>

#include <set>

namespace cadrels {
namespace {

TEST(IconPickerLayoutTest, TenColumnsOfSeventeenRowsWhereTheScreenIsTallEnough)
{
    struct Case {
        float scale;
        int width;
        int height;
    };
    // 686 x 1242 at 96 DPI, and the same lengths scaled and rounded up.
    const Case cases[] = {{1.0f, 686, 1242}, {1.5f, 1029, 1863}, {1.25f, 858, 1553}};
    for (const Case& c : cases) {
        const IconPickerGeometry geometry = ComputeIconPickerGeometry(168, c.scale, 0, 0);
        EXPECT_EQ(geometry.columns, 10);
        EXPECT_EQ(geometry.rows, 17);
        EXPECT_EQ(geometry.width, c.width) << c.scale;
        EXPECT_EQ(geometry.height, c.height) << c.scale;
    }
    const IconPickerGeometry roomy = ComputeIconPickerGeometry(168, 1.0f, 1920, 1400);
    EXPECT_EQ(roomy.columns, 10);
    EXPECT_FLOAT_EQ(roomy.scale, 1.0f);
}

TEST(IconPickerLayoutTest, AShortScreenGetsMoreColumnsAndThenASmallerScale)
{
    // 1280 x 770: wider rows bring the buttons back on the screen.
    const IconPickerGeometry laptop = ComputeIconPickerGeometry(168, 1.0f, 1280, 770);
    EXPECT_GT(laptop.columns, 10);
    EXPECT_LE(laptop.height, 770);
    EXPECT_LE(laptop.width, 1280);
    EXPECT_GE(laptop.rows * laptop.columns, 168);
    EXPECT_FLOAT_EQ(laptop.scale, 1.0f);

    // Too small for any column count at full size: everything shrinks to fit.
    const IconPickerGeometry tiny = ComputeIconPickerGeometry(168, 2.0f, 800, 600);
    EXPECT_LE(tiny.height, 600);
    EXPECT_LE(tiny.width, 800);
    EXPECT_LT(tiny.scale, 2.0f);
    EXPECT_GT(tiny.scale, 0.0f);
    const DockRect last = IconPickerCell(tiny, 167);
    EXPECT_LE(last.bottom, IconPickerDefaultButton(tiny).top) << "the grid ends above the buttons";
    EXPECT_LE(last.right, static_cast<float>(tiny.width));
}

TEST(IconPickerLayoutTest, CellsAndButtonsAtTheirPlaces)
{
    const IconPickerGeometry geometry = ComputeIconPickerGeometry(168, 1.0f, 0, 0);
    EXPECT_EQ(IconPickerCell(geometry, 0), (DockRect{18.0f, 60.0f, 74.0f, 116.0f}));
    EXPECT_EQ(IconPickerCell(geometry, 11), (DockRect{84.0f, 126.0f, 140.0f, 182.0f}));
    EXPECT_EQ(IconPickerCell(geometry, 167).bottom, 60.0f + 17 * 56 + 16 * 10);
    EXPECT_EQ(IconPickerDefaultButton(geometry), (DockRect{18.0f, 1184.0f, 338.0f, 1224.0f}));
    EXPECT_EQ(IconPickerCustomButton(geometry), (DockRect{348.0f, 1184.0f, 668.0f, 1224.0f}));
}

TEST(IconPickerLayoutTest, HitTestFindsEveryCellOnceAndNothingInTheGaps)
{
    for (float scale : {1.0f, 1.5f}) {
        for (int workHeight : {0, 770}) {
            const IconPickerGeometry g = ComputeIconPickerGeometry(168, scale, 0, workHeight);
            std::set<int> found;
            for (int index = 0; index < 168; ++index) {
                const DockRect cell = IconPickerCell(g, index);
                EXPECT_EQ(IconPickerHitTest(g, cell.CentreX(), (cell.top + cell.bottom) / 2), index);
                EXPECT_EQ(IconPickerHitTest(g, cell.left, cell.top), index);
                EXPECT_NE(IconPickerHitTest(g, cell.right, cell.top), index) << "right edge excluded";
                found.insert(index);
            }
            EXPECT_EQ(found.size(), 168u);
            const DockRect first = IconPickerCell(g, 0);
            EXPECT_EQ(IconPickerHitTest(g, first.right + 2.0f * g.scale, first.top + 5.0f), IconPickerHitNothing);
            EXPECT_EQ(IconPickerHitTest(g, 5.0f, 5.0f), IconPickerHitNothing);
            const DockRect byDefault = IconPickerDefaultButton(g);
            const DockRect custom = IconPickerCustomButton(g);
            EXPECT_EQ(IconPickerHitTest(g, byDefault.left + 1.0f, byDefault.top + 1.0f), IconPickerHitDefault);
            EXPECT_EQ(IconPickerHitTest(g, custom.right - 1.0f, custom.bottom - 1.0f), IconPickerHitCustom);
            EXPECT_EQ(IconPickerHitTest(g, (byDefault.right + custom.left) / 2, byDefault.top + 5.0f),
                      IconPickerHitNothing);
            // Past the last icon of a short last row there is no cell.
            const int lastRow = (168 - 1) / g.columns;
            if (168 % g.columns != 0) {
                const DockRect empty = IconPickerCell(g, lastRow * g.columns + g.columns - 1);
                EXPECT_EQ(IconPickerHitTest(g, empty.CentreX(), (empty.top + empty.bottom) / 2), IconPickerHitNothing);
            }
        }
    }
}

}  // namespace
}  // namespace cadrels
