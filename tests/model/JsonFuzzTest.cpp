// Seeded mutations of valid layouts and JSON fragments: whatever the bytes,
// reading them must end, without a crash and without an exception.
#include "LargeLayout.h"
#include "TestFiles.h"

#include "model/JsonValue.h"
#include "model/LayoutFile.h"
#include "model/SettingsJson.h"

#include <gtest/gtest.h>

#include <random>

namespace cadrels {
namespace {

class Mutator {
public:
    explicit Mutator(unsigned seed) : random_(seed) {}

    std::string Mutate(std::string text)
    {
        const int steps = 1 + Below(4);
        for (int i = 0; i < steps && !text.empty(); ++i) {
            switch (Below(9)) {
            case 0:  // flip a byte
                text[Below(text.size())] ^= static_cast<char>(1 << Below(8));
                break;
            case 1:  // cut the end
                text.resize(Below(text.size()));
                break;
            case 2:  // random byte anywhere
                text.insert(text.begin() + static_cast<long>(Below(text.size() + 1)), static_cast<char>(Below(256)));
                break;
            case 3:  // deep nesting
                text.insert(Below(text.size() + 1), std::string(50 + Below(400), Below(2) ? '[' : '{'));
                break;
            case 4:  // huge or strange numbers
                text.insert(Below(text.size() + 1), Pick({"1e308", "-1e309", "9999999999999999999999", "1e-400",
                                                          "0.0000000000000000000001", "-0", "1.5e+", "00012"}));
                break;
            case 5:  // bad or odd escapes
                text.insert(Below(text.size() + 1), Pick({"\\x", "\\u", "\\uD800", "\\uDC00\\uD800", "\\u12",
                                                          "\\\"", "\\uD83D\\uDE00", "\\"}));
                break;
            case 6:  // structural characters
                text.insert(Below(text.size() + 1), std::string(1, Pick({",", ":", "]", "}", "\"", "[", "{"})[0]));
                break;
            case 7:  // duplicate a slice
            {
                const size_t from = Below(text.size());
                const size_t length = Below(std::min<size_t>(200, text.size() - from) + 1);
                text.insert(Below(text.size() + 1), text.substr(from, length));
                break;
            }
            default:  // swap a value for another type
                text.insert(Below(text.size() + 1), Pick({"null", "true", "[]", "{}", "\"s\"", "-3.5"}));
                break;
            }
        }
        return text;
    }

private:
    size_t Below(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
    const char* Pick(std::initializer_list<const char*> options)
    {
        return options.begin()[Below(options.size())];
    }

    std::mt19937 random_;
};

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
    Mutator mutator(424242);
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
    testing::RemoveTree(folder);
}

}  // namespace
}  // namespace cadrels
