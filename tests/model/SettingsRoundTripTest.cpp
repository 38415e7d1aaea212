// Layout files keep their meaning and their bytes: files of every form the
// program has met are read into the same settings as before (seen through
// what is written back), and a written file reads and writes back to exactly
// its own bytes.
#include "SettingsFixtures.h"

#include "LargeLayout.h"
#include "i18n/StringTable.h"
#include "model/SettingsJson.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

using testing::FullyPopulatedFile;
using testing::SettingsFixture;
using testing::SettingsFixtures;

// Reads a file as the layout file is read and writes it back as it is saved.
// A page the reader had to make up gets "{NEW}" for its random identifier and
// its name (which follows the interface language).
std::string WrittenBack(std::string_view file)
{
    JsonValue root;
    EXPECT_TRUE(ParseJson(file, root));
    Settings settings;
    bool pagesFound = false;
    EXPECT_TRUE(SettingsFromJson(root, settings, pagesFound));
    for (Workspace& page : settings.workspaces) {
        if (page.id.size() == 38 && file.find(page.id) == std::string_view::npos) {
            EXPECT_EQ(page.name, Tr(TextId::Desktop)) << "a made-up page is named after string 4";
            page.id = "{NEW}";
            page.name = L"{NEW}";
        }
    }
    return SerializeJson(SettingsToJson(settings), 2);
}

TEST(SettingsRoundTrip, TodaysFilesAreReadIntoTheSameSettingsAsBefore)
{
    ASSERT_GE(SettingsFixtures().size(), 15u);
    for (const SettingsFixture& fixture : SettingsFixtures()) {
        EXPECT_EQ(WrittenBack(fixture.file), fixture.written) << fixture.name;
    }
}

TEST(SettingsRoundTrip, WrittenFilesReadAndWriteBackByteForByte)
{
    for (const SettingsFixture& fixture : SettingsFixtures()) {
        EXPECT_EQ(WrittenBack(fixture.written), fixture.written) << fixture.name;
    }
    EXPECT_EQ(WrittenBack(FullyPopulatedFile()), FullyPopulatedFile());
    for (unsigned seed : {1u, 7u, 2026u}) {
        const std::string large = SerializeJson(SettingsToJson(testing::MakeLargeSettings(3, 4, 2, seed)), 2);
        EXPECT_EQ(WrittenBack(large), large) << "seed " << seed;
    }
}

// The fully populated file is only a proof for the keys it sets: every key a
// default document has, and every key written only when set, must be there
// with a value other than the default.
TEST(SettingsRoundTrip, TheFullyPopulatedFileSetsEveryKeyAwayFromItsDefault)
{
    Settings defaults;
    CadrelRecord record;
    record.id = "{C}";
    record.tabs.push_back(CadrelTab{});
    defaults.workspaces.push_back(Workspace{"{P}", L"", false, {record}, {}});
    const JsonValue fallback = SettingsToJson(defaults);
    JsonValue full;
    ASSERT_TRUE(ParseJson(FullyPopulatedFile(), full));

    const auto expectAwayFromDefaults = [](const JsonValue& object, const JsonValue& defaultObject,
                                           std::initializer_list<const char*> optional, const char* where) {
        for (const auto& [key, value] : defaultObject.Members()) {
            const JsonValue* set = object.Find(key);
            ASSERT_NE(set, nullptr) << where << " " << key;
            if (key != "version" && key != "id") {
                EXPECT_NE(SerializeJson(*set, 0), SerializeJson(value, 0)) << where << " " << key;
            }
        }
        for (const char* key : optional) {
            EXPECT_EQ(defaultObject.Find(key), nullptr) << where << " " << key << " is written only when set";
            EXPECT_NE(object.Find(key), nullptr) << where << " " << key;
        }
    };
    expectAwayFromDefaults(full, fallback,
                           {"dockIcons", "watchFolders", "hotkeys", "backupFolder", "snapApps", "recentDisplays"},
                           "root");
    const JsonValue& page = full.Find("workspaces")->Elements().at(0);
    const JsonValue& defaultPage = fallback.Find("workspaces")->Elements().at(0);
    expectAwayFromDefaults(page.Find("cadrels")->Elements().at(0), defaultPage.Find("cadrels")->Elements().at(0), {},
                           "cadrel");
    const JsonValue& rule = *page.Find("cadrels")->Elements().at(0).Find("rule");
    expectAwayFromDefaults(rule, *defaultPage.Find("cadrels")->Elements().at(0).Find("rule"), {"priority", "groups"},
                           "rule");
    const JsonValue& tab = page.Find("cadrels")->Elements().at(0).Find("tabs")->Elements().at(0);
    expectAwayFromDefaults(tab, defaultPage.Find("cadrels")->Elements().at(0).Find("tabs")->Elements().at(0),
                           {"pinned", "emblem", "titleAuto"}, "tab");
    const JsonValue& hostedTab = page.Find("cadrels")->Elements().at(0).Find("tabs")->Elements().at(1);
    for (const char* key : {"hostedExe", "hostedAumid", "hostedTitle"}) {
        EXPECT_NE(hostedTab.Find(key), nullptr) << key;
    }
}

}  // namespace
}  // namespace cadrels
