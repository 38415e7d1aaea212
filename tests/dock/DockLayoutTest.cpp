#include "dock/DockLayout.h"

#include "model/PathText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace cadrels {
namespace {

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    return EqualsIgnoringAsciiCase(a, b);
}

TEST(DockSlots, FixedSlotsSurroundTheUserItems)
{
    EXPECT_EQ(DockSlotCount(0), 5);
    EXPECT_EQ(DockSlotCount(3), 8);
    struct Case {
        int slot;
        size_t items;
        DockSlotKind kind;
        int item;
    };
    const Case cases[] = {
        {0, 0, DockSlotKind::ThisPc, -1},      {1, 0, DockSlotKind::Applications, -1},
        {2, 0, DockSlotKind::NewCadrel, -1},   {3, 0, DockSlotKind::Settings, -1},
        {4, 0, DockSlotKind::Trash, -1},       {4, 2, DockSlotKind::Item, 0},
        {5, 2, DockSlotKind::Item, 1},         {6, 2, DockSlotKind::Trash, -1},
    };
    for (const Case& c : cases) {
        const DockSlot slot = DockSlotAt(c.slot, c.items);
        EXPECT_EQ(slot.kind, c.kind) << c.slot << " of " << c.items;
        EXPECT_EQ(slot.item, c.item) << c.slot << " of " << c.items;
    }
}

TEST(DockWidth, FollowsTheFormulaForEveryItemCountAndScale)
{
    struct Case {
        size_t items;
        float scale;
        int width;
    };
    // 20 + 5 * 44 + (10 + 10 + 10 + 18) + 84 = 372 with no items: one wide gap only.
    const Case cases[] = {
        {0, 1.0f, 372},
        {1, 1.0f, 20 + 6 * 44 + (10 + 10 + 10 + 18 + 18) + 84},
        {3, 1.0f, 20 + 8 * 44 + (10 + 10 + 10 + 18 + 10 + 10 + 18) + 84},
        {0, 1.5f, 558},
        {0, 1.25f, 465},
        {1, 1.25f, 543},  // 434 * 1.25 = 542.5, rounded up
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DockWindowWidth(c.items, c.scale), c.width) << c.items << " items at " << c.scale;
    }
}

TEST(DockLayoutPass, NoItemsGiveFiveSlotsAndOneSeparatorBeforeTheTrash)
{
    const float width = static_cast<float>(DockWindowWidth(0, 1.0f));
    const DockLayout layout = ComputeDockLayout({}, 5, width, 120.0f, 1.0f);
    ASSERT_EQ(layout.slots.size(), 5u);
    EXPECT_FLOAT_EQ(layout.firstSeparator, -1.0f);
    // Settings ends, then 18 pixels, then the Trash: the line is in the middle.
    EXPECT_FLOAT_EQ(layout.secondSeparator, layout.slots[3].right + 9.0f);
    EXPECT_FLOAT_EQ(layout.slots[4].left - layout.slots[3].right, 18.0f);
    EXPECT_FLOAT_EQ(layout.slots[1].left - layout.slots[0].right, 10.0f);
    // Shelf 20 + 5 * 44 + 48 wide, centred, 64 high at the bottom.
    EXPECT_FLOAT_EQ(layout.shelf.Width(), 288.0f);
    EXPECT_FLOAT_EQ(layout.shelf.left, (width - 288.0f) / 2.0f);
    EXPECT_FLOAT_EQ(layout.shelf.top, 56.0f);
    EXPECT_FLOAT_EQ(layout.shelf.bottom, 120.0f);
    for (const DockRect& slot : layout.slots) {
        EXPECT_FLOAT_EQ(slot.bottom, 110.0f);
        EXPECT_FLOAT_EQ(slot.Height(), 44.0f);
    }
}

