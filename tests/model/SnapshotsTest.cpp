#include "model/Snapshots.h"

#include "TestFiles.h"
#include "model/LayoutFile.h"
#include "model/SettingsJson.h"

#include <gtest/gtest.h>

#include <regex>

namespace cadrels::testing {
namespace {

// The file name without its "_{GUID}.json" end, which is checked to be there.
std::wstring NamePart(const std::wstring& fileName)
{
    static const std::wregex idAndExtension(L"_\\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\}\\.json$");
    std::wsmatch match;
    if (!std::regex_search(fileName, match, idAndExtension)) {
        ADD_FAILURE() << "no identifier and extension in " << fileName;
        return fileName;
    }
    return fileName.substr(0, static_cast<size_t>(match.position(0)));
}

TEST(SnapshotFileName, PrefixesAndSanitisesTheDisplayName)
{
    EXPECT_EQ(NamePart(SnapshotFileName(L"Avant: test?", false)), L"snap_Avant_ test_");
    EXPECT_EQ(NamePart(SnapshotFileName(L". . ..", false)), L"snap_instantane");
    EXPECT_EQ(NamePart(SnapshotFileName(L"", true)), L"auto_instantane");
    EXPECT_EQ(NamePart(SnapshotFileName(L"a<b>c|d\x1F", true)), L"auto_a_b_c_d_");
    EXPECT_EQ(NamePart(SnapshotFileName(std::wstring(47, L'z') + L" x...", true)),
              L"auto_" + std::wstring(47, L'z') + L" ");
    EXPECT_NE(SnapshotFileName(L"same", true), SnapshotFileName(L"same", true));
}

TEST(SnapshotFile, IsTheSettingsDocumentWithNameCreatedAndAutoAppended)
{
    Settings settings;
    settings.grid = 12;
    settings.workspaces.push_back(Workspace{"{P}", L"Page", false, {}, {}});
    const JsonValue document = SnapshotDocument(settings, L"Fusion été", L"2024-05-06 07:08", false);
    std::vector<JsonValue::Member> members = document.Members();
    ASSERT_GE(members.size(), 3u);
    EXPECT_EQ(members[members.size() - 3], (JsonValue::Member{"name", JsonValue("Fusion \xC3\xA9t\xC3\xA9")}));
    EXPECT_EQ(members[members.size() - 2], (JsonValue::Member{"created", JsonValue("2024-05-06 07:08")}));
    EXPECT_EQ(members[members.size() - 1], (JsonValue::Member{"auto", JsonValue(0)}));
    members.resize(members.size() - 3);
    EXPECT_EQ(members, SettingsToJson(settings).Members());

    const std::wstring base = MakeTempFolder(L"snapshots");
    const std::wstring path = WriteSnapshotInFolder(base + L"\\snapshots", settings, L"x", L"t", true);
    ASSERT_FALSE(path.empty());
    Settings back;
    bool pages = false;
    ASSERT_TRUE(LoadSettingsFile(path, back, pages));
    EXPECT_EQ(back, settings);
    EXPECT_NE(ReadBytes(path).find("\"auto\": 1\n}\n"), std::string::npos);

    ASSERT_TRUE(WriteBytes(base + L"\\blocked", ""));
    EXPECT_EQ(WriteSnapshotInFolder(base + L"\\blocked", settings, L"x", L"t", true), L"");
    EXPECT_EQ(WriteSnapshotInFolder(L"", settings, L"x", L"t", true), L"");
    RemoveTree(base);
}

TEST(SnapshotFile, RecordsTheLocalTimeToTheMinute)
{
    EXPECT_TRUE(std::regex_match(SnapshotTimeNow(), std::wregex(L"20[0-9]{2}-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]")))
        << SnapshotTimeNow();
}

}  // namespace
}  // namespace cadrels::testing
