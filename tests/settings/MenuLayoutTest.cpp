#include "settings/MenuLayout.h"

#include "MenuItems.h"

#include "settings/DarkStyle.h"
#include "settings/Placement.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

using testing::Entry;

// Labels measure ten pixels per character, so widths are easy to predict.
int TenPerCharacter(const std::wstring& label)
{
    return static_cast<int>(label.size()) * 10;
}

TEST(MenuMetrics, LengthsScaleWithMulDivRounding)
{
    struct Case {
        int dpi;
        int item, separator, minimumWidth, margin, offset;
    };
    const Case cases[] = {
        {96, 30, 9, 170, 6, 3},
        {0, 30, 9, 170, 6, 3},      // 0 counts as 96
        {144, 45, 14, 255, 9, 5},   // 13.5 and 4.5 round up
        {120, 38, 11, 213, 8, 4},   // 37.5 up, 11.25 down
        {192, 60, 18, 340, 12, 6},
    };
    for (const Case& c : cases) {
        const MenuMetrics m = MenuMetricsAt(c.dpi);
        EXPECT_EQ(m.itemHeight, c.item) << c.dpi;
        EXPECT_EQ(m.separatorHeight, c.separator) << c.dpi;
        EXPECT_EQ(m.minimumWidth, c.minimumWidth) << c.dpi;
        EXPECT_EQ(m.verticalMargin, c.margin) << c.dpi;
        EXPECT_EQ(m.submenuOffset, c.offset) << c.dpi;
    }
}

TEST(MenuLevelLayout, StacksEntriesAndSeparatorsBetweenMargins)
{
    DarkMenuItem separator = DarkMenuItem::Separator();
    separator.label = std::wstring(100, L'x');  // never measured
    const std::vector<DarkMenuItem> items = {Entry(L"Ouvrir", 1), separator, Entry(std::wstring(20, L'w').c_str(), 2),
                                             Entry(L"C", 3)};

    const MenuLevelLayout at96 = MeasureMenuLevel(items, MenuMetricsAt(96), TenPerCharacter);
    EXPECT_EQ(at96.tops, (std::vector<int>{6, 36, 45, 75}));
    EXPECT_EQ(at96.heights, (std::vector<int>{30, 9, 30, 30}));
    EXPECT_EQ(at96.height, 111);
    EXPECT_EQ(at96.width, 34 + 28 + 200) << "the widest label sets the width";

    const MenuLevelLayout at144 = MeasureMenuLevel(items, MenuMetricsAt(144), TenPerCharacter);
    EXPECT_EQ(at144.tops, (std::vector<int>{9, 54, 68, 113}));
    EXPECT_EQ(at144.height, 167);
    EXPECT_EQ(at144.width, 51 + 42 + 200) << "the label is measured in the scaled font already";
}

TEST(MenuLevelLayout, ShortOrNoEntriesKeepTheMinimumWidth)
{
    const std::vector<DarkMenuItem> shortItems = {Entry(L"A", 1), Entry(L"B", 2)};
    EXPECT_EQ(MeasureMenuLevel(shortItems, MenuMetricsAt(96), TenPerCharacter).width, 170);
    EXPECT_EQ(MeasureMenuLevel(shortItems, MenuMetricsAt(144), TenPerCharacter).width, 255);

    const MenuLevelLayout empty = MeasureMenuLevel({}, MenuMetricsAt(96), TenPerCharacter);
    EXPECT_EQ(empty.width, 170);
    EXPECT_EQ(empty.height, 12);
    EXPECT_EQ(MenuItemAt(empty, 6), -1);
}

TEST(MenuLevelLayout, HitTestingUsesHalfOpenSpans)
{
    const std::vector<DarkMenuItem> items = {Entry(L"A", 1), DarkMenuItem::Separator(), Entry(L"B", 2)};
    const MenuLevelLayout layout = MeasureMenuLevel(items, MenuMetricsAt(96), TenPerCharacter);
    struct Case {
        int y;
        int item;
    };
    for (const Case& c : {Case{-1, -1}, Case{5, -1}, Case{6, 0}, Case{35, 0}, Case{36, 1}, Case{44, 1}, Case{45, 2},
                          Case{74, 2}, Case{75, -1}, Case{80, -1}}) {
        EXPECT_EQ(MenuItemAt(layout, c.y), c.item) << "y " << c.y;
    }
}

