#include "gfx/BuiltinIconTable.h"
#include "gfx/IconKey.h"
#include "gfx/IconPixels.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace cadrels {
namespace {

TEST(IconKey, SplitsAtTheLastAtSoPathsWithAtKeepTheirIcons)
{
    struct Case {
        std::wstring path;
        int size;
        std::wstring key;
    };
    const Case cases[] = {
        {L"C:\\Users\\me\\a.png", 44, L"C:\\Users\\me\\a.png@44"},
        {L"C:\\Pictures\\photo@2x.png", 72, L"C:\\Pictures\\photo@2x.png@72"},
        {L"C:\\me@work\\notes@home.txt", 20, L"C:\\me@work\\notes@home.txt@20"},
        {L"C:\\x.txt", -3, L"C:\\x.txt@-3"},
        {L"", 0, L"@0"},
    };
    for (const Case& c : cases) {
        const std::wstring key = MakeIconKey(c.path, c.size);
        EXPECT_EQ(key, c.key);
        EXPECT_EQ(IconKeyPath(key), c.path) << key;
    }
    EXPECT_EQ(IconKeyPath(L"no-size"), L"no-size");
}

// Zooming notch by notch asks for a few sizes, never one per notch, and the
// size asked for is never smaller than the side drawn.
TEST(IconKey, RequestSizesAreAFewStepsAtLeastAsLargeAsTheSideDrawn)
{
    struct Case {
        int side;
        int asked;
    };
    const Case cases[] = {{1, 16},    {16, 16},   {17, 20},   {44, 48},   {48, 48},   {49, 64},
                          {200, 256}, {256, 256}, {257, 320}, {400, 448}, {9000, 4096}, {0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(IconRequestSize(c.side), c.asked) << c.side;
    }
    int distinct = 0;
    int last = 0;
    for (int side = 44; side <= 80; ++side) {
        const int asked = IconRequestSize(side);
        EXPECT_GE(asked, side);
        distinct += asked != last ? 1 : 0;
        last = asked;
    }
    EXPECT_LE(distinct, 3) << "a zoom from 44 to 80 pixels asks for at most three sizes";
}

TEST(IconKey, RecognisesSvgFilesInAnyCaseAndBuiltinsByExactPrefix)
{
    EXPECT_TRUE(IsSvgFileKey(L"C:\\icons\\Logo.SVG"));
    EXPECT_TRUE(IsSvgFileKey(L"a.Svg"));
    EXPECT_TRUE(IsSvgFileKey(L".svg"));
    EXPECT_FALSE(IsSvgFileKey(L"svg"));
    EXPECT_FALSE(IsSvgFileKey(L"C:\\a.svgz"));
    EXPECT_FALSE(IsSvgFileKey(L"C:\\a.png"));
    EXPECT_TRUE(IsBuiltinIconKey(L"svg:trash"));
    EXPECT_FALSE(IsBuiltinIconKey(L"SVG:trash"));
}

TEST(IconPixels, AlphaFitAndPictureRules)
{
    EXPECT_TRUE(AllAlphaZero({10, 20, 30, 0, 40, 50, 60, 0}));
    EXPECT_FALSE(AllAlphaZero({10, 20, 30, 0, 40, 50, 60, 1}));

    struct Fit {
        std::uint32_t width, height, side, expectedWidth, expectedHeight;
    };
    const Fit fits[] = {
        {4000, 3000, 72, 72, 54}, {3000, 4000, 44, 33, 44}, {20, 10, 44, 20, 10},
        {10000, 1, 64, 64, 1},    {0, 10, 44, 0, 0},        {44, 44, 44, 44, 44},
    };
    for (const Fit& f : fits) {
        const PixelSize size = FitWithin(f.width, f.height, f.side);
        EXPECT_EQ(size.width, f.expectedWidth) << f.width << "x" << f.height << " in " << f.side;
        EXPECT_EQ(size.height, f.expectedHeight) << f.width << "x" << f.height << " in " << f.side;
    }

    EXPECT_TRUE(IsPictureFile(L"C:\\p\\IMG_001.JPG"));
    EXPECT_TRUE(IsPictureFile(L"C:\\p\\scan.tiff"));
    EXPECT_FALSE(IsPictureFile(L"C:\\p.png\\readme"));
    EXPECT_FALSE(IsPictureFile(L"C:\\p\\notes.txt"));
}

TEST(BuiltinIconTable, HoldsTheRowsInPickerOrderAndLooksUpExactly)
{
    const auto table = BuiltinIconTable();
    ASSERT_EQ(table.size(), 168u);
    std::set<int> ids;
    std::set<std::wstring> keys;
    for (const BuiltinIcon& row : table) {
        EXPECT_TRUE(std::wstring(row.key).starts_with(L"svg:")) << row.key;
        ids.insert(row.resourceId);
        keys.insert(row.key);
    }
    EXPECT_EQ(ids.size(), 168u);
    EXPECT_EQ(keys.size(), 168u);
    EXPECT_EQ(ids.count(219), 0u);
    EXPECT_EQ(ids.count(241), 0u);

    struct Lookup {
        const wchar_t* key;
        int id;
    };
    const Lookup lookups[] = {
        {L"svg:trash", 202},
        {L"svg:dock_macos_folder_dock_graphite_work", 495},
        {L"svg:dock_macos_folder_dock_archives", 400},
        {L"svg:dock_macos_folder_dock_gold_archives", 412},
        {L"svg:dock_macos_calculator", 218},
        {L"svg:dock_macos_camera", 220},
        {L"svg:dock_macos_folder_work", 239},
        {L"svg:dock_macos_gaming_battlenet", 240},
        {L"svg:dock_macos_gaming_nintendo_switch", 242},
        {L"svg:dock_macos_videos", 270},
    };
    for (const Lookup& l : lookups) {
        const BuiltinIcon* row = FindBuiltinIcon(l.key);
        ASSERT_NE(row, nullptr) << l.key;
        EXPECT_EQ(row->resourceId, l.id) << l.key;
    }
    EXPECT_EQ(FindBuiltinIcon(L"SVG:trash"), nullptr);
    EXPECT_EQ(FindBuiltinIcon(L"svg:Trash"), nullptr);
    EXPECT_EQ(FindBuiltinIcon(L"svg:trash "), nullptr);
    EXPECT_EQ(FindBuiltinIcon(L""), nullptr);

    EXPECT_STREQ(table[0].key, L"svg:thispc");
    EXPECT_STREQ(table[4].key, L"svg:trash");
    EXPECT_STREQ(table[5].key, L"svg:dock_macos_app_store");
    EXPECT_STREQ(table[22].key, L"svg:dock_macos_folder_dock");
    EXPECT_STREQ(table[126].key, L"svg:dock_macos_folder_archives");
    EXPECT_STREQ(table[138].key, L"svg:dock_macos_gaming_battlenet");
    EXPECT_STREQ(table[167].key, L"svg:dock_macos_videos");
}

}  // namespace
}  // namespace cadrels
