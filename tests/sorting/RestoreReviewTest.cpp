// What a restored arrangement would newly file into and watch, and what
// declining it leaves of the restored arrangement.
#include "sorting/RestoreReview.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

using Folders = std::vector<std::wstring>;

CadrelRecord Filing(const std::string& id, const std::wstring& exts, const Folders& tabFolders, int active = 0)
{
    CadrelRecord record;
    record.id = id;
    record.active = active;
    record.rule.enabled = !exts.empty();
    record.rule.exts = exts;
    for (const std::wstring& folder : tabFolders) {
        record.tabs.push_back(CadrelTab{L"t", folder});
    }
    return record;
}

Settings Arrangement(std::vector<std::vector<CadrelRecord>> pages, Folders watched = {})
{
    Settings settings;
    for (std::vector<CadrelRecord>& cadrels : pages) {
        Workspace page;
        page.cadrels = std::move(cadrels);
        settings.workspaces.push_back(std::move(page));
    }
    settings.watchFolders = std::move(watched);
    return settings;
}

TEST(NewRestoreReach, ListsOnlyWhatTheArrangementInUseDoesNotAlreadyDo)
{
    const Settings current = Arrangement({{Filing("a", L"txt", {L"C:\\Docs"}), Filing("b", L"", {L"C:\\Plain"})},
                                          {Filing("c", L"pdf", {L"D:\\Papers"})}},
                                         {L"C:\\Inbox"});
    struct Case {
        const char* what;
        Settings restored;
        Folders ruleFolders;
        Folders watchFolders;
    };
    const Case cases[] = {
        {"the same arrangement", current, {}, {}},
        {"the same rule, folder spelt otherwise, on another page",
         Arrangement({{}, {Filing("x", L"txt", {L"c:/docs/"})}}, {L"c:\\inbox\\"}),
         {},
         {}},
        {"a rule into a folder no rule files into",
         Arrangement({{Filing("a", L"txt", {L"E:\\Elsewhere"})}}),
         {L"E:\\Elsewhere"},
         {}},
        {"another rule into a folder already filed into",
         Arrangement({{Filing("a", L"*", {L"C:\\Docs"})}}),
         {L"C:\\Docs"},
         {}},
        {"a rule on a folder that has none", Arrangement({{Filing("b", L"txt", {L"C:\\Plain"})}}), {L"C:\\Plain"}, {}},
        {"the active tab is the destination",
         Arrangement({{Filing("m", L"txt", {L"C:\\Docs", L"F:\\Second"}, 1)}}),
         {L"F:\\Second"},
         {}},
        {"a rule turned off, an empty rule, a tab out of range",
         Arrangement({{[] {
                           CadrelRecord off = Filing("o", L"txt", {L"G:\\Off"});
                           off.rule.enabled = false;
                           return off;
                       }(),
                       Filing("e", L"", {L"G:\\Empty"}), Filing("r", L"txt", {L"G:\\Range"}, 3)}}),
         {},
         {}},
        {"two rules into one new folder are one folder",
         Arrangement({{Filing("a", L"txt", {L"H:\\Both"}), Filing("b", L"md", {L"h:\\both"})}}),
         {L"H:\\Both"},
         {}},
        {"new watched folders, each once, the empty entry ignored",
         Arrangement({{}}, {L"C:\\Inbox", L"W:\\New", L"", L"w:\\new\\", L"W:\\Other"}),
         {},
         {L"W:\\New", L"W:\\Other"}},
    };
    for (const Case& c : cases) {
        const RestoreReach reach = NewRestoreReach(current, c.restored);
        EXPECT_EQ(reach.ruleFolders, c.ruleFolders) << c.what;
        EXPECT_EQ(reach.watchFolders, c.watchFolders) << c.what;
        EXPECT_EQ(reach.Empty(), c.ruleFolders.empty() && c.watchFolders.empty()) << c.what;
    }
}

TEST(NewRestoreReach, ARuleTurnedOffInUseDoesNotVouchForTheSameRuleTurnedOn)
{
    CadrelRecord declined = Filing("a", L"txt", {L"C:\\Docs"});
    declined.rule.enabled = false;
    const Settings current = Arrangement({{declined}});
    const RestoreReach reach = NewRestoreReach(current, Arrangement({{Filing("a", L"txt", {L"C:\\Docs"})}}));
    EXPECT_EQ(reach.ruleFolders, Folders{L"C:\\Docs"});
}

TEST(SetAsideNewReach, TurnsOffTheNewRulesAndDropsTheNewWatchedFoldersOnly)
{
    const Settings current = Arrangement({{Filing("a", L"txt", {L"C:\\Docs"})}}, {L"C:\\Inbox"});
    Settings restored = Arrangement({{Filing("a", L"txt", {L"C:\\Docs"}), Filing("n", L"*", {L"E:\\New"})},
                                     {Filing("p", L"png", {L"E:\\Pictures"})}},
                                    {L"W:\\Watched", L"c:/inbox"});
    const Settings before = restored;
    SetAsideNewReach(current, restored);

    EXPECT_TRUE(restored.workspaces[0].cadrels[0].rule.enabled) << "the rule already in use stays on";
    EXPECT_FALSE(restored.workspaces[0].cadrels[1].rule.enabled);
    EXPECT_FALSE(restored.workspaces[1].cadrels[0].rule.enabled) << "every page";
    EXPECT_EQ(restored.workspaces[1].cadrels[0].rule.exts, L"png") << "the conditions are kept";
    EXPECT_EQ(restored.watchFolders, Folders{L"c:/inbox"});
    EXPECT_TRUE(NewRestoreReach(current, restored).Empty()) << "nothing is left to ask about";

    // Only the rule switches and the watch list changed.
    Settings expected = before;
    expected.workspaces[0].cadrels[1].rule.enabled = false;
    expected.workspaces[1].cadrels[0].rule.enabled = false;
    expected.watchFolders = {L"c:/inbox"};
    EXPECT_EQ(restored, expected);
}