TEST(DockLayoutPass, ItemsSitBetweenTwoSeparatorsAndGrowUpwardsWithTheirScale)
{
    const std::vector<float> scales = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f + 7.0f / 11.0f, 1.0f, 1.0f};
    const DockLayout layout = ComputeDockLayout(scales, 7, 600.0f, 120.0f, 1.0f);
    ASSERT_EQ(layout.slots.size(), 7u);
    EXPECT_FLOAT_EQ(layout.firstSeparator, layout.slots[3].right + 9.0f);
    EXPECT_FLOAT_EQ(layout.secondSeparator, layout.slots[5].right + 9.0f);
    // The magnified icon is 72 wide and tall, still on the same baseline.
    EXPECT_NEAR(layout.slots[4].Width(), 72.0f, 1e-3f);
    EXPECT_NEAR(layout.slots[4].top, 110.0f - 72.0f, 1e-3f);
    EXPECT_FLOAT_EQ(layout.slots[4].bottom, 110.0f);
    // The shelf widened by the 28 extra pixels and stays centred.
    EXPECT_NEAR(layout.shelf.Width(), 20.0f + 7 * 44.0f + 28.0f + 10 * 4 + 18 * 2, 1e-3f);
    EXPECT_NEAR(layout.shelf.left + layout.shelf.right, 600.0f, 1e-3f);
    // Missing scales count as one.
    const DockLayout rest = ComputeDockLayout({}, 7, 600.0f, 120.0f, 1.0f);
    EXPECT_FLOAT_EQ(rest.slots[4].Width(), 44.0f);
}

TEST(DockLayoutPass, ScalesEveryLengthWithTheDpi)
{
    const DockLayout layout = ComputeDockLayout({}, 5, 558.0f, 180.0f, 1.5f);
    EXPECT_FLOAT_EQ(layout.slots[0].Width(), 66.0f);
    EXPECT_FLOAT_EQ(layout.slots[0].bottom, 165.0f);
    EXPECT_FLOAT_EQ(layout.shelf.top, 180.0f - 96.0f);
    EXPECT_FLOAT_EQ(layout.slots[4].left - layout.slots[3].right, 27.0f);
}

TEST(DockRestCentres, MatchTheLayoutAtRest)
{
    for (int slots : {5, 6, 9}) {
        for (float scale : {1.0f, 1.25f, 2.0f}) {
            const float width = 800.0f * scale;
            const std::vector<float> centres = DockRestCentres(slots, width, scale);
            const DockLayout layout = ComputeDockLayout({}, slots, width, 120.0f * scale, scale);
            ASSERT_EQ(centres.size(), static_cast<size_t>(slots));
            for (int slot = 0; slot < slots; ++slot) {
                EXPECT_NEAR(centres[static_cast<size_t>(slot)], layout.slots[static_cast<size_t>(slot)].CentreX(),
                            1e-3f)
                    << slot << " of " << slots << " at " << scale;
            }
        }
    }
}

TEST(DockMagnification, TargetScaleAlongTheCosineUpToSeventyTwoPixels)
{
    struct Case {
        float mouseX;
        float centre;
        float scale;
        bool dragging;
        float expected;
    };
    const float top = 1.0f + 7.0f / 11.0f;
    const Case cases[] = {
        {100.0f, 100.0f, 1.0f, false, top},                  // right on it: 44 -> 72
        {100.0f + 95.0f / 2.0f, 100.0f, 1.0f, false, 1.0f + 7.0f / 22.0f},  // half the radius: half the gain
        {100.0f - 95.0f / 2.0f, 100.0f, 1.0f, false, 1.0f + 7.0f / 22.0f},
        {195.0f, 100.0f, 1.0f, false, 1.0f},                 // at the radius
        {400.0f, 100.0f, 1.0f, false, 1.0f},
        {-1.0f, 0.0f, 1.0f, false, 1.0f},                    // pointer outside
        {100.0f, 100.0f, 1.0f, true, 1.0f},                  // dragging
        {100.0f + 95.0f, 100.0f, 2.0f, false, 1.0f + 7.0f / 22.0f},  // radius grows with the DPI
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(DockTargetScale(c.mouseX, c.centre, c.scale, c.dragging), c.expected, 1e-4f)
            << c.mouseX << " vs " << c.centre;
    }
    EXPECT_NEAR(DockTargetScale(100.0f, 100.0f, 1.0f, false) * DockIconSize, 72.0f, 1e-3f);
}

