// The mutation corpus for the host build: every mutated input is read from a
// buffer of exactly its size, so the sanitizer sees any read past its end.
#include "GuardedText.h"
#include "JsonMutator.h"
#include "PropertySeeds.h"
#include "LargeLayout.h"

#include "app/PageRequest.h"
#include "i18n/TextEncoding.h"
#include "model/JsonValue.h"
#include "model/SettingsJson.h"
#include "model/SnapshotListing.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {


TEST(HostJsonRobustness, MutatedLayoutsAreReadWithinTheirBytes)
{
    const std::vector<std::string> seeds = {
        SerializeJson(SettingsToJson(testing::MakeLargeSettings(2, 3, 2, 11)), 2),
        R"({"a":[1,2,{"b":"\u00e9\uD83D\uDE00"}],"c":null,"d":true,"e":-1.5e3})",
        R"({"workspaces":[{"cadrels":[{"id":"{C}","tabs":[{"title":"t"}],"density":[1,2,3]}]}]})",
        R"({"recentDisplays":["a","b"],"cadrels":[{"id":"x","title":"a","folder":"b"}]})",
        "[-", "-", "{\"a\":-",
    };
    for (const std::uint32_t seed : testing::PropertySeeds({777})) {
        testing::AnnounceSeed(seed);
        testing::JsonMutator mutator(seed);
        constexpr int Inputs = 20000;
        int parsed = 0;
        for (int i = 0; i < Inputs; ++i) {
            const std::string input = mutator.Mutate(seeds[static_cast<size_t>(i) % seeds.size()]);
            const test::GuardedText text(input);
            JsonValue value;
            if (ParseJson(text.View(), value)) {
                ++parsed;
                Settings settings;
                bool pagesFound = false;
                SettingsFromJson(value, settings, pagesFound);
                // Whatever was read writes out and reads back.
                JsonValue again;
                EXPECT_TRUE(ParseJson(SerializeJson(SettingsToJson(settings), 2), again));
            }
        }
        EXPECT_GT(parsed, Inputs / 100);
        EXPECT_LT(parsed, Inputs);
    }
}


// A snapshot may come from another machine or a shared folder: whatever its
// bytes, listing it and reading it for a restore stay within them, and what
// a restore would take from it is a whole arrangement with a page to show.
TEST(HostJsonRobustness, MutatedSnapshotsAreListedAndRestoredWithinTheirBytes)
{
    Settings large = testing::MakeLargeSettings(3, 2, 2, 5);
    large.dock = {L"C:\\a.lnk"};
    std::string largeSnapshot = SerializeJson(SettingsToJson(large), 2);
    largeSnapshot.insert(largeSnapshot.rfind('}'), ",\"name\":\"Fusion\",\"created\":\"2024-05-06 07:08\",\"auto\":1");
    const std::vector<std::string> seeds = {
        largeSnapshot,
        R"({"version":2,"activeWorkspace":7,"workspaces":[{"id":"{P}","name":"A","cadrels":[{"id":"{C}","tabs":[{"title":"t","folder":"\\\\srv\\s"}]}],"layouts":{"k":{"{C}":{"monitor":"m","x":0.1,"y":0.1,"w":0.2,"h":0.3,"rolled":1}}}}],"name":"Avant restauration","created":"2024-13-40 99:99","auto":1})",
        R"({"cadrels":[{"id":"x","title":"a","folder":"b","x":1e308}],"name":["n"],"created":null,"auto":"1"})",
        R"({"workspaces":[],"name":"","created":"","auto":0,"name":"deux"})",
    };
    for (const std::uint32_t seed : testing::PropertySeeds({4242})) {
        testing::AnnounceSeed(seed);
        testing::JsonMutator mutator(seed);
        constexpr int Inputs = 12000;
        int listed = 0;
        for (int i = 0; i < Inputs; ++i) {
            const std::string input = mutator.Mutate(seeds[static_cast<size_t>(i) % seeds.size()]);
            const test::GuardedText text(input);
            JsonValue value;
            if (!ParseJson(text.View(), value)) {
                continue;
            }
            std::vector<SnapshotEntry> entries;
            if (std::optional<SnapshotEntry> entry = SnapshotEntryFromDocument(value, L"p", L"f.json", 5)) {
                ++listed;
                entries.push_back(*entry);
                entries.push_back(*entry);
                entries.back().lastWrite = 6;
                OrderSnapshotsNewestFirst(entries, [](std::uint64_t) { return std::wstring(L"2024-05-06 07:08"); });
                EXPECT_EQ(entries.front().lastWrite, 6u);
                EXPECT_LE(SnapshotsBeyondRetention(entries, 1).size(), 1u);
            }
            Settings restored;
            bool pagesFound = false;
            if (SettingsFromJson(value, restored, pagesFound)) {
                ASSERT_FALSE(restored.workspaces.empty());
                ASSERT_GE(restored.activeWorkspace, 0);
                ASSERT_LT(restored.activeWorkspace, static_cast<int>(restored.workspaces.size()));
            }
            if (SetSnapshotName(value, "renomm\xC3\xA9")) {
                JsonValue again;
                ASSERT_TRUE(ParseJson(SerializeJson(value, 2), again));
            }
        }
        EXPECT_GT(listed, Inputs / 100);
    }
}

TEST(HostRequestRobustness, MutatedPageRequestsAreReadWithinTheirCharacters)
{
    const std::vector<std::string> seeds = {"new\tProjets", "rename\t2\tTravail", "delete\t0", "switch\t12",
                                            "snapshot\tAvant: test?", "restore\tC:\\s\\snap_x.json"};
    for (const std::uint32_t seed : testing::PropertySeeds({99})) {
        testing::AnnounceSeed(seed);
        testing::JsonMutator mutator(seed);
        for (int i = 0; i < 20000; ++i) {
            const std::wstring text = Utf8ToWide(mutator.Mutate(seeds[static_cast<size_t>(i) % seeds.size()]));
            // Exactly the characters, no terminator to lean on.
            const std::vector<wchar_t> exact(text.begin(), text.end());
            const std::optional<PageRequest> request = ParsePageRequest(std::wstring_view(exact.data(), exact.size()));
            if (request) {
                EXPECT_EQ(ParsePageRequest(PageRequestText(*request)), request) << "what is read writes back the same";
            }
        }
    }
}

}  // namespace
}  // namespace cadrels
