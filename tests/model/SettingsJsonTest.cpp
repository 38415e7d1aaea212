#include "model/SettingsJson.h"

#include "i18n/StringTable.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

Settings Read(std::string_view text, bool* pagesFound = nullptr)
{
    JsonValue root;
    EXPECT_TRUE(ParseJson(text, root)) << text;
    Settings settings;
    bool found = false;
    EXPECT_TRUE(SettingsFromJson(root, settings, found)) << text;
    if (pagesFound) {
        *pagesFound = found;
    }
    return settings;
}

// One page holding one cadrel whose record members are `members`.
std::string PageWithCadrel(const std::string& members)
{
    return R"({"workspaces":[{"id":"{P}","cadrels":[{"id":"{C}",)" + members + R"(}]}]})";
}

CadrelRecord ReadCadrel(const std::string& members)
{
    const Settings s = Read(PageWithCadrel(members));
    EXPECT_EQ(s.workspaces.size(), 1u);
    EXPECT_EQ(s.workspaces[0].cadrels.size(), 1u) << members;
    return s.workspaces[0].cadrels.empty() ? CadrelRecord{} : s.workspaces[0].cadrels[0];
}

// A Settings with every field away from its default, several pages, display
// keys and tabs, and text outside ASCII and outside the basic plane.
Settings FullyPopulated()
{
    Settings s;
    s.language = 11;
    s.theme = 2;
    s.snap = false;
    s.grid = 16;
    s.accent = RGB(200, 30, 40);
    s.cadrelBg = 0xFFFFFFu;
    s.dblClickHide = false;
    s.showDock = true;
    s.containersClaimed = true;
    s.dock = {L"C:\\Program Files\\Éditeur\\edit.exe", L"D:\\Données 😀"};
    s.dockIcons = {{L"D:\\Données 😀", L"svg:folder"}, {L"C:\\x.exe", L"C:\\icônes\\x.png"}};
    s.activeWorkspace = 1;
    s.watchFolders = {L"C:\\Users\\été\\Downloads", L"E:\\媒体"};
    s.hotkeys = {{0, {MOD_CONTROL | MOD_ALT, 'Z'}}, {9, {MOD_WIN, VK_F9}}};
    s.backupEnabled = true;
    s.backupFolder = L"\\\\serveur\\sauvegardes\\ユーザー";
    s.backupFreq = 2;
    s.backupKeep = 42;
    // Whole seconds: the writer keeps ten significant digits, so a fraction
    // of a second would not survive (nor does it matter for a backup time).
    s.backupLast = 1765432109.0;
    s.backupCloud = true;
    s.snapApps = {{L"code.exe", 1, 2, true}, {L"navigateur.exe", 0, 3, false}};
    s.recentDisplays = {"\\\\?\\DISPLAY#B|1920x1040@144", "\\\\?\\DISPLAY#A|1280x760@96"};
    for (int p = 0; p < 3; ++p) {
        Workspace page;
        page.id = "{PAGE-" + std::to_string(p) + "}";
        page.name = L"Page « " + std::to_wstring(p) + L" » 𝄞";
        page.layoutLocked = p == 2;
        for (int c = 0; c < 2; ++c) {
            CadrelRecord r;
            r.id = "{CADREL-" + std::to_string(p) + "-" + std::to_string(c) + "}";
            r.opacity = 0.85;
            r.tint = RGB(1, 2, 3);
            r.caccent = RGB(250, 128, 0);
            r.pinned = true;
            r.locked = true;
            r.classifyMode = 2;
            r.expandDir = 3;
            r.sortBy = 2;
            r.sortDesc = true;
            r.viewMode = 1;
            r.density = {0.6f, 1.25f, 2.0f};
            r.rule.enabled = true;
            r.rule.exts = L"png jpg;webp";
            r.rule.name = L"facture*";
            r.rule.olderDays = 30;
            r.rule.link = 3;
            r.rule.priority = -4;
            r.rule.groups = {{{0, 0, L"pdf", 0}, {2, 1, L"", 12}}, {{3, 0, L"", 4000000000LL}}};
            CadrelTab first{L"Travail 🗂", L"C:\\Users\\x\\Cadrels\\Travail"};
            first.pinned = {L"a.txt", L"é.doc"};
            first.emblem = L"svg:star";
            first.titleAuto = true;
            CadrelTab hosted{L"Éditeur", L""};
            hosted.hostedExe = L"C:\\Apps\\édit.exe";
            hosted.hostedAumid = L"Vendor.App_123!Main";
            hosted.hostedTitle = L"Sans titre – Éditeur";
            r.tabs = {first, hosted};
            r.active = 1;
            page.cadrels.push_back(r);
            page.layouts["\\\\?\\DISPLAY#A|1920x1040@96"][r.id] = CadrelGeom{"\\\\?\\DISPLAY#A", 0.04, 0.06, 0.28, 0.52, true};
            page.layouts["B|1280x760@144"][r.id] = CadrelGeom{"B", 0.5, 0.25, 0.125, 0.75, false};
        }
        s.workspaces.push_back(page);
    }
    return s;
}