TEST(DockMagnification, EasesToTheTargetAndThenReportsNoMovement)
{
    const std::vector<float> centres = DockRestCentres(5, 372.0f, 1.0f);
    std::vector<float> scales;
    DockAnimationStep step = StepDockScales(scales, centres, centres[2], false, 1.0f);
    ASSERT_EQ(scales.size(), 5u);
    EXPECT_TRUE(step.moving);
    // One tick covers 30 % of the way.
    EXPECT_NEAR(scales[2], 1.0f + 0.3f * 7.0f / 11.0f, 1e-5f);
    EXPECT_EQ(step.hoverSlot, 2);
    int ticks = 1;
    while (step.moving && ticks < 200) {
        step = StepDockScales(scales, centres, centres[2], false, 1.0f);
        ++ticks;
    }
    EXPECT_FALSE(step.moving);
    EXPECT_LT(ticks, 40);  // the timer stops itself within about half a second
    EXPECT_NEAR(scales[2], 1.0f + 7.0f / 11.0f, 0.01f);
    EXPECT_EQ(step.hoverSlot, 2);

    // The pointer leaves: everything eases back and the label goes at once.
    step = StepDockScales(scales, centres, -1.0f, false, 1.0f);
    EXPECT_EQ(step.hoverSlot, -1);
    while (step.moving) {
        step = StepDockScales(scales, centres, -1.0f, false, 1.0f);
    }
    for (float s : scales) {
        EXPECT_NEAR(s, 1.0f, 0.01f);
    }
}

TEST(DockMagnification, HoverNeedsMoreThanSixPercentAndPrefersTheFirstOnTies)
{
    const std::vector<float> centres = {100.0f, 200.0f, 300.0f, 400.0f, 500.0f};
    std::vector<float> scales(5, 1.0f);
    // Exactly between two slots: both grow the same; the first wins.
    for (int tick = 0; tick < 30; ++tick) {
        StepDockScales(scales, centres, 150.0f, false, 1.0f);
    }
    DockAnimationStep step = StepDockScales(scales, centres, 150.0f, false, 1.0f);
    EXPECT_EQ(step.hoverSlot, 0);

    // Far from every slot: nothing exceeds 1.06, no label.
    std::vector<float> idle(5, 1.0f);
    step = StepDockScales(idle, centres, 5000.0f, false, 1.0f);
    EXPECT_EQ(step.hoverSlot, -1);
    EXPECT_FALSE(step.moving);

    // A grown list keeps its scales and gains new ones at 1.
    std::vector<float> shorter = {1.5f, 1.0f};
    StepDockScales(shorter, centres, -1.0f, false, 1.0f);
    ASSERT_EQ(shorter.size(), 5u);
    EXPECT_NEAR(shorter[0], 1.35f, 1e-5f);
    EXPECT_FLOAT_EQ(shorter[4], 1.0f);
}

TEST(DockBounceTest, RisesFallsAndEndsAfterFiveHundredFiftyMilliseconds)
{
    DockBounce bounce{3, 0.0f};
    int ticks = 0;
    float highest = 0.0f;
    while (StepDockBounce(bounce)) {
        highest = std::max(highest, DockBounceOffset(bounce.time, 1.0f));
        ++ticks;
        ASSERT_LT(ticks, 100);
    }
    EXPECT_EQ(bounce.slot, -1);
    EXPECT_FLOAT_EQ(bounce.time, 0.0f);
    EXPECT_GE(ticks, 35);
    EXPECT_LE(ticks, 37);
    EXPECT_GT(highest, 8.0f);
    EXPECT_LT(highest, 16.0f);
    EXPECT_FLOAT_EQ(DockBounceOffset(0.0f, 1.0f), 0.0f);
    EXPECT_NEAR(DockBounceOffset(0.55f, 1.0f), 0.0f, 1e-4f);
    EXPECT_NEAR(DockBounceOffset(0.55f / 4.0f, 2.0f), 2.0f * 16.0f * 0.75f, 1e-3f);
    DockBounce idle;
    EXPECT_FALSE(StepDockBounce(idle));
}

