#include "model/Snapshots.h"

#include "TestFiles.h"
#include "model/LayoutFile.h"
#include "model/SettingsJson.h"

#include <gtest/gtest.h>

#include <algorithm>
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


class SnapshotFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        base_ = MakeTempFolder(L"snapshot-folder");
        folder_ = base_ + L"\\snapshots";
        settings_.workspaces.push_back(Workspace{"{P}", L"Page", false, {}, {}});
    }
    void TearDown() override { RemoveTree(base_); }

    std::wstring Write(const std::wstring& name, const std::wstring& created, bool isAuto)
    {
        const std::wstring path = WriteSnapshotInFolder(folder_, settings_, name, created, isAuto);
        EXPECT_FALSE(path.empty()) << name;
        return path;
    }

    std::vector<std::wstring> ListedNames() const
    {
        std::vector<std::wstring> names;
        for (const SnapshotEntry& entry : ListSnapshotsIn(folder_)) {
            names.push_back(entry.name);
        }
        return names;
    }

    std::wstring base_;
    std::wstring folder_;
    Settings settings_;
};

TEST_F(SnapshotFolder, ListsSnapshotsAndBackupsNewestFirstAndNothingElse)
{
    Write(L"auto 1", L"2024-03-01 08:00", true);
    const std::wstring manual = Write(L"manuel", L"2024-03-01 09:00", false);
    ASSERT_TRUE(WriteBytes(folder_ + L"\\Cadrels-backup-2024-03-01_10-00.json",
                           R"({"version":2,"workspaces":[{"id":"{B}","name":"Sauvegarde"}]})"));
    ASSERT_TRUE(WriteBytes(folder_ + L"\\old-form.json", R"({"cadrels":[],"name":"Ancienne","created":"2024-03-01 07:00"})"));
    ASSERT_TRUE(WriteBytes(folder_ + L"\\settings-only.json", R"({"theme":2,"name":"sans pages"})"));
    ASSERT_TRUE(WriteBytes(folder_ + L"\\broken.json", R"({"workspaces":[)"));
    ASSERT_TRUE(WriteBytes(folder_ + L"\\empty.json", ""));
    ASSERT_TRUE(WriteBytes(folder_ + L"\\notes.json.txt", R"({"workspaces":[]})"));
    ASSERT_TRUE(CreateDirectoryW((folder_ + L"\\folder.json").c_str(), nullptr));

    const std::vector<SnapshotEntry> entries = ListSnapshotsIn(folder_);
    // The backup has no `created`: it is placed by its write time, which is now.
    EXPECT_EQ(ListedNames(), (std::vector<std::wstring>{L"Cadrels-backup-2024-03-01_10-00.json", L"manuel",
                                                        L"auto 1", L"Ancienne"}));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[1], (SnapshotEntry{manual, L"manuel", L"2024-03-01 09:00", false, entries[1].lastWrite}));
    EXPECT_TRUE(entries[2].isAuto);
    EXPECT_NE(entries[1].lastWrite, 0u);
    EXPECT_TRUE(ListSnapshotsIn(base_ + L"\\missing").empty());
}

// A document padded to a given size: still a valid automatic snapshot.
std::string PaddedSnapshot(size_t size)
{
    const std::string head = R"({"workspaces":[],"name":"Gros","auto":1)";
    std::string text = head + std::string(size - head.size() - 1, ' ') + "}";
    return text;
}

TEST_F(SnapshotFolder, FilesTooLargeToReadAreListedByNameAndNeverPruned)
{
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(folder_ + L"\\auto_limit.json", PaddedSnapshot(MaxListedSnapshotBytes)));
    ASSERT_TRUE(WriteBytes(folder_ + L"\\auto_big.json", PaddedSnapshot(MaxListedSnapshotBytes + 1)));

    std::vector<SnapshotEntry> entries = ListSnapshotsIn(folder_);
    ASSERT_EQ(entries.size(), 2u);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
    EXPECT_EQ(entries[0].path, folder_ + L"\\auto_big.json");
    EXPECT_EQ(entries[0].name, L"auto_big.json") << "not read, so named by its file";
    EXPECT_FALSE(entries[0].isAuto);
    EXPECT_NE(entries[0].lastWrite, 0u);
    EXPECT_EQ(entries[1].name, L"Gros") << "a file of exactly the limit is still read";
    EXPECT_TRUE(entries[1].isAuto);

    EXPECT_EQ(PruneSnapshotsIn(folder_, 0), 1);
    EXPECT_TRUE(FileExists(folder_ + L"\\auto_big.json")) << "retention deletes only what it has read";
    EXPECT_FALSE(FileExists(folder_ + L"\\auto_limit.json"));
}

