#include "model/SnapshotListing.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace cadrels {
namespace {

JsonValue Parsed(const std::string& text)
{
    JsonValue value;
    EXPECT_TRUE(ParseJson(text, value)) << text;
    return value;
}

SnapshotEntry Entry(std::wstring path, std::wstring created, bool isAuto, std::uint64_t lastWrite)
{
    return SnapshotEntry{path, path, std::move(created), isAuto, lastWrite};
}

std::vector<std::wstring> Paths(const std::vector<SnapshotEntry>& entries)
{
    std::vector<std::wstring> paths;
    for (const SnapshotEntry& entry : entries) {
        paths.push_back(entry.path);
    }
    return paths;
}

// Write times in these tests are minutes since a fixed day, shown as text.
std::wstring MinutesAsText(std::uint64_t minutes)
{
    wchar_t text[32];
    swprintf(text, 32, L"2024-03-%02u %02u:%02u", static_cast<unsigned>(1 + minutes / 1440),
             static_cast<unsigned>(minutes / 60 % 24), static_cast<unsigned>(minutes % 60));
    return text;
}

TEST(SnapshotEntry, ListsOnlyDocumentsThatHoldAnArrangement)
{
    struct Case {
        const char* document;
        bool listed;
    };
    const Case cases[] = {
        {R"({"workspaces":[]})", true},
        {R"({"cadrels":[]})", true},  // the older single-page form
        {R"({"version":2,"theme":1})", false},
        {R"({"name":"x","created":"2024-01-01 10:00","auto":1})", false},
        {R"([{"workspaces":[]}])", false},
        {R"("workspaces")", false},
        {"null", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SnapshotEntryFromDocument(Parsed(c.document), L"C:\\s\\f.json", L"f.json", 7).has_value(), c.listed)
            << c.document;
    }
}

TEST(SnapshotEntry, TakesNameCreatedAndAutoWithTheirFallbacks)
{
    struct Case {
        const char* document;
        std::wstring name;
        std::wstring created;
        bool isAuto;
    };
    const Case cases[] = {
        {R"({"workspaces":[],"name":"Fusion \u00e9t\u00e9","created":"2024-05-06 07:08","auto":1})", L"Fusion été",
         L"2024-05-06 07:08", true},
        {R"({"workspaces":[],"name":"","auto":0})", L"f.json", L"", false},
        {R"({"workspaces":[],"name":12,"created":3,"auto":2})", L"f.json", L"", true},
        {R"({"workspaces":[],"auto":"1"})", L"f.json", L"", false},
        {R"({"workspaces":[],"auto":true})", L"f.json", L"", false},
        {R"({"workspaces":[],"auto":-0.5})", L"f.json", L"", true},
    };
    for (const Case& c : cases) {
        const std::optional<SnapshotEntry> entry =
            SnapshotEntryFromDocument(Parsed(c.document), L"C:\\s\\f.json", L"f.json", 42);
        ASSERT_TRUE(entry) << c.document;
        EXPECT_EQ(*entry, (SnapshotEntry{L"C:\\s\\f.json", c.name, c.created, c.isAuto, 42})) << c.document;
    }
}

TEST(SnapshotTimeText, AcceptsOnlyTheWrittenShapeWithPossibleFields)
{
    for (const wchar_t* good : {L"2024-05-06 07:08", L"1999-12-31 23:59", L"2030-01-01 00:00"}) {
        EXPECT_TRUE(IsSnapshotTimeText(good)) << good;
    }
    for (const wchar_t* bad : {L"", L"2024-05-06 7:08", L"2024-05-06 07:08:00", L"2024-13-06 07:08",
                               L"2024-00-06 07:08", L"2024-05-00 07:08", L"2024-05-32 07:08", L"2024-05-06 24:00",
                               L"2024-05-06 07:60", L"2024/05/06 07:08", L"2024-05-06T07:08", L"２024-05-06 07:08",
                               L"abcd-ef-gh ij:kl"}) {
        EXPECT_FALSE(IsSnapshotTimeText(bad)) << bad;
    }
}

TEST(SnapshotOrder, IsByCreationTimeNotByTheLastWrite)
{
    // "old" was taken first but renamed last: its file is the most recently
    // written one.
    std::vector<SnapshotEntry> entries = {
        Entry(L"old", L"2024-03-01 08:00", true, 900),
        Entry(L"new", L"2024-03-01 10:00", true, 100),
        Entry(L"middle", L"2024-03-01 09:00", false, 200),
    };
    OrderSnapshotsNewestFirst(entries, MinutesAsText);
    EXPECT_EQ(Paths(entries), (std::vector<std::wstring>{L"new", L"middle", L"old"}));
}

TEST(SnapshotOrder, UsesTheWriteTimeForAMissingOrMalformedCreationTimeAndForTies)
{
    std::vector<SnapshotEntry> entries = {
        Entry(L"no-created-9:30", L"", false, 9 * 60 + 30),
        Entry(L"same-minute-early", L"2024-03-01 09:00", true, 9 * 60 + 1),
        Entry(L"garbage-created-11:00", L"hier", true, 11 * 60),
        Entry(L"same-minute-late", L"2024-03-01 09:00", true, 9 * 60 + 2),
        Entry(L"created-10:00", L"2024-03-01 10:00", true, 1),
        Entry(L"b-twin", L"2024-03-01 08:00", true, 5),
        Entry(L"a-twin", L"2024-03-01 08:00", true, 5),
    };
    OrderSnapshotsNewestFirst(entries, MinutesAsText);
    EXPECT_EQ(Paths(entries),
              (std::vector<std::wstring>{L"garbage-created-11:00", L"created-10:00", L"no-created-9:30",
                                         L"same-minute-late", L"same-minute-early", L"a-twin", L"b-twin"}));
}

TEST(SnapshotRetention, KeepsTheNewestAutomaticOnesAndEveryManualOne)
{
    // Twelve automatic snapshots, newest first, with manual ones between them.
    std::vector<SnapshotEntry> entries;
    for (int i = 12; i >= 1; --i) {
        entries.push_back(Entry(L"auto" + std::to_wstring(i), L"", true, static_cast<std::uint64_t>(i * 10)));
        if (i % 4 == 0) {
            entries.push_back(Entry(L"manual" + std::to_wstring(i), L"", false, static_cast<std::uint64_t>(i * 10 - 1)));
        }
    }
    EXPECT_EQ(SnapshotsBeyondRetention(entries, 10), (std::vector<std::wstring>{L"auto2", L"auto1"}));
    EXPECT_EQ(SnapshotsBeyondRetention(entries, 12), std::vector<std::wstring>{});
    EXPECT_EQ(SnapshotsBeyondRetention(entries, 11), std::vector<std::wstring>{L"auto1"});
    const std::vector<std::wstring> all = SnapshotsBeyondRetention(entries, -3);
    EXPECT_EQ(all.size(), 12u) << "a negative count keeps none";
    EXPECT_TRUE(std::none_of(all.begin(), all.end(), [](const std::wstring& p) { return p.rfind(L"manual", 0) == 0; }));
}

TEST(SnapshotRetention, ARenamedOldSnapshotIsStillTheOldest)
{
    // Eleven automatic snapshots a minute apart; the oldest was renamed after
    // the newest was taken.
    std::vector<SnapshotEntry> entries;
    for (int minute = 0; minute < 11; ++minute) {
        entries.push_back(Entry(L"auto" + std::to_wstring(minute), MinutesAsText(static_cast<std::uint64_t>(minute)),
                                true, static_cast<std::uint64_t>(minute)));
    }
    entries[0].lastWrite = 100;
    OrderSnapshotsNewestFirst(entries, MinutesAsText);
    EXPECT_EQ(entries.front().path, L"auto10");
    EXPECT_EQ(SnapshotsBeyondRetention(entries, 10), std::vector<std::wstring>{L"auto0"});
}

TEST(SnapshotName, ReplacesTheFirstNameMemberOrAppendsOne)
{
    JsonValue twice = Parsed(R"({"workspaces":[],"name":"a","auto":1,"name":"b"})");
    ASSERT_TRUE(SetSnapshotName(twice, "Nouveau \xC3\xA9"));
    EXPECT_EQ(twice, Parsed(R"({"workspaces":[],"name":"Nouveau \u00e9","auto":1,"name":"b"})"));

    JsonValue backup = Parsed(R"({"workspaces":[],"theme":2})");
    ASSERT_TRUE(SetSnapshotName(backup, "Sauvegarde"));
    EXPECT_EQ(backup, Parsed(R"({"workspaces":[],"theme":2,"name":"Sauvegarde"})"));

    for (const char* notObject : {"[]", "\"name\"", "3"}) {
        JsonValue value = Parsed(notObject);
        const JsonValue before = value;
        EXPECT_FALSE(SetSnapshotName(value, "x")) << notObject;
        EXPECT_EQ(value, before);
    }
}

}  // namespace
}  // namespace cadrels
