// The mutation corpus for the host build: every mutated input is read from a
// buffer of exactly its size, so the sanitizer sees any read past its end.
#include "GuardedText.h"
#include "JsonMutator.h"
#include "LargeLayout.h"

#include "model/JsonValue.h"
#include "model/SettingsJson.h"

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
    testing::JsonMutator mutator(777);
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

}  // namespace
}  // namespace cadrels
