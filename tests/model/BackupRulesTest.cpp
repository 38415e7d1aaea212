// The schedule, names, ordering and retention of backups, as plain values.
#include "model/BackupRules.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

Settings WithBackups(bool enabled, const std::wstring& folder, int frequency, double last, bool cloud = false)
{
    Settings settings;
    settings.backupEnabled = enabled;
    settings.backupFolder = folder;
    settings.backupFreq = frequency;
    settings.backupLast = last;
    settings.backupCloud = cloud;
    return settings;
}

TEST(BackupRules, IntervalsByFrequency)
{
    const struct {
        int frequency;
        std::int64_t seconds;
    } cases[] = {{0, 120}, {1, 86400}, {2, 604800}, {3, 86400}, {-1, 86400}, {99, 86400}};
    for (const auto& c : cases) {
        EXPECT_EQ(BackupIntervalSeconds(c.frequency), c.seconds) << c.frequency;
    }
}

TEST(BackupRules, DueFollowsSwitchDestinationAndInterval)
{
    const std::int64_t now = 1'700'000'000;
    const struct {
        Settings settings;
        bool force;
        bool due;
        const char* why;
    } cases[] = {
        {WithBackups(true, L"", 0, 0), true, false, "no folder and no cloud: never"},
        {WithBackups(true, L"", 0, 0, true), false, true, "cloud alone is a destination"},
        {WithBackups(false, L"D:\\b", 0, 0), false, false, "off: a save makes none"},
        {WithBackups(false, L"D:\\b", 0, double(now - 10)), true, true, "forced while off and recent"},
        {WithBackups(true, L"D:\\b", 0, 0), false, true, "never backed up: at once"},
        {WithBackups(true, L"D:\\b", 0, double(now - 30)), false, false, "every change: 30 s is too soon"},
        {WithBackups(true, L"D:\\b", 0, double(now - 120)), false, true, "every change: two minutes"},
        {WithBackups(true, L"D:\\b", 1, double(now - 86399)), false, false, "daily: a second short"},
        {WithBackups(true, L"D:\\b", 2, double(now - 86400)), false, false, "weekly: one day"},
        {WithBackups(true, L"D:\\b", 7, double(now - 86400)), false, true, "unknown frequency is daily"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BackupIsDue(c.settings, now, c.force), c.due) << c.why;
    }
}

TEST(BackupRules, FileNameAndTimeText)
{
    const BackupStamp stamp{2024, 3, 15, 14, 25, 1};
    EXPECT_EQ(BackupFileName(stamp), L"Cadrels-backup-20240315-142501.json");
    EXPECT_EQ(BackupTimeText(stamp), L"2024-03-15 14:25");
    EXPECT_EQ(BackupOrderKey(stamp), L"20240315142501");
    EXPECT_EQ(BackupFileName({2031, 12, 1, 0, 0, 9}), L"Cadrels-backup-20311201-000009.json");
}

TEST(BackupRules, OrderKeysFromNamesAndCreatedTexts)
{
    const struct {
        const wchar_t* fileName;
        std::optional<std::wstring> key;
    } names[] = {
        {L"Cadrels-backup-20240315-142501.json", L"20240315142501"},
        {L"cadrels-BACKUP-20240315-142501.JSON", L"20240315142501"},
        {L"Cadrels-backup-20241315-142501.json", std::nullopt},  // month 13
        {L"Cadrels-backup-20240315-146001.json", std::nullopt},  // minute 60
        {L"Cadrels-backup-20240315-142501 (2).json", std::nullopt},
        {L"Cadrels-backup-mine.json", std::nullopt},
        {L"Cadrels-backup-.json", std::nullopt},
    };
    for (const auto& c : names) {
        EXPECT_EQ(BackupOrderKeyFromFileName(c.fileName), c.key) << c.fileName;
    }
    EXPECT_EQ(BackupOrderKeyFromCreated(L"2024-03-15 14:25"), L"20240315142500");
    EXPECT_EQ(BackupOrderKeyFromCreated(L"2024-03-15 24:25"), std::nullopt);
    EXPECT_EQ(BackupOrderKeyFromCreated(L"2024-3-15 14:25"), std::nullopt);
    EXPECT_EQ(BackupOrderKeyFromCreated(L""), std::nullopt);
}

BackupEntry Entry(const std::wstring& fileName, const std::wstring& created, std::uint64_t lastWrite,
                  bool readable = true)
{
    BackupEntry entry;
    entry.path = L"D:\\b\\" + fileName;
    entry.name = fileName;
    entry.created = created;
    entry.lastWrite = lastWrite;
    entry.readable = readable;
    return entry;
}

std::vector<std::wstring> FileNames(const std::vector<BackupEntry>& entries)
{
    std::vector<std::wstring> names;
    for (const BackupEntry& entry : entries) {
        names.push_back(entry.path.substr(5));
    }
    return names;
}