TEST(MenuNavigation, UpAndDownSkipSeparatorsAndDisabledEntriesAndWrap)
{
    // [A, separator, disabled B, C]
    const std::vector<DarkMenuItem> items = {Entry(L"A", 1), DarkMenuItem::Separator(), Entry(L"B", 2, false),
                                             Entry(L"C", 3)};
    struct Case {
        int hot;
        bool forward;
        int expected;
    };
    const Case cases[] = {
        {-1, true, 0},  {0, true, 3},  {3, true, 0},  {-1, false, 3}, {3, false, 0},
        {0, false, 3},  {1, true, 3},  {2, false, 0}, {2, true, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextMenuCandidate(items, c.hot, c.forward), c.expected)
            << "from " << c.hot << (c.forward ? " down" : " up");
    }
}

TEST(MenuNavigation, NothingToChooseLeavesTheHighlight)
{
    DarkMenuItem enabledSeparator = DarkMenuItem::Separator();
    enabledSeparator.enabled = true;  // a separator is never chosen all the same
    const std::vector<DarkMenuItem> items = {Entry(L"B", 2, false), enabledSeparator};
    EXPECT_EQ(NextMenuCandidate(items, -1, true), -1);
    EXPECT_EQ(NextMenuCandidate(items, 0, false), 0);
    EXPECT_EQ(NextMenuCandidate({}, -1, true), -1);
    const std::vector<DarkMenuItem> single = {Entry(L"A", 1)};
    EXPECT_EQ(NextMenuCandidate(single, 0, true), 0);
    EXPECT_FALSE(IsChoosable(enabledSeparator));
}

TEST(MenuNavigation, OnlyEnabledEntriesWithChildrenOpenSubmenus)
{
    DarkMenuItem more = Entry(L"Plus", 5);
    more.children = {Entry(L"X", 6)};
    DarkMenuItem disabledMore = more;
    disabledMore.enabled = false;
    EXPECT_TRUE(OpensSubmenu(more));
    EXPECT_FALSE(OpensSubmenu(disabledMore));
    EXPECT_FALSE(OpensSubmenu(Entry(L"A", 1)));
}

TEST(MenuPlacement, SubmenuOpensOverlappingItsParentByTheOffset)
{
    const std::vector<DarkMenuItem> items = {Entry(L"A", 1), DarkMenuItem::Separator(), Entry(L"B", 2)};
    const RECT parent{100, 200, 270, 281};
    const MenuLevelLayout at96 = MeasureMenuLevel(items, MenuMetricsAt(96), TenPerCharacter);
    const POINT origin96 = SubmenuOrigin(parent, at96, 2, MenuMetricsAt(96));
    EXPECT_EQ(origin96.x, 267);
    EXPECT_EQ(origin96.y, 245);
    const MenuLevelLayout at144 = MeasureMenuLevel(items, MenuMetricsAt(144), TenPerCharacter);
    const POINT origin144 = SubmenuOrigin(parent, at144, 2, MenuMetricsAt(144));
    EXPECT_EQ(origin144.x, 265);
    EXPECT_EQ(origin144.y, 268);
}

TEST(MenuPlacement, FitToWorkAreaKeepsTheWindowInside)
{
    struct Case {
        const char* name;
        POINT origin;
        SIZE size;
        RECT work;
        POINT expected;
    };
    const RECT primary{0, 0, 1280, 760};
    const Case cases[] = {
        {"inside stays", {100, 100}, {170, 111}, primary, {100, 100}},
        {"bottom-right corner", {1275, 755}, {170, 111}, primary, {1110, 649}},
        {"exactly at the edge stays", {1110, 649}, {170, 111}, primary, {1110, 649}},
        {"before the left edge", {-40, -5}, {170, 111}, primary, {0, 0}},
        {"monitor left of the primary", {-10, 500}, {170, 111}, RECT{-1920, 0, 0, 1040}, {-170, 500}},
        {"larger than the work area keeps its top-left visible", {500, 500}, {1400, 900}, primary, {0, 0}},
    };
    for (const Case& c : cases) {
        const POINT fitted = FitToWorkArea(c.origin, c.size, c.work);
        EXPECT_EQ(fitted.x, c.expected.x) << c.name;
        EXPECT_EQ(fitted.y, c.expected.y) << c.name;
    }
}

TEST(MenuLabel, MeasuresInTheMenuFontAtTheDpi)
{
    const int at96 = MeasureMenuLabel(L"Nouvelle cadrel", 96);
    const int at144 = MeasureMenuLabel(L"Nouvelle cadrel", 144);
    EXPECT_GT(at96, 40);
    EXPECT_NEAR(at144, at96 * 3 / 2, at96 / 8 + 2);
    EXPECT_GT(MeasureMenuLabel(L"Nouvelle cadrel vide", 96), at96);
    EXPECT_GT(MeasureMenuLabel(L"A&B", 96), MeasureMenuLabel(L"AB", 96)) << "\"&\" is drawn as itself";
    EXPECT_EQ(MeasureMenuLabel(std::wstring(), 96), 0);
}

}  // namespace
}  // namespace cadrels