TEST_F(SnapshotFolder, PruningKeepsTenAutomaticOnesEveryManualOneAndNoTemporaryFile)
{
    std::vector<std::wstring> autos;
    for (int minute = 0; minute < 12; ++minute) {
        wchar_t created[32];
        swprintf(created, 32, L"2024-03-01 08:%02d", minute);
        autos.push_back(Write(L"auto " + std::to_wstring(minute), created, true));
        if (minute % 5 == 0) {
            Write(L"manuel " + std::to_wstring(minute), created, false);
        }
    }
    ASSERT_TRUE(WriteBytes(folder_ + L"\\auto_x.json.tmp", "{"));
    ASSERT_TRUE(WriteBytes(folder_ + L"\\notes.tmpl", "kept"));

    EXPECT_EQ(PruneSnapshotsIn(folder_, 10), 3);
    EXPECT_FALSE(FileExists(autos[0]));
    EXPECT_FALSE(FileExists(autos[1]));
    EXPECT_TRUE(FileExists(autos[2]));
    EXPECT_FALSE(FileExists(folder_ + L"\\auto_x.json.tmp"));
    EXPECT_TRUE(FileExists(folder_ + L"\\notes.tmpl")) << "not a temporary file, whatever its short name";
    const std::vector<std::wstring> names = ListedNames();
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::wstring& n) { return n.rfind(L"auto", 0) == 0; }),
              10);
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::wstring& n) { return n.rfind(L"manuel", 0) == 0; }),
              3);
    EXPECT_EQ(PruneSnapshotsIn(folder_, 10), 0) << "a second pass finds nothing more";
}

TEST_F(SnapshotFolder, ARenamedOldSnapshotIsPrunedBeforeNewerOnes)
{
    std::vector<std::wstring> autos;
    for (int minute = 0; minute < 11; ++minute) {
        wchar_t created[32];
        swprintf(created, 32, L"2024-03-01 08:%02d", minute);
        autos.push_back(Write(L"auto " + std::to_wstring(minute), created, true));
    }
    Sleep(20);
    ASSERT_TRUE(RenameSnapshotFile(autos[0], L"Gardée ?"));
    EXPECT_EQ(ListedNames().back(), L"Gardée ?") << "still listed as the oldest";

    EXPECT_EQ(PruneSnapshotsIn(folder_, 10), 1);
    EXPECT_FALSE(FileExists(autos[0]));
    for (size_t i = 1; i < autos.size(); ++i) {
        EXPECT_TRUE(FileExists(autos[i])) << i;
    }
}

TEST_F(SnapshotFolder, RenamingRewritesOnlyTheNameAndDeletingRemovesTheFile)
{
    const std::wstring path = Write(L"avant", L"2024-03-01 08:00", true);
    ASSERT_TRUE(RenameSnapshotFile(path, L"après"));
    Settings back;
    bool pages = false;
    ASSERT_TRUE(LoadSettingsFile(path, back, pages));
    EXPECT_EQ(back, settings_);
    const std::vector<SnapshotEntry> entries = ListSnapshotsIn(folder_);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, L"après");
    EXPECT_EQ(entries[0].created, L"2024-03-01 08:00");
    EXPECT_TRUE(entries[0].isAuto);

    const std::wstring array = folder_ + L"\\array.json";
    ASSERT_TRUE(WriteBytes(array, "[1,2]"));
    EXPECT_FALSE(RenameSnapshotFile(array, L"x"));
    EXPECT_EQ(ReadBytes(array), "[1,2]") << "left unchanged";
    EXPECT_FALSE(RenameSnapshotFile(folder_ + L"\\missing.json", L"x"));
    EXPECT_FALSE(FileExists(folder_ + L"\\missing.json"));

    EXPECT_TRUE(DeleteSnapshotFile(path));
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(DeleteSnapshotFile(path));
}

}  // namespace
}  // namespace cadrels::testing
