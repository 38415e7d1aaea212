#include "cadrel/CadrelClosing.h"
#include "cadrel/ItemMenuModel.h"

#include "LanguageScope.h"
#include "model/PathText.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

CadrelRecord Record(const char* id, std::vector<std::wstring> folders)
{
    CadrelRecord record;
    record.id = id;
    for (std::wstring& folder : folders) {
        CadrelTab tab;
        tab.title = L"t";
        tab.folder = std::move(folder);
        record.tabs.push_back(std::move(tab));
    }
    return record;
}

TEST(CadrelClosing, FoldersShownByOtherTabsOfAnyPageAreLeftAlone)
{
    Settings settings;
    settings.workspaces.resize(2);
    settings.workspaces[0].cadrels.push_back(Record("{A}", {L"C:\\C\\Photos", L"C:\\C\\Notes", L"C:\\C\\Seul"}));
    settings.workspaces[0].cadrels.push_back(Record("{B}", {L"c:\\c\\photos\\"}));
    // The same cadrel on another page after a restore counts as another tab.
    settings.workspaces[1].cadrels.push_back(Record("{A}", {L"C:\\C\\Notes\\2024"}));
    settings.workspaces[1].cadrels.push_back(Record("{C}", {L"C:\\C\\SeulementPas"}));
    const std::vector<std::wstring> folders = {L"C:\\C\\Photos", L"C:\\C\\Notes", L"C:\\C\\Seul"};
    EXPECT_EQ(FoldersReferencedElsewhere(settings, 0, "{A}", folders),
              (std::vector<std::wstring>{L"C:\\C\\Photos", L"C:\\C\\Notes"}));
    // Seen from page 1, page 0's {A} is another cadrel's record.
    EXPECT_EQ(FoldersReferencedElsewhere(settings, 1, "{A}", {L"C:\\C\\Seul"}),
              (std::vector<std::wstring>{L"C:\\C\\Seul"}));
    EXPECT_TRUE(FoldersReferencedElsewhere(settings, 0, "{A}", {}).empty());
}

TEST(CadrelClosing, SameOrInsideComparesWholeComponents)
{
    EXPECT_TRUE(IsSameOrInside(L"C:\\a\\b", L"C:\\a\\b"));
    EXPECT_TRUE(IsSameOrInside(L"C:\\A\\B\\c", L"c:\\a\\b\\"));
    EXPECT_FALSE(IsSameOrInside(L"C:\\a\\bc", L"C:\\a\\b"));
    EXPECT_FALSE(IsSameOrInside(L"C:\\a", L"C:\\a\\b"));
    EXPECT_FALSE(IsSameOrInside(L"C:\\a", L""));
}

TEST(CadrelClosing, FoldersNoLongerShownDropOffTheList)
{
    std::vector<CadrelTab> tabs(2);
    tabs[0].folder = L"C:\\C\\Un";
    tabs[1].folder = L"C:\\C\\Trois\\";
    EXPECT_EQ(FoldersStillShown({L"C:\\C\\Un", L"C:\\C\\Deux", L"c:\\c\\trois"}, tabs),
              (std::vector<std::wstring>{L"C:\\C\\Un", L"c:\\c\\trois"}));
}

TEST(CadrelClosing, StayedFilesAreListedOneALineUpToTheLimit)
{
    const std::vector<std::wstring> three = {L"C:\\a\\un.txt", L"C:\\a\\deux.txt", L"C:\\a\\trois.txt"};
    struct Case {
        std::vector<std::wstring> paths;
        size_t shown;
        std::wstring expected;
    };
    const Case cases[] = {
        {three, 5, L"C:\\a\\un.txt\nC:\\a\\deux.txt\nC:\\a\\trois.txt"},
        {three, 3, L"C:\\a\\un.txt\nC:\\a\\deux.txt\nC:\\a\\trois.txt"},  // exactly the limit: no "more"
        {three, 2, L"C:\\a\\un.txt\nC:\\a\\deux.txt\n\u2026 (+1)"},
        {three, 0, L"\u2026 (+3)"},
        {{}, 4, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StayedFilesLines(c.paths, c.shown), c.expected) << c.paths.size() << " shown " << c.shown;
    }
}

