// Backups with real files in a scratch folder: the schedule over several
// saves (with the clock given), retention by the names' times, the read-back
// check, duplicates and damaged files.
#include "TestFiles.h"

#include "model/BackupTask.h"
#include "model/LayoutFile.h"
#include "model/NewId.h"
#include "model/PathText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace cadrels::testing {
namespace {

BackupTime At(std::int64_t unixSeconds)
{
    // A readable local stamp that moves with the seconds, as the real clock's does.
    const std::int64_t s = unixSeconds - 1'700'000'000;
    BackupTime time;
    time.unixSeconds = unixSeconds;
    time.local = {2025, 6, 1 + static_cast<int>(s / 86400 % 28), static_cast<int>(s / 3600 % 24),
                  static_cast<int>(s / 60 % 60), static_cast<int>(s % 60)};
    return time;
}

class BackupFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = MakeTempFolder(L"backups");
        ASSERT_FALSE(folder_.empty());
        settings_.backupEnabled = true;
        settings_.backupFolder = folder_ + L"\\nested\\deeper";
        settings_.backupFreq = 0;
        settings_.backupKeep = 10;
        Workspace page;
        page.id = NewId();
        page.name = L"Bureau";
        settings_.workspaces.push_back(page);
    }
    void TearDown() override
    {
        SetBackupReadBackForTesting(nullptr);
        RemoveTree(folder_);
    }

    // What App does on each save, the worker's part run in line.
    bool SaveAt(std::int64_t unixSeconds, bool force = false)
    {
        const std::optional<BackupTask> task = BackupTaskIfDue(settings_, At(unixSeconds), force);
        if (!task) {
            return false;
        }
        last_ = RunBackupTask(*task);
        RecordBackupReport(settings_, last_);
        // Every backup of these tests holds a new arrangement unless a test says otherwise.
        settings_.snap = !settings_.snap;
        return true;
    }

    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        for (const BackupEntry& entry : ListBackups(settings_.backupFolder)) {
            names.push_back(std::wstring(LastPathComponent(entry.path)));
        }
        return names;
    }

    std::wstring folder_;
    Settings settings_;
    BackupReport last_;
};

constexpr std::int64_t T0 = 1'700'000'000;

TEST_F(BackupFiles, EveryChangeMakesOneForTwoSavesHalfAMinuteApartAndAnotherTwoMinutesLater)
{
    settings_.backupLast = 0;
    EXPECT_TRUE(SaveAt(T0));  // never backed up: the first save makes one
    EXPECT_EQ(settings_.backupLast, double(T0));
    EXPECT_FALSE(SaveAt(T0 + 30));
    EXPECT_EQ(Names().size(), 1u);
    EXPECT_TRUE(SaveAt(T0 + 120));
    EXPECT_EQ(Names().size(), 2u);
    EXPECT_EQ(settings_.backupLast, double(T0 + 120));
}

TEST_F(BackupFiles, BackUpNowWritesOneWhileBackupsAreOff)
{
    settings_.backupEnabled = false;
    EXPECT_FALSE(SaveAt(T0));
    EXPECT_TRUE(SaveAt(T0 + 1, true));
    EXPECT_EQ(last_.write.outcome, BackupWriteOutcome::Written);
    EXPECT_EQ(Names(), std::vector<std::wstring>{BackupFileName(At(T0 + 1).local)});
}

TEST_F(BackupFiles, FileHoldsTheSettingsThenItsStamp)
{
    ASSERT_TRUE(SaveAt(T0));
    Settings read;
    bool pagesFound = false;
    ASSERT_TRUE(LoadSettingsFile(last_.write.path, read, pagesFound));
    EXPECT_TRUE(pagesFound);
    EXPECT_EQ(read.workspaces.front().id, settings_.workspaces.front().id);
    const std::vector<BackupEntry> entries = ListBackups(settings_.backupFolder);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, BackupTimeText(At(T0).local));
    EXPECT_EQ(entries[0].created, BackupTimeText(At(T0).local));
    const std::string text = ReadBytes(last_.write.path);
    EXPECT_NE(text.find("\"auto\": 1\n}"), std::string::npos) << text;
}

TEST_F(BackupFiles, KeepThreeOfFiveLeavesTheNewestByNameEvenAfterARename)
{
    settings_.backupKeep = 10;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(SaveAt(T0 + 200 * i, true));
    }
    std::vector<std::wstring> before = Names();
    ASSERT_EQ(before.size(), 5u);
    // The oldest, renamed now, is the newest file on disk.
    const std::wstring oldest = settings_.backupFolder + L"\\" + before.back();
    Sleep(20);
    ASSERT_TRUE(RenameBackupFile(oldest, L"Mon ancienne"));
    settings_.backupKeep = 3;
    ASSERT_TRUE(SaveAt(T0 + 2000, true));
    const std::vector<std::wstring> expected = {BackupFileName(At(T0 + 2000).local), before[0], before[1]};
    EXPECT_EQ(Names(), expected);
    EXPECT_EQ(last_.write.pruned, 3);
    EXPECT_FALSE(FileExists(oldest));
    EXPECT_FALSE(FileExists(oldest + L".bak"));
}