Settings WithNetworkPlaces()
{
    CadrelRecord record = Filing("n", L"", {L"C:\\Local", L"\\\\server\\share\\docs", L"D:\\Third"}, 2);
    record.tabs[0].emblem = L"//server/icons/star.svg";
    record.tabs[2].hostedExe = L"\\\\?\\UNC\\server\\tools\\app.exe";
    CadrelRecord onlyRemote = Filing("r", L"", {L"\\\\nas\\photos"});
    Settings settings = Arrangement({{record, onlyRemote}}, {L"\\\\server\\inbox"});
    settings.dock = {L"C:\\Windows\\notepad.exe", L"\\\\server\\tools\\run.exe"};
    settings.dockIcons = {{L"C:\\Windows\\notepad.exe", L"\\\\server\\icons\\pad.ico"},
                          {L"C:\\Tools\\local.exe", L"C:\\Icons\\local.ico"}};
    return settings;
}

TEST(NewRestoreReach, ListsEveryNetworkPlaceTheArrangementInUseNamesNowhere)
{
    const Settings restored = WithNetworkPlaces();
    const RestoreReach fresh = NewRestoreReach(Arrangement({{}}), restored);
    EXPECT_EQ(fresh.networkPaths,
              (Folders{L"//server/icons/star.svg", L"\\\\server\\share\\docs", L"\\\\?\\UNC\\server\\tools\\app.exe",
                       L"\\\\nas\\photos", L"\\\\server\\inbox", L"\\\\server\\tools\\run.exe",
                       L"\\\\server\\icons\\pad.ico"}));
    EXPECT_EQ(fresh.watchFolders, Folders{L"\\\\server\\inbox"});

    // Named anywhere in the arrangement in use, a place is known already.
    Settings current = Arrangement({{Filing("k", L"", {L"\\\\SERVER\\share\\docs\\"})}});
    current.dock = {L"//nas/photos", L"\\\\server\\icons\\star.svg"};
    const RestoreReach known = NewRestoreReach(current, restored);
    EXPECT_EQ(known.networkPaths,
              (Folders{L"\\\\?\\UNC\\server\\tools\\app.exe", L"\\\\server\\inbox", L"\\\\server\\tools\\run.exe",
                       L"\\\\server\\icons\\pad.ico"}));
    EXPECT_TRUE(NewRestoreReach(restored, restored).Empty());
}

TEST(SetAsideNewReach, LeavesEveryNewNetworkPlaceOutAndKeepsTheRest)
{
    Settings restored = WithNetworkPlaces();
    SetAsideNewReach(Arrangement({{}}), restored);
    ASSERT_EQ(restored.workspaces[0].cadrels.size(), 1u) << "the cadrel left without a tab goes";
    const CadrelRecord& kept = restored.workspaces[0].cadrels[0];
    ASSERT_EQ(kept.tabs.size(), 2u);
    EXPECT_EQ(kept.tabs[0].folder, L"C:\\Local");
    EXPECT_EQ(kept.tabs[1].folder, L"D:\\Third");
    EXPECT_EQ(kept.active, 1) << "the active tab is still the one it was";
    EXPECT_TRUE(kept.tabs[0].emblem.empty());
    EXPECT_TRUE(kept.tabs[1].hostedExe.empty());
    EXPECT_TRUE(restored.watchFolders.empty());
    EXPECT_EQ(restored.dock, Folders{L"C:\\Windows\\notepad.exe"});
    EXPECT_EQ(restored.dockIcons, (std::map<std::wstring, std::wstring>{{L"C:\\Tools\\local.exe", L"C:\\Icons\\local.ico"}}));
    EXPECT_TRUE(NewRestoreReach(Arrangement({{}}), restored).Empty());

    // A cadrel that had no tab to begin with is not this decision's business.
    Settings tabless = Arrangement({{Filing("t", L"", {})}});
    SetAsideNewReach(Arrangement({{}}), tabless);
    EXPECT_EQ(tabless.workspaces[0].cadrels.size(), 1u);
}

TEST(SetAsideNewReach, TheActiveTabFollowsWhenATabBeforeItOrItselfGoes)
{
    struct Case {
        Folders tabs;
        int active;
        int expected;
    };
    const Case cases[] = {
        {{L"\\\\s\\a", L"C:\\b", L"C:\\c"}, 2, 1},
        {{L"C:\\a", L"\\\\s\\b", L"C:\\c"}, 1, 1},
        {{L"C:\\a", L"C:\\b", L"\\\\s\\c"}, 2, 1},
        {{L"C:\\a", L"\\\\s\\b"}, 0, 0},
    };
    for (const Case& c : cases) {
        Settings restored = Arrangement({{Filing("c", L"", c.tabs, c.active)}});
        SetAsideNewReach(Arrangement({{}}), restored);
        EXPECT_EQ(restored.workspaces[0].cadrels.at(0).active, c.expected) << c.active;
    }
}

}  // namespace
}  // namespace cadrels