TEST(SettingsJson, AFullyPopulatedSettingsSurvivesSaveLoadSaveByteForByte)
{
    const Settings original = FullyPopulated();
    const std::string first = SerializeJson(SettingsToJson(original), 2);
    Settings loaded;
    bool pagesFound = false;
    JsonValue root;
    ASSERT_TRUE(ParseJson(first, root));
    ASSERT_TRUE(SettingsFromJson(root, loaded, pagesFound));
    EXPECT_TRUE(pagesFound);
    EXPECT_EQ(loaded, original) << "every field reads back";
    EXPECT_EQ(SerializeJson(SettingsToJson(loaded), 2), first);
}

TEST(SettingsJson, KeysAreWrittenInTheDocumentOrder)
{
    const JsonValue root = SettingsToJson(FullyPopulated());
    std::vector<std::string> keys;
    for (const auto& member : root.Members()) {
        keys.push_back(member.first);
    }
    const std::vector<std::string> expected = {
        "version", "language", "theme", "snap", "grid", "accent", "cadrelBg", "dblClickHide", "showDock",
        "containersClaimed", "dock", "dockIcons", "activeWorkspace", "watchFolders", "hotkeys", "backupEnabled",
        "backupFolder", "backupFreq", "backupKeep", "backupLast", "backupCloud", "snapApps", "recentDisplays",
        "workspaces"};
    EXPECT_EQ(keys, expected);
    const JsonValue& cadrel = root.Find("workspaces")->Elements()[0].Find("cadrels")->Elements()[0];
    std::vector<std::string> recordKeys;
    for (const auto& member : cadrel.Members()) {
        recordKeys.push_back(member.first);
    }
    EXPECT_EQ(recordKeys, (std::vector<std::string>{"id", "opacity", "tint", "caccent", "active", "pinned", "locked",
                                                    "classifyMode", "expandDir", "sortBy", "sortDesc", "viewMode",
                                                    "density", "rule", "tabs"}));
}

TEST(SettingsJson, OptionalKeysAreLeftOutWhenEmpty)
{
    Settings s;
    Workspace page;
    page.id = "{P}";
    CadrelRecord record;
    record.id = "{C}";
    record.tabs.push_back(CadrelTab{L"t", L"f"});
    page.cadrels.push_back(record);
    s.workspaces.push_back(page);
    const std::string text = SerializeJson(SettingsToJson(s), 2);
    for (const char* absent : {"dockIcons", "watchFolders", "hotkeys", "backupFolder", "snapApps", "priority",
                               "groups", "emblem", "hostedExe", "hostedAumid", "hostedTitle", "titleAuto",
                               "\"pinned\": ["}) {
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;
    }
    EXPECT_NE(text.find("\"dock\": []"), std::string::npos) << "dock is always written";
    EXPECT_NE(text.find("\"density\": [\n"), std::string::npos);
    EXPECT_NE(text.find("\"pinned\": 0"), std::string::npos) << "flags are numbers";
}

TEST(SettingsJson, FlagsAcceptBooleansOnlyWhereTheReadRuleSaysSo)
{
    const Settings s = Read(R"({"snap":false,"dblClickHide":false,"showDock":true,"containersClaimed":true,
        "backupEnabled":true,"backupCloud":true,"snapApps":[{"exe":"a.exe","anchored":true}],
        "workspaces":[{"id":"{P}","layoutLocked":true,"cadrels":[{"id":"{C}","pinned":true,"locked":true,
        "sortDesc":true,"rule":{"enabled":true},"tabs":[{"title":"t","titleAuto":true}]}],
        "layouts":{"k":{"{C}":{"rolled":true}}}}]})");
    EXPECT_FALSE(s.snap);
    EXPECT_FALSE(s.dblClickHide);
    EXPECT_TRUE(s.showDock && s.containersClaimed && s.backupEnabled && s.backupCloud);
    EXPECT_TRUE(s.workspaces[0].layoutLocked);
    const CadrelRecord& r = s.workspaces[0].cadrels[0];
    EXPECT_FALSE(r.pinned || r.locked || r.sortDesc || r.rule.enabled || r.tabs[0].titleAuto);
    EXPECT_FALSE(s.snapApps[0].anchored);
    EXPECT_FALSE(s.workspaces[0].layouts.at("k").at("{C}").rolled);

    const CadrelRecord numbers = ReadCadrel(R"("pinned":2,"locked":-1,"sortDesc":0.5,"tabs":[{}])");
    EXPECT_TRUE(numbers.pinned && numbers.locked && numbers.sortDesc);
}