TEST_F(BackupFiles, UnreadableFilesDoNotCountAsKeptAndAreListedByFileName)
{
    settings_.backupKeep = 2;
    ASSERT_TRUE(SaveAt(T0, true));
    ASSERT_TRUE(SaveAt(T0 + 200, true));
    // Newer by its name than both, but damaged.
    const std::wstring damaged = settings_.backupFolder + L"\\" + BackupFileName(At(T0 + 300).local);
    ASSERT_TRUE(WriteBytes(damaged, "{ not json"));
    const std::wstring unnamed = settings_.backupFolder + L"\\Cadrels-backup-mine.json";
    ASSERT_TRUE(WriteBytes(unnamed, R"({"workspaces":[],"created":"2020-01-01 10:00"})"));
    const std::vector<BackupEntry> entries = ListBackups(settings_.backupFolder);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].path, damaged);
    EXPECT_EQ(entries[0].name, LastPathComponent(damaged));
    EXPECT_FALSE(entries[0].readable);
    EXPECT_EQ(entries[3].name, L"Cadrels-backup-mine.json");

    ASSERT_TRUE(SaveAt(T0 + 400, true));
    // New, damaged, the one before: two readable kept; the damaged one, newer
    // than the kept one, stays too.
    const std::vector<std::wstring> names = Names();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], BackupFileName(At(T0 + 400).local));
    EXPECT_EQ(names[1], LastPathComponent(damaged));
    EXPECT_EQ(names[2], BackupFileName(At(T0 + 200).local));
}

TEST_F(BackupFiles, AnUnchangedArrangementIsNotWrittenAgainButCountsAsDone)
{
    ASSERT_TRUE(SaveAt(T0));
    settings_.snap = !settings_.snap;  // undo SaveAt's change: the same arrangement again
    const std::optional<BackupTask> task = BackupTaskIfDue(settings_, At(T0 + 500), false);
    ASSERT_TRUE(task);
    const BackupReport report = RunBackupTask(*task);
    EXPECT_EQ(report.write.outcome, BackupWriteOutcome::Unchanged);
    EXPECT_TRUE(RecordBackupReport(settings_, report));
    EXPECT_EQ(settings_.backupLast, double(T0 + 500));
    EXPECT_EQ(Names().size(), 1u);
}

TEST_F(BackupFiles, AnUnwritableFolderFailsAndLeavesTheLastBackupTime)
{
    const std::wstring blocker = folder_ + L"\\file";
    ASSERT_TRUE(WriteBytes(blocker, "x"));
    settings_.backupFolder = blocker + L"\\below";
    settings_.backupLast = 5;
    const std::optional<BackupTask> task = BackupTaskIfDue(settings_, At(T0), true);
    ASSERT_TRUE(task);
    const BackupReport report = RunBackupTask(*task);
    EXPECT_EQ(report.write.outcome, BackupWriteOutcome::Failed);
    EXPECT_FALSE(RecordBackupReport(settings_, report));
    EXPECT_EQ(settings_.backupLast, 5.0);
    EXPECT_EQ(WriteBackup(settings_, settings_.backupFolder, 3), L"");
}

bool ReadsBackDamaged(const std::wstring&, std::string& bytes)
{
    bytes = "{\"truncated\":";
    return true;
}

TEST_F(BackupFiles, ABackupThatDoesNotReadBackPrunesNothing)
{
    settings_.backupKeep = 1;
    ASSERT_TRUE(SaveAt(T0, true));
    ASSERT_TRUE(SaveAt(T0 + 200, true));
    ASSERT_EQ(Names().size(), 1u);
    SetBackupReadBackForTesting(ReadsBackDamaged);
    settings_.backupLast = 7;
    ASSERT_TRUE(SaveAt(T0 + 400, true));
    EXPECT_EQ(last_.write.outcome, BackupWriteOutcome::NotReadBack);
    EXPECT_EQ(last_.write.pruned, 0);
    EXPECT_EQ(settings_.backupLast, 7.0);
    EXPECT_EQ(Names().size(), 2u);
}

TEST_F(BackupFiles, RenameChangesOnlyTheNameAndDeleteRemovesTheFile)
{
    ASSERT_TRUE(SaveAt(T0, true));
    const std::wstring path = last_.write.path;
    ASSERT_TRUE(RenameBackupFile(path, L"Avant le d\u00e9m\u00e9nagement"));
    const std::vector<BackupEntry> entries = ListBackups(settings_.backupFolder);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, path);
    EXPECT_EQ(entries[0].name, L"Avant le d\u00e9m\u00e9nagement");
    EXPECT_EQ(entries[0].created, BackupTimeText(At(T0).local));
    EXPECT_TRUE(DeleteBackupFile(path));
    EXPECT_TRUE(Names().empty());
    EXPECT_FALSE(DeleteBackupFile(path));
}

}  // namespace
}  // namespace cadrels::testing
