#include "dock/AppCatalogRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrels {
namespace {

AppCatalog Catalog(std::initializer_list<const wchar_t*> names)
{
    AppCatalog catalog;
    for (const wchar_t* name : names) {
        catalog.push_back({name, std::wstring(name) + L".id"});
    }
    return catalog;
}

std::vector<std::wstring> NamesOf(const AppCatalog& catalog, const std::vector<int>& matches)
{
    std::vector<std::wstring> names;
    for (const int index : matches) {
        names.push_back(catalog[static_cast<size_t>(index)].name);
    }
    return names;
}

// Ordinal on the lower-cased names: enough to show which order the sort
// asks for, and equal for names that differ only in case.
int CaselessOrder(const std::wstring& a, const std::wstring& b)
{
    return LowerUnits(a).compare(LowerUnits(b));
}

TEST(AppCatalogRules, GroupKeyFoldsLatinInitialsAndSendsTheRestToHash)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* key;
    };
    const Case cases[] = {
        {L"Calculator", L"C"},   {L"calculator", L"C"},  {L"\u00C9diteur", L"E"}, {L"\u00E9diteur", L"E"},
        {L"\u00C0 propos", L"A"}, {L"\u00D8rsted", L"O"}, {L"\u00D1and\u00FA", L"N"}, {L"\u00DDoga", L"Y"},
        {L"\u00C7a", L"C"},      {L"7-Zip", L"#"},       {L"!Tool", L"#"},        {L"", L"#"},
        {L"\u0416\u0443\u043A", L"#"}, {L"\u65E5\u672C", L"#"}, {L"\u00DF", L"#"},   {L" Space", L"#"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AppGroupKey({c.name, L"id"}), c.key) << "name " << testing::PrintToString(std::wstring(c.name));
    }
}

TEST(AppCatalogRules, SkipListIgnoresLetterCase)
{
    struct Case {
        const wchar_t* appId;
        bool skipped;
    };
    const Case cases[] = {
        {L"C:\\Help\\manual.chm", true}, {L"C:\\Site.URL", true},     {L"readme.TXT", true},
        {L"doc.Html", true},             {L"doc.htm", true},          {L"a.pdf", true},
        {L"a.rtf", true},                {L"notes.md", true},         {L"x.log", true},
        {L"setup.INI", true},            {L"home.website", true},     {L"old.hlp", true},
        {L"Microsoft.WindowsCalculator_8wekyb3d8bbwe!App", false},    {L"C:\\Tools\\md", false},
        {L"C:\\Programs\\Editor.lnk", false},                         {L"", false},
        {L"C:\\a.txt.exe", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSkippedAppId(c.appId), c.skipped) << testing::PrintToString(std::wstring(c.appId));
    }
}

TEST(AppCatalogRules, SortPutsHashFirstThenKeysThenNamesAndKeepsEqualsInOrder)
{
    AppCatalog catalog = {
        {L"zeta", L"1"}, {L"Alpha", L"2"}, {L"7-Zip", L"3"}, {L"\u00C9diteur", L"4"}, {L"alpha", L"5"},
        {L"Beta", L"6"}, {L"!bang", L"7"}, {L"Edge", L"8"},  {L"ALPHA", L"9"},
    };
    SortAppCatalog(catalog, CaselessOrder);
    std::vector<std::wstring> ids;
    for (const AppEntry& entry : catalog) {
        ids.push_back(entry.appId);
    }
    // "#" first ("!bang" before "7-Zip" by name), the three alphas equal
    // without case and so in enumeration order, "Edge" before "Editeur".
    const std::vector<std::wstring> expected = {L"7", L"3", L"2", L"5", L"9", L"6", L"8", L"4", L"1"};
    EXPECT_EQ(ids, expected);
}

TEST(AppCatalogRules, LaunchPathDependsOnTheSource)
{
    EXPECT_EQ(AppLaunchPath({L"Calc", L"Microsoft.Calc!App", AppSource::AppsFolder}),
              L"shell:AppsFolder\\Microsoft.Calc!App");
    EXPECT_EQ(AppLaunchPath({L"Editor", L"C:\\Start\\Editor.lnk", AppSource::Shortcut}), L"C:\\Start\\Editor.lnk");
    EXPECT_EQ(AppLaunchPath({L"Nothing", L"", AppSource::AppsFolder}), L"");
}