TEST(SettingsJson, NumbersAreClampedOrReplacedByTheirRules)
{
    struct Case {
        const char* members;
        int keep;
        int freq;
        int grid;
    };
    const Case cases[] = {
        {R"("backupKeep":0,"backupFreq":3,"grid":-5)", 1, 1, 0},
        {R"("backupKeep":500,"backupFreq":-1,"grid":8.9)", 100, 1, 8},
        {R"("backupKeep":"7","backupFreq":"2","grid":"4")", 10, 1, 0},
        {R"("backupKeep":7.9,"backupFreq":2.7,"grid":1e300)", 7, 2, 2147483647},
        {R"("backupKeep":-1e300,"backupFreq":0)", 1, 0, 0},
    };
    for (const Case& c : cases) {
        const Settings s = Read(std::string("{") + c.members + "}");
        EXPECT_EQ(s.backupKeep, c.keep) << c.members;
        EXPECT_EQ(s.backupFreq, c.freq) << c.members;
        EXPECT_EQ(s.grid, c.grid) << c.members;
    }
    EXPECT_EQ(Read(R"({"backupLast":"x"})").backupLast, 0.0);
    EXPECT_EQ(Read(R"({"version":7})").version, 2);
    EXPECT_EQ(Read(R"({"accent":-1,"cadrelBg":4294967297})").accent, 0xFFFFFFFFu);
    EXPECT_EQ(Read(R"({"cadrelBg":4294967297})").cadrelBg, 1u) << "the low 32 bits of the colour";
}

TEST(SettingsJson, CadrelRecordReadRules)
{
    const CadrelRecord r = ReadCadrel(R"("sortBy":4,"viewMode":-1,"density":[0.1,5],"opacity":"x",
        "active":5,"tabs":[{"title":"a"},{"title":"b"}])");
    EXPECT_EQ(r.sortBy, 0);
    EXPECT_EQ(r.viewMode, 0);
    EXPECT_FLOAT_EQ(r.density[0], 0.6f);
    EXPECT_FLOAT_EQ(r.density[1], 2.0f);
    EXPECT_FLOAT_EQ(r.density[2], 1.0f);
    EXPECT_DOUBLE_EQ(r.opacity, 0.62);
    EXPECT_EQ(r.active, 0) << "active 5 with two tabs";
    EXPECT_EQ(ReadCadrel(R"("active":1,"tabs":[{},{}])").active, 1);
    EXPECT_EQ(ReadCadrel(R"("active":-1,"tabs":[{},{}])").active, 0);
    EXPECT_EQ(ReadCadrel(R"("active":2,"tabs":[{},{}])").active, 0) << "one past the last tab";

    const CadrelRecord d = ReadCadrel(R"("density":[1.5,"x",0.7,9],"tabs":[{}])");
    EXPECT_FLOAT_EQ(d.density[0], 1.5f);
    EXPECT_FLOAT_EQ(d.density[1], 1.0f) << "a non-number reads as 1";
    EXPECT_FLOAT_EQ(d.density[2], 0.7f);

    EXPECT_EQ(ReadCadrel(R"("expandUp":true,"tabs":[{}])").expandDir, 1);
    EXPECT_EQ(ReadCadrel(R"("expandUp":1,"tabs":[{}])").expandDir, 1);
    EXPECT_EQ(ReadCadrel(R"("expandUp":false,"tabs":[{}])").expandDir, 0);
    EXPECT_EQ(ReadCadrel(R"("expandDir":2,"expandUp":true,"tabs":[{}])").expandDir, 2) << "expandDir wins";
    EXPECT_EQ(ReadCadrel(R"("expandDir":"x","expandUp":true,"tabs":[{}])").expandDir, 0);
}