TEST(CadrelClosing, AnUndoIntoAContainerNoCadrelShowsIsFound)
{
    const std::wstring root = L"C:\\Users\\u\\Cadrels";
    // "Carton" was closed; "Boite" is still shown (spelled otherwise here).
    const auto shown = [](const std::wstring& container) {
        return EqualsIgnoringAsciiCase(container, L"C:\\Users\\u\\Cadrels\\BOITE");
    };
    struct Case {
        std::vector<MovePair> moves;
        std::vector<std::wstring> missing;
    };
    const std::wstring desktop = L"C:\\Users\\u\\Desktop\\";
    const Case cases[] = {
        {{{root + L"\\Carton\\lettre.txt", desktop + L"lettre.txt"}}, {root + L"\\Carton"}},
        // Deeper items, two of one container: listed once.
        {{{root + L"\\Carton\\a\\b.txt", desktop + L"b.txt"}, {root + L"\\carton\\c.txt", desktop + L"c.txt"}},
         {root + L"\\Carton"}},
        {{{root + L"\\Boite\\x.txt", desktop + L"x.txt"}}, {}},
        {{{L"C:\\Users\\u\\Documents\\d.txt", desktop + L"d.txt"}}, {}},         // not a container at all
        {{{root + L"\\Carton", desktop + L"Carton"}}, {}},                          // the container itself
        {{{root + L"2\\Carton\\e.txt", desktop + L"e.txt"}}, {}},                // a sibling of the root
        {{{root + L"\\Boite\\y.txt", desktop + L"y.txt"}, {root + L"\\Sac\\z.txt", desktop + L"z.txt"}},
         {root + L"\\Sac"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ContainersNoCadrelShows(c.moves, root, shown), c.missing) << c.moves.front().from.size();
        EXPECT_EQ(ContainersNoCadrelShows(c.moves, root + L"\\", shown), c.missing) << "root with a separator";
    }
    EXPECT_TRUE(ContainersNoCadrelShows({{root + L"\\Carton\\f.txt", desktop + L"f.txt"}}, L"", shown).empty());
}

TEST(ItemMenuModel, TargetsAndEntries)
{
    const std::vector<std::wstring> three = {L"C:\\a", L"C:\\b", L"C:\\c"};
    EXPECT_EQ(ItemMenuTargets(three, L"C:\\b"), three);
    EXPECT_EQ(ItemMenuTargets(three, L"C:\\d"), (std::vector<std::wstring>{L"C:\\d"}));
    EXPECT_EQ(ItemMenuTargets({L"C:\\a"}, L"C:\\a"), (std::vector<std::wstring>{L"C:\\a"}));
    EXPECT_EQ(ItemMenuTargets(three, L"c:\\b"), (std::vector<std::wstring>{L"c:\\b"})) << "exact comparison";

    const testing::LanguageScope french(0);
    const std::vector<ItemMenuEntry> several = ItemMenuEntries(3, true);
    ASSERT_EQ(several.size(), 6u);
    EXPECT_EQ(several[0].label, L"Cadrels — Ouvrir 3 éléments");
    EXPECT_EQ(several[0].id, ItemCmdOpen);
    EXPECT_EQ(several[3].label, L"Cadrels — Copier le chemin du fichier");
    EXPECT_EQ(several[5].label, L"Cadrels — Détacher");
    const std::vector<ItemMenuEntry> one = ItemMenuEntries(1, false);
    EXPECT_EQ(one[0].label, L"Cadrels — Ouvrir");
    EXPECT_EQ(one[5].label, L"Cadrels — Épingler en tête");
}

TEST(ItemMenuModel, PinToggleIgnoresAsciiCase)
{
    std::vector<std::wstring> pinned = {L"A.txt", L"b.txt"};
    TogglePinnedName(pinned, L"a.TXT");
    EXPECT_EQ(pinned, (std::vector<std::wstring>{L"b.txt"}));
    TogglePinnedName(pinned, L"c.txt");
    EXPECT_EQ(pinned, (std::vector<std::wstring>{L"b.txt", L"c.txt"}));
}

}  // namespace
}  // namespace cadrels