TEST(AppCatalogRules, GridColumnsAndCellWidthFollowTheWindowWidth)
{
    struct Case {
        float width;
        float scale;
        int columns;
        float cellWidth;
    };
    const Case cases[] = {
        {1080.0f, 1.0f, 8, 128.5f},
        {1620.0f, 1.5f, 8, 192.75f},
        {360.0f, 1.0f, 2, 154.0f},
        {100.0f, 1.0f, 1, 48.0f},  // narrower than one cell: still one column
        {52.0f + 116.0f * 3, 1.0f, 3, 116.0f},
    };
    const AppCatalog catalog = Catalog({L"A"});
    for (const Case& c : cases) {
        const LaunchpadGrid grid = LayoutLaunchpadGrid(catalog, {0}, c.width, c.scale);
        EXPECT_EQ(grid.columns, c.columns) << c.width;
        EXPECT_FLOAT_EQ(grid.cellWidth, c.cellWidth) << c.width;
        EXPECT_FLOAT_EQ(grid.cellHeight, 104.0f * c.scale);
    }
}

TEST(AppCatalogRules, GridStartsAGroupAtEachKeyChangeAndWrapsRows)
{
    // Three A entries in two columns, then one B: two rows of A, then B's header.
    const AppCatalog catalog = Catalog({L"A1", L"A2", L"A3", L"B1"});
    const LaunchpadGrid grid = LayoutLaunchpadGrid(catalog, {0, 1, 2, 3}, 52.0f + 2 * 116.0f, 1.0f);
    ASSERT_EQ(grid.columns, 2);
    ASSERT_EQ(grid.cells.size(), 4u);
    ASSERT_EQ(grid.headers.size(), 2u);
    EXPECT_EQ(grid.headers[0].key, L"A");
    EXPECT_FLOAT_EQ(grid.headers[0].y, 0.0f);
    EXPECT_FLOAT_EQ(grid.cells[0].x, 26.0f);
    EXPECT_FLOAT_EQ(grid.cells[0].y, 30.0f);
    EXPECT_FLOAT_EQ(grid.cells[1].x, 26.0f + 116.0f);
    EXPECT_FLOAT_EQ(grid.cells[1].y, 30.0f);
    EXPECT_FLOAT_EQ(grid.cells[2].x, 26.0f);
    EXPECT_FLOAT_EQ(grid.cells[2].y, 134.0f);
    EXPECT_EQ(grid.headers[1].key, L"B");
    EXPECT_FLOAT_EQ(grid.headers[1].y, 238.0f);
    EXPECT_FLOAT_EQ(grid.cells[3].x, 26.0f);
    EXPECT_FLOAT_EQ(grid.cells[3].y, 268.0f);
    EXPECT_FLOAT_EQ(grid.contentHeight, 372.0f);

    const LaunchpadGrid empty = LayoutLaunchpadGrid(catalog, {}, 1080.0f, 1.0f);
    EXPECT_TRUE(empty.cells.empty());
    EXPECT_TRUE(empty.headers.empty());
    EXPECT_FLOAT_EQ(empty.contentHeight, 0.0f);
}

TEST(AppCatalogRules, HitTestKeepsToTheGridBandAndExcludesRightAndBottomEdges)
{
    const AppCatalog catalog = Catalog({L"A1", L"A2", L"A3"});
    const LaunchpadGrid grid = LayoutLaunchpadGrid(catalog, {0, 1, 2}, 52.0f + 2 * 116.0f, 1.0f);
    const float height = 400.0f;
    struct Case {
        float x;
        float y;
        float scroll;
        int hit;
    };
    // Cell 0: x 26..142, y 86+30 = 116..220; cell 1: x 142..258; cell 2: y 220..324.
    const Case cases[] = {
        {26.0f, 116.0f, 0.0f, 0},   {141.9f, 219.9f, 0.0f, 0}, {142.0f, 116.0f, 0.0f, 1},
        {30.0f, 220.0f, 0.0f, 2},   {25.9f, 150.0f, 0.0f, -1}, {258.0f, 150.0f, 0.0f, -1},
        {30.0f, 100.0f, 0.0f, -1},  // the header band
        {30.0f, 85.0f, 100.0f, -1},  // above the grid: nothing, even where a scrolled cell would be
        {30.0f, 120.0f, 100.0f, 2}, {30.0f, 374.0f, 0.0f, -1}, {30.0f, 323.0f, 0.0f, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LaunchpadHitTest(grid, c.x, c.y, height, c.scroll, 1.0f), c.hit) << c.x << "," << c.y;
    }
    // Bottom band: with a short window the last cell's lower part lies below the grid area.
    EXPECT_EQ(LaunchpadHitTest(grid, 30.0f, 300.0f, 320.0f, 0.0f, 1.0f), -1);
}