TEST(SettingsJson, RecordsWithoutIdOrTabsAreDroppedButTheirGeometryStays)
{
    const Settings s = Read(R"({"workspaces":[{"id":"{P}","cadrels":[
        {"id":"","tabs":[{}]}, {"tabs":[{}]}, {"id":5,"tabs":[{}]}, {"id":"{NOTABS}","tabs":[1,"x",null]},
        {"id":"{EMPTY}","tabs":[]}, {"id":"{OK}","tabs":[{"title":"t"}]}, 7, "x"],
        "layouts":{"key":{"{NOTABS}":{"x":0.5},"{OK}":{},"bad":3},"other":4}}]})");
    const Workspace& page = s.workspaces[0];
    ASSERT_EQ(page.cadrels.size(), 1u);
    EXPECT_EQ(page.cadrels[0].id, "{OK}");
    ASSERT_EQ(page.layouts.size(), 1u) << "a display key whose value is not an object is skipped";
    const auto& geometries = page.layouts.at("key");
    EXPECT_EQ(geometries.size(), 2u);
    EXPECT_DOUBLE_EQ(geometries.at("{NOTABS}").x, 0.5);
    EXPECT_EQ(geometries.at("{OK}"), CadrelGeom{});
}

TEST(SettingsJson, ARecordWithoutTabsKeyGetsOneTabFromItsOlderKeys)
{
    const CadrelRecord both = ReadCadrel(R"("title":"Ancien","folder":"C:\\Vieux")");
    ASSERT_EQ(both.tabs.size(), 1u);
    EXPECT_EQ(both.tabs[0].title, L"Ancien");
    EXPECT_EQ(both.tabs[0].folder, L"C:\\Vieux");
    const CadrelRecord none = ReadCadrel(R"("opacity":0.5)");
    ASSERT_EQ(none.tabs.size(), 1u) << "even when both keys are missing";
    EXPECT_TRUE(none.tabs[0].title.empty() && none.tabs[0].folder.empty());
    const CadrelRecord notArray = ReadCadrel(R"("tabs":{"title":"x"},"title":"Y")");
    ASSERT_EQ(notArray.tabs.size(), 1u);
    EXPECT_EQ(notArray.tabs[0].title, L"Y");
}

TEST(SettingsJson, ListsSkipWhatTheyCannotUse)
{
    const Settings s = Read(R"({"dock":["a","",3,null,"b"],"watchFolders":"x",
        "dockIcons":{"a":"svg:x","":"svg:y","b":"","c":4,"a":"svg:z"},
        "hotkeys":[{"a":1,"m":2,"v":90},{"m":1},5,{"a":1,"v":89},{"a":3}],
        "snapApps":[{"exe":""},{"layout":1},{"exe":"x.exe","layout":2.5,"region":"r"}],
        "workspaces":[{"cadrels":[{"id":"{C}","tabs":[{"pinned":["a",1,"","b"]}]}]}, 3]})");
    EXPECT_EQ(s.dock, (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_TRUE(s.watchFolders.empty());
    EXPECT_EQ(s.dockIcons, (std::map<std::wstring, std::wstring>{{L"a", L"svg:z"}}))
        << "empty names and values go; a repeated name keeps its last value";
    ASSERT_EQ(s.hotkeys.size(), 2u);
    EXPECT_EQ(s.hotkeys.at(1), (HotkeyBinding{0, 89})) << "a later binding replaces an earlier one";
    EXPECT_EQ(s.hotkeys.at(3), (HotkeyBinding{0, 0}));
    ASSERT_EQ(s.snapApps.size(), 1u);
    EXPECT_EQ(s.snapApps[0], (SnapAppEntry{L"x.exe", 2, 0, false}));
    ASSERT_EQ(s.workspaces.size(), 1u) << "a page that is not an object is skipped";
    EXPECT_EQ(s.workspaces[0].id.size(), 38u) << "a missing page id is replaced by a new one";
    EXPECT_EQ(s.workspaces[0].cadrels[0].tabs[0].pinned, (std::vector<std::wstring>{L"a", L"b"}));
}

TEST(SettingsJson, RuleFormsReadBackAsWritten)
{
    const CadrelRecord r = ReadCadrel(R"("tabs":[{}],"rule":{"enabled":1,"exts":5,"olderDays":-3,"link":2,
        "groups":[[{"k":1,"op":1,"t":"*.pdf"},3,{"k":2,"n":12.9}],"x",[],[{"k":3,"n":-2}]]})");
    EXPECT_TRUE(r.rule.enabled);
    EXPECT_TRUE(r.rule.exts.empty());
    EXPECT_EQ(r.rule.olderDays, 0);
    EXPECT_EQ(r.rule.link, 2);
    ASSERT_EQ(r.rule.groups.size(), 3u);
    EXPECT_EQ(r.rule.groups[0], (std::vector<RuleCondition>{{1, 1, L"*.pdf", 0}, {2, 0, L"", 12}}));
    EXPECT_TRUE(r.rule.groups[1].empty());
    EXPECT_EQ(r.rule.groups[2][0].n, -2);

    EXPECT_EQ(ReadCadrel(R"("tabs":[{}],"rule":[1])").rule, SortRule{}) << "a rule that is not an object";
    // Values that are not written read back as the same values.
    CadrelRecord zeroes;
    zeroes.id = "{Z}";
    zeroes.tabs.push_back({});
    zeroes.rule.groups = {{{0, 0, L"", 0}}};
    Settings s;
    s.workspaces.push_back(Workspace{"{P}", L"", false, {zeroes}, {}});
    const std::string text = SerializeJson(SettingsToJson(s), 2);
    EXPECT_EQ(text.find("\"op\""), std::string::npos);
    EXPECT_EQ(Read(text).workspaces[0].cadrels[0], zeroes);
}