TEST(DockHitTestTest, FindsSlotsAndExcludesRightAndBottomEdges)
{
    const DockLayout layout = ComputeDockLayout({}, 7, 600.0f, 120.0f, 1.0f);
    for (int slot = 0; slot < 7; ++slot) {
        const DockRect& r = layout.slots[static_cast<size_t>(slot)];
        EXPECT_EQ(DockHitTest(layout, r.CentreX(), (r.top + r.bottom) / 2), slot);
        EXPECT_EQ(DockHitTest(layout, r.left, r.top), slot);
        EXPECT_NE(DockHitTest(layout, r.right, r.top), slot);
        EXPECT_EQ(DockHitTest(layout, r.CentreX(), r.bottom), -1);
    }
    // The gaps, the separators and the shelf margin hit nothing.
    EXPECT_EQ(DockHitTest(layout, layout.firstSeparator, 100.0f), -1);
    EXPECT_EQ(DockHitTest(layout, layout.secondSeparator, 100.0f), -1);
    EXPECT_EQ(DockHitTest(layout, layout.shelf.left + 2.0f, 100.0f), -1);
    EXPECT_EQ(DockHitTest(layout, layout.slots[0].CentreX(), 10.0f), -1);
    EXPECT_EQ(DockHitTest(DockLayout{}, 10.0f, 10.0f), -1);
}

TEST(DockReorder, TargetIsTheFirstItemRightOfThePointerElseTheLast)
{
    const std::vector<float> centres = {10, 20, 30, 40, 100, 200, 300, 400};
    struct Case {
        float mouseX;
        int expected;
    };
    const Case cases[] = {{0.0f, 0}, {99.0f, 0}, {100.0f, 1}, {150.0f, 1}, {250.0f, 2}, {299.0f, 2}, {350.0f, 2}};
    for (const Case& c : cases) {
        EXPECT_EQ(DockReorderTarget(centres, 3, c.mouseX), c.expected) << c.mouseX;
    }
    EXPECT_EQ(DockReorderTarget(centres, 0, 50.0f), -1);

    std::vector<std::wstring> items = {L"a", L"b", L"c", L"d"};
    EXPECT_TRUE(MoveDockItem(items, 0, 2));
    EXPECT_EQ(items, (std::vector<std::wstring>{L"b", L"c", L"a", L"d"}));
    EXPECT_TRUE(MoveDockItem(items, 3, 0));
    EXPECT_EQ(items, (std::vector<std::wstring>{L"d", L"b", L"c", L"a"}));
    EXPECT_FALSE(MoveDockItem(items, 1, 1));
    EXPECT_FALSE(MoveDockItem(items, -1, 1));
    EXPECT_FALSE(MoveDockItem(items, 1, 4));
    EXPECT_EQ(items, (std::vector<std::wstring>{L"d", L"b", L"c", L"a"}));
}

TEST(DockDrop, AppendsNewPathsInDropOrderAndSkipsKnownOnesInAnyCase)
{
    std::vector<std::wstring> items = {L"C:\\Docs\\Report.docx"};
    EXPECT_EQ(AppendDroppedItems(items, {L"c:\\docs\\REPORT.DOCX"}, SameIgnoringCase), 0u);
    EXPECT_EQ(items.size(), 1u);

    EXPECT_EQ(AppendDroppedItems(items, {L"C:\\b.txt", L"", L"C:\\a.txt", L"c:\\B.TXT", L"C:\\Docs\\report.docx"},
                                 SameIgnoringCase),
              2u);
    EXPECT_EQ(items, (std::vector<std::wstring>{L"C:\\Docs\\Report.docx", L"C:\\b.txt", L"C:\\a.txt"}));
    EXPECT_EQ(AppendDroppedItems(items, {}, SameIgnoringCase), 0u);
}