TEST(AppCatalogRules, ScrollStaysWithinTheContentBeyondTheVisibleGrid)
{
    struct Case {
        float scroll;
        float content;
        float height;
        float scale;
        float clamped;
    };
    const Case cases[] = {
        {-50.0f, 1000.0f, 760.0f, 1.0f, 0.0f},   {100.0f, 1000.0f, 760.0f, 1.0f, 100.0f},
        {900.0f, 1000.0f, 760.0f, 1.0f, 352.0f},  // 1000 - (760 - 112)
        {50.0f, 300.0f, 760.0f, 1.0f, 0.0f},      {900.0f, 1000.0f, 760.0f, 2.0f, 464.0f},
        {10.0f, 0.0f, 760.0f, 1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(ClampLaunchpadScroll(c.scroll, c.content, c.height, c.scale), c.clamped);
    }
}

TEST(AppCatalogRules, PlacementCentresInTheWorkAreaWithinItsLimits)
{
    struct Case {
        PixelRect work;
        float scale;
        PixelRect placed;
    };
    const Case cases[] = {
        {{0, 0, 1920, 1040}, 1.0f, {420, 140, 1500, 900}},    // 1080 x 760
        {{0, 0, 1280, 760}, 1.0f, {179, 68, 1100, 691}},      // 921 x 623
        {{0, 0, 400, 300}, 1.0f, {20, -10, 380, 310}},        // the minimums win
        {{100, 50, 2020, 1130}, 1.5f, {369, 147, 1751, 1032}},  // 72 % and 82 % win over the scaled limits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceLaunchpad(c.work, c.scale), c.placed) << c.work.right;
    }
}

TEST(AppCatalogRules, BackspaceRemovesWholeCharacters)
{
    struct Case {
        std::wstring query;
        std::wstring after;
    };
    const Case cases[] = {
        {L"", L""},
        {L"ab", L"a"},
        {std::wstring(L"a") + wchar_t(0xD83D) + wchar_t(0xDE00), L"a"},  // an emoji
        {std::wstring(L"x") + wchar_t(0xD840) + wchar_t(0xDC00), L"x"},  // a CJK extension B ideograph
        {std::wstring(1, wchar_t(0xDE00)), L""},                       // a stray low unit alone
        {std::wstring(L"a") + wchar_t(0xD83D), L"a"},                  // a stray high unit
        {L"e\u0301", L"e"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithoutLastCharacter(c.query), c.after);
    }
}

TEST(AppCatalogRules, SubstringMatchesComeFirstInCatalogueOrder)
{
    const AppCatalog catalog = Catalog({L"Calculator", L"Control Panel", L"Disk Cleanup", L"Paint", L"Notepad"});
    struct Case {
        const wchar_t* query;
        std::vector<std::wstring> names;
    };
    const Case cases[] = {
        {L"co", {L"Control Panel"}},
        {L"CO", {L"Control Panel"}},
        {L"cO", {L"Control Panel"}},
        {L"pa", {L"Control Panel", L"Paint", L"Notepad"}},
        {L"c", {L"Calculator", L"Control Panel", L"Disk Cleanup"}},
        {L"zz", {}},
        {L"", {L"Calculator", L"Control Panel", L"Disk Cleanup", L"Paint", L"Notepad"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NamesOf(catalog, MatchApps(catalog, c.query)), c.names)
            << testing::PrintToString(std::wstring(c.query));
    }
}

TEST(AppCatalogRules, LooserMatchesFollowWithoutDuplicates)
{
    const AppCatalog catalog =
        Catalog({L"Microsoft PowerPoint", L"Visual Studio Code", L"R\u00E9glages", L"VSCode Helper", L"Paint",
                 L"Caf\u00E9 Cr\u00E8me", L"Stra\u00DFe", L"\u0152uvre", L"Reglages avanc\u00E9s"});
    struct Case {
        const wchar_t* query;
        std::vector<std::wstring> names;
    };
    const Case cases[] = {
        // The substring first, then initials.
        {L"vsc", {L"VSCode Helper", L"Visual Studio Code"}},
        {L"pp", {L"Microsoft PowerPoint"}},
        {L"mpp", {L"Microsoft PowerPoint"}},
        // Plain substring first, then the accented name.
        {L"reglages", {L"Reglages avanc\u00E9s", L"R\u00E9glages"}},
        {L"R\u00C9GLAGES", {L"R\u00E9glages", L"Reglages avanc\u00E9s"}},
        {L"cafe creme", {L"Caf\u00E9 Cr\u00E8me"}},
        {L"strasse", {L"Stra\u00DFe"}},
        {L"oeuvre", {L"\u0152uvre"}},
        {L"visual code", {L"Visual Studio Code"}},
        {L"po", {L"Microsoft PowerPoint"}},
        {L"xyz", {}},
        {L"sv", {}},  // word starts keep their order
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NamesOf(catalog, MatchApps(catalog, c.query)), c.names)
            << testing::PrintToString(std::wstring(c.query));
    }
}

TEST(AppCatalogRules, WordStartsNeedEachPieceAtTheStartOfAWord)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* query;
        bool matches;
    };
    const Case cases[] = {
        {L"Visual Studio Code", L"vsc", true},  {L"Visual Studio Code", L"visstu", true},
        {L"Visual Studio Code", L"isc", false}, {L"Visual Studio Code", L"vsco", true},
        {L"Visual Studio Code", L"vcs", false}, {L"PowerPoint", L"pp", true},
        {L"PowerPoint", L"powp", true},         {L"Powerpoint", L"pp", false},
        {L"7-Zip File Manager", L"7zfm", true}, {L"Anything", L"", false},
        {L"", L"a", false},                     {L"Word", L"wordx", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchesWordStarts(c.name, c.query), c.matches)
            << testing::PrintToString(std::wstring(c.name)) << " / " << testing::PrintToString(std::wstring(c.query));
    }
}