TEST(SettingsJson, PagesAndTheOlderSinglePageForm)
{
    bool pagesFound = true;
    const Settings empty = Read(R"({"workspaces":[],"activeWorkspace":3})", &pagesFound);
    EXPECT_FALSE(pagesFound);
    ASSERT_EQ(empty.workspaces.size(), 1u) << "one empty page is added";
    EXPECT_EQ(empty.workspaces[0].name, Tr(TextId::Desktop));
    EXPECT_EQ(empty.activeWorkspace, 0);

    const Settings legacy = Read(R"({"activeWorkspace":2,"cadrels":[{"id":"{C}","title":"Vieux","folder":"C:\\v",
        "expandUp":true}],"layouts":{"k":{"{C}":{"x":0.3}}}})", &pagesFound);
    EXPECT_TRUE(pagesFound);
    ASSERT_EQ(legacy.workspaces.size(), 1u);
    EXPECT_EQ(legacy.workspaces[0].name, Tr(TextId::Desktop));
    EXPECT_EQ(legacy.workspaces[0].id.size(), 38u);
    EXPECT_EQ(legacy.activeWorkspace, 0);
    EXPECT_EQ(legacy.workspaces[0].cadrels[0].expandDir, 1);
    EXPECT_DOUBLE_EQ(legacy.workspaces[0].layouts.at("k").at("{C}").x, 0.3);
    const std::string rewritten = SerializeJson(SettingsToJson(legacy), 2);
    EXPECT_NE(rewritten.find("\"workspaces\""), std::string::npos);
    EXPECT_EQ(rewritten.find("\"expandUp\""), std::string::npos) << "the next save writes the current form";

    const Settings three = Read(R"({"activeWorkspace":3,"workspaces":[{},{},{}]})");
    EXPECT_EQ(three.activeWorkspace, 0) << "equal to the page count";
    EXPECT_EQ(Read(R"({"activeWorkspace":-1,"workspaces":[{},{}]})").activeWorkspace, 0);
    EXPECT_EQ(Read(R"({"activeWorkspace":1.9,"workspaces":[{},{}]})").activeWorkspace, 1);
    // Pages take precedence over a stray legacy list.
    EXPECT_EQ(Read(R"({"workspaces":[{"name":"A"}],"cadrels":[{"id":"x"}]})").workspaces.size(), 1u);
}

TEST(SettingsJson, UnknownMembersDoNotSurvive)
{
    const Settings s = Read(R"({"futureOption":1,"workspaces":[{"id":"{P}","extra":[1],"cadrels":[{"id":"{C}",
        "tabs":[{"title":"t","colour":"red"}],"mystery":true}]}]})");
    const std::string text = SerializeJson(SettingsToJson(s), 2);
    for (const char* key : {"futureOption", "extra", "colour", "mystery"}) {
        EXPECT_EQ(text.find(key), std::string::npos) << key;
    }
}

TEST(SettingsJson, OnlyAnObjectIsADocument)
{
    for (const char* text : {"[]", "null", "3", "\"x\"", "true"}) {
        JsonValue root;
        ASSERT_TRUE(ParseJson(text, root));
        Settings s;
        s.grid = 77;
        bool pagesFound = true;
        EXPECT_FALSE(SettingsFromJson(root, s, pagesFound)) << text;
        EXPECT_EQ(s.grid, 77) << "nothing changes";
    }
}

}  // namespace
}  // namespace cadrels
