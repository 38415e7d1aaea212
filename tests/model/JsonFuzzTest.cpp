// Seeded mutations of valid layouts and JSON fragments: whatever the bytes,
// reading them must end, without a crash and without an exception.
#include "JsonMutator.h"
#include "PropertySeeds.h"
#include "LargeLayout.h"
#include "TestFiles.h"

#include "model/JsonValue.h"
#include "model/LayoutFile.h"
#include "model/SettingsJson.h"

#include <gtest/gtest.h>


namespace cadrels {
namespace {


TEST(JsonRobustness, OneHundredThousandMutatedInputsAreReadSafely)
{
    const std::string layout = SerializeSettings(testing::MakeLargeSettings(2, 4, 2, 7));
    const std::vector<std::string> seeds = {
        layout,
        R"({"a":[1,2,{"b":"\u00e9\uD83D\uDE00"}],"c":null,"d":true,"e":-1.5e3})",
        R"({"workspaces":[{"cadrels":[{"id":"{C}","tabs":[{"title":"t"}],"density":[1,2,3]}]}]})",
        R"({"cadrels":[{"id":"x","expandUp":true,"title":"a","folder":"b"}],"layouts":{"k":{"x":{"x":0.5}}}})",
        "[[[[[[[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]]]]]]",
    };
    const std::wstring folder = testing::MakeTempFolder(L"fuzz");
    const std::wstring file = folder + L"\\layout.json";
    for (const std::uint32_t seed : testing::PropertySeeds({424242})) {
        testing::AnnounceSeed(seed);
        testing::JsonMutator mutator(seed);
        constexpr int Inputs = 100000;
        int parsed = 0;
        int documents = 0;
        for (int i = 0; i < Inputs; ++i) {
            const std::string input = mutator.Mutate(seeds[static_cast<size_t>(i) % seeds.size()]);
            JsonValue value;
            bool ok = false;
            EXPECT_NO_THROW(ok = ParseJson(input, value));
            if (ok) {
                ++parsed;
                Settings settings;
                bool pagesFound = false;
                EXPECT_NO_THROW(documents += SettingsFromJson(value, settings, pagesFound) ? 1 : 0);
                EXPECT_FALSE(settings.workspaces.empty() && documents > 0 && value.IsObject());
            }
            // Every 50th input also goes through the file reader.
            if (i % 50 == 0) {
                ASSERT_TRUE(testing::WriteBytes(file, input));
                Settings settings;
                bool pagesFound = false;
                EXPECT_NO_THROW(LoadSettingsFile(file, settings, pagesFound));
            }
        }
        // The mutations must exercise both sides of the parser to mean anything.
        EXPECT_GT(parsed, Inputs / 100);
        EXPECT_LT(parsed, Inputs - Inputs / 10);
        EXPECT_GT(documents, 0);
    }
    testing::RemoveTree(folder);
}

}  // namespace
}  // namespace cadrels