TEST(DockLabel, NameWithoutFolderAndExtension)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* label;
    };
    const Case cases[] = {
        {L"C:\\Users\\me\\Report.final.docx", L"Report.final"},
        {L"C:/Users/me/notes.txt", L"notes"},
        {L"C:\\Users\\me\\.gitignore", L".gitignore"},
        {L"C:\\Tools\\Paint.NET\\", L"Paint"},
        {L"D:\\Photos\\", L"Photos"},
        {L"C:\\", L"C:"},
        {L"shell:MyComputerFolder", L"shell:MyComputerFolder"},
        {L"README", L"README"},
        {L"a\\b/c.d\\e", L"e"},
        {L"", L""},
        {L"\\", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DockItemLabel(c.path), c.label) << c.path;
    }
}

TEST(DockLabel, BoxSitsAboveTheIconAndStaysInsideTheWindow)
{
    const DockRect icon{100.0f, 60.0f, 144.0f, 104.0f};
    DockRect box = DockLabelBox(50.0f, 16.0f, icon, 400.0f, 1.0f);
    EXPECT_FLOAT_EQ(box.Width(), 70.0f);
    EXPECT_FLOAT_EQ(box.Height(), 24.0f);
    EXPECT_FLOAT_EQ(box.bottom, 52.0f);
    EXPECT_FLOAT_EQ(box.CentreX(), 122.0f);

    box = DockLabelBox(300.0f, 16.0f, DockRect{5.0f, 60.0f, 49.0f, 104.0f}, 400.0f, 1.0f);
    EXPECT_FLOAT_EQ(box.left, 2.0f);
    box = DockLabelBox(300.0f, 16.0f, DockRect{350.0f, 60.0f, 394.0f, 104.0f}, 400.0f, 1.0f);
    EXPECT_FLOAT_EQ(box.right, 398.0f);
    // A magnified icon near the top: the box is pushed down to 2.
    box = DockLabelBox(40.0f, 16.0f, DockRect{100.0f, 20.0f, 172.0f, 92.0f}, 400.0f, 1.0f);
    EXPECT_FLOAT_EQ(box.top, 2.0f);
    EXPECT_FLOAT_EQ(box.Height(), 24.0f);
}

TEST(DockDragging, DraggedIconFollowsThePointerInsideTheWindow)
{
    const float side = 44.0f * 1.18f;
    DockRect r = DockDraggedIconRect(200.0f, 400.0f, 120.0f, 1.0f);
    EXPECT_NEAR(r.Width(), side, 1e-4f);
    EXPECT_FLOAT_EQ(r.CentreX(), 200.0f);
    EXPECT_FLOAT_EQ(r.bottom, 96.0f);
    r = DockDraggedIconRect(3.0f, 400.0f, 120.0f, 1.0f);
    EXPECT_FLOAT_EQ(r.left, 0.0f);
    r = DockDraggedIconRect(399.0f, 400.0f, 120.0f, 1.0f);
    EXPECT_NEAR(r.right, 400.0f, 1e-4f);
}

TEST(DockGrid, NineSquaresCentredInTheSlot)
{
    const DockRect slot{0.0f, 0.0f, 50.0f, 50.0f};
    const std::vector<DockRect> squares = DockGridSquares(slot);
    ASSERT_EQ(squares.size(), 9u);
    EXPECT_FLOAT_EQ(squares[4].CentreX(), 25.0f);
    EXPECT_FLOAT_EQ((squares[4].top + squares[4].bottom) / 2, 25.0f);
    EXPECT_NEAR(squares[0].Width(), 0.64f * 10.0f, 1e-4f);
    EXPECT_NEAR(squares[1].left - squares[0].left, 10.0f, 1e-4f);
    EXPECT_NEAR(squares[3].top - squares[0].top, 10.0f, 1e-4f);
}

}  // namespace
}  // namespace cadrels