TEST(BackupRules, OrderedByTheNameNotByTheLastWrite)
{
    // The oldest was renamed last: its file is the most recently written.
    std::vector<BackupEntry> entries = {
        Entry(L"Cadrels-backup-20240101-080000.json", L"2024-01-01 08:00", 900),
        Entry(L"Cadrels-backup-20240301-080000.json", L"2024-03-01 08:00", 300),
        // No time in its name: its `created` places it.
        Entry(L"Cadrels-backup-copy.json", L"2024-02-01 08:00", 100),
        // Neither: the last write, turned into a key, places it.
        Entry(L"Cadrels-backup-other.json", L"", 5),
        Entry(L"Cadrels-backup-20240201-090000.json", L"", 200),
    };
    OrderBackupsNewestFirst(entries, [](std::uint64_t lastWrite) {
        return lastWrite == 5 ? std::wstring(L"20230101000000") : std::wstring(L"29991231235959");
    });
    EXPECT_EQ(FileNames(entries), (std::vector<std::wstring>{
                                      L"Cadrels-backup-20240301-080000.json",
                                      L"Cadrels-backup-20240201-090000.json",
                                      L"Cadrels-backup-copy.json",
                                      L"Cadrels-backup-20240101-080000.json",
                                      L"Cadrels-backup-other.json",
                                  }));
}

TEST(BackupRules, RetentionKeepsTheNewestReadableOnes)
{
    const std::vector<BackupEntry> five = {
        Entry(L"e", L"", 0), Entry(L"d", L"", 0), Entry(L"c", L"", 0), Entry(L"b", L"", 0), Entry(L"a", L"", 0)};
    EXPECT_EQ(BackupsBeyondRetention(five, 3), (std::vector<std::wstring>{L"D:\\b\\b", L"D:\\b\\a"}));
    EXPECT_EQ(BackupsBeyondRetention(five, 5), std::vector<std::wstring>{});
    // Zero or less keeps one: the backup just written.
    EXPECT_EQ(BackupsBeyondRetention(five, 0).size(), 4u);
    EXPECT_EQ(BackupsBeyondRetention(five, -3).size(), 4u);
    // Unreadable files count for nothing: three readable ones stay.
    const std::vector<BackupEntry> damaged = {Entry(L"e", L"", 0), Entry(L"d", L"", 0, false), Entry(L"c", L"", 0),
                                              Entry(L"b", L"", 0), Entry(L"a", L"", 0)};
    EXPECT_EQ(BackupsBeyondRetention(damaged, 3), (std::vector<std::wstring>{L"D:\\b\\a"}));
}

TEST(BackupRules, EntryNamesAndReadability)
{
    JsonValue named;
    ASSERT_TRUE(ParseJson(R"({"workspaces":[],"name":"Mine","created":"2024-03-15 14:25","auto":1})", named));
    BackupEntry entry = BackupEntryFromDocument(&named, L"D:\\b\\f.json", L"f.json", 7);
    EXPECT_EQ(entry.name, L"Mine");
    EXPECT_EQ(entry.created, L"2024-03-15 14:25");
    EXPECT_TRUE(entry.readable);
    JsonValue unnamed;
    ASSERT_TRUE(ParseJson(R"({"workspaces":[],"name":""})", unnamed));
    EXPECT_EQ(BackupEntryFromDocument(&unnamed, L"D:\\b\\f.json", L"f.json", 7).name, L"f.json");
    JsonValue noArrangement;
    ASSERT_TRUE(ParseJson(R"({"name":"x"})", noArrangement));
    EXPECT_FALSE(BackupEntryFromDocument(&noArrangement, L"p", L"f.json", 7).readable);
    entry = BackupEntryFromDocument(nullptr, L"D:\\b\\f.json", L"f.json", 7);
    EXPECT_EQ(entry.name, L"f.json");
    EXPECT_EQ(entry.created, L"");
    EXPECT_FALSE(entry.readable);
}

TEST(BackupRules, DocumentEndsWithItsStampAndCompareIgnoresBookkeeping)
{
    Settings settings;
    settings.backupLast = 100;
    const JsonValue first = BackupDocument(settings, {2024, 3, 15, 14, 25, 1});
    const auto& members = first.Members();
    ASSERT_GE(members.size(), 3u);
    EXPECT_EQ(members[members.size() - 3].first, "name");
    EXPECT_EQ(members[members.size() - 3].second.StringOr(""), "2024-03-15 14:25");
    EXPECT_EQ(members[members.size() - 2].first, "created");
    EXPECT_EQ(members[members.size() - 2].second.StringOr(""), "2024-03-15 14:25");
    EXPECT_EQ(members.back().first, "auto");
    EXPECT_EQ(members.back().second.NumberOr(0), 1);

    settings.backupLast = 200;
    const JsonValue later = BackupDocument(settings, {2024, 3, 16, 9, 0, 0});
    EXPECT_TRUE(SameArrangement(first, later));
    settings.snap = !settings.snap;
    EXPECT_FALSE(SameArrangement(first, BackupDocument(settings, {2024, 3, 16, 9, 0, 0})));
    EXPECT_FALSE(SameArrangement(first, JsonValue(1)));
}

}  // namespace
}  // namespace cadrels