class HighlightGrid : public ::testing::Test {
protected:
    // Columns of 3: group A has 5 cells (rows of 3 and 2), group B has 4 (3 and 1).
    AppCatalog catalog_ = Catalog({L"A1", L"A2", L"A3", L"A4", L"A5", L"B1", L"B2", L"B3", L"B4"});
    LaunchpadGrid grid_ = LayoutLaunchpadGrid(catalog_, {0, 1, 2, 3, 4, 5, 6, 7, 8}, 52.0f + 3 * 116.0f, 1.0f);
};

TEST_F(HighlightGrid, ArrowsPagesAndEndsMoveThroughRowsAcrossGroups)
{
    ASSERT_EQ(grid_.columns, 3);
    struct Case {
        int from;
        HighlightMove move;
        int to;
    };
    const Case cases[] = {
        {-1, HighlightMove::Down, 0},    {-1, HighlightMove::End, 0},     {0, HighlightMove::Left, 0},
        {0, HighlightMove::Right, 1},    {8, HighlightMove::Right, 8},    {2, HighlightMove::Right, 3},
        {1, HighlightMove::Down, 4},     {2, HighlightMove::Down, 4},     // the shorter row: its nearest cell
        {4, HighlightMove::Down, 6},     // across the B header
        {6, HighlightMove::Up, 4},       {5, HighlightMove::Up, 3},       {0, HighlightMove::Up, 0},
        {7, HighlightMove::Down, 8},     {8, HighlightMove::Down, 8},     {0, HighlightMove::Home, 0},
        {4, HighlightMove::Home, 0},     {1, HighlightMove::End, 8},      {1, HighlightMove::PageDown, 6},
        {0, HighlightMove::PageDown, 5}, {8, HighlightMove::PageDown, 8}, {7, HighlightMove::PageUp, 1},
        {1, HighlightMove::PageUp, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveHighlight(grid_, c.from, c.move, 2), c.to)
            << "from " << c.from << " move " << static_cast<int>(c.move);
    }
    const LaunchpadGrid empty = LayoutLaunchpadGrid(catalog_, {}, 400.0f, 1.0f);
    EXPECT_EQ(MoveHighlight(empty, -1, HighlightMove::Down, 2), -1);
}

TEST_F(HighlightGrid, ScrollFollowsTheHighlightAndShowsAGroupHeader)
{
    // Visible grid 300 - 112 = 188 px: about one and a half rows.
    const float height = 300.0f;
    // Cell 3 (A's second row) spans 134..238: scrolled to show its bottom.
    EXPECT_FLOAT_EQ(ScrollToShowCell(grid_, 3, 0.0f, height, 1.0f), 238.0f - 188.0f);
    // Already visible: unchanged.
    EXPECT_FLOAT_EQ(ScrollToShowCell(grid_, 3, 60.0f, height, 1.0f), 60.0f);
    // The first row of B (y 268) brings its header (y 238) when scrolling up to it.
    EXPECT_FLOAT_EQ(ScrollToShowCell(grid_, 5, 400.0f, height, 1.0f), 238.0f);
    // Back to the first cell: the top with A's header.
    EXPECT_FLOAT_EQ(ScrollToShowCell(grid_, 0, 200.0f, height, 1.0f), 0.0f);
    EXPECT_FLOAT_EQ(ScrollToShowCell(grid_, -1, 42.0f, height, 1.0f), 42.0f);
}

TEST(AppCatalogRules, BackdropTintLightensTheAverage)
{
    const LaunchpadTint black = LaunchpadTintFrom(0.0, 0.0, 0.0);
    EXPECT_FLOAT_EQ(black.r, 153.0f / 255.0f);
    EXPECT_FLOAT_EQ(black.a, 0.94f);
    const LaunchpadTint white = LaunchpadTintFrom(255.0, 128.0, 0.0);
    EXPECT_FLOAT_EQ(white.r, 1.0f);
    EXPECT_FLOAT_EQ(white.g, static_cast<float>((128.0 * 0.4 + 153.0) / 255.0));
    EXPECT_FLOAT_EQ(white.b, 153.0f / 255.0f);
}

}  // namespace
}  // namespace cadrels
