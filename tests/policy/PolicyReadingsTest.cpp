// Every policy key is read through these rules; a table per rule.
#include "policy/PolicyReadings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace cadrels {
namespace {

JsonValue Parsed(const char* text)
{
    JsonValue value;
    EXPECT_TRUE(ParseJson(text, value)) << text;
    return value;
}

TEST(PolicyReadings, BooleansFromEveryType)
{
    struct Case {
        JsonValue value;
        int expected;
    };
    const Case cases[] = {
        {JsonValue(true), 1},
        {JsonValue(false), 0},
        {JsonValue(0), 0},
        {JsonValue(-0.0), 0},
        {JsonValue(2), 1},
        {JsonValue(-0.25), 1},
        {JsonValue(std::nan("")), 1},
        {JsonValue("true"), 0},
        {JsonValue("1"), 0},
        {JsonValue(), 0},
        {Parsed("[1]"), 0},
        {Parsed("{}"), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadPolicyBoolean(&c.value), c.expected) << SerializeJson(c.value, 0);
    }
    EXPECT_EQ(ReadPolicyBoolean(nullptr), PolicyNotSet);
}

TEST(PolicyReadings, IntegersRoundHalfAwayFromZeroThenClamp)
{
    struct Case {
        JsonValue value;
        int min, max, expected;
    };
    const double infinity = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {JsonValue(50), 15, 100, 50},
        {JsonValue(50.5), 15, 100, 51},
        {JsonValue(50.49), 15, 100, 50},
        {JsonValue(14.5), 15, 100, 15},
        {JsonValue(5), 15, 100, 15},
        {JsonValue(2.5), 0, 256, 3},
        {JsonValue(-2.5), -10, 256, -3},
        {JsonValue(300), 0, 256, 256},
        {JsonValue(-4), 0, 256, 0},
        {JsonValue(1e300), 60, 200, 200},
        {JsonValue(infinity), 60, 200, 200},
        {JsonValue(-infinity), 60, 200, 60},
        {JsonValue(std::nan("")), 0, 256, PolicyNotSet},
        {JsonValue("50"), 15, 100, PolicyNotSet},
        {JsonValue(true), 0, 256, PolicyNotSet},
        {JsonValue(), 0, 256, PolicyNotSet},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadPolicyInteger(&c.value, c.min, c.max), c.expected) << SerializeJson(c.value, 0);
    }
    EXPECT_EQ(ReadPolicyInteger(nullptr, 0, 10), PolicyNotSet);
}

TEST(PolicyReadings, StringsAndWords)
{
    const JsonValue text("Acme Bureau");
    const JsonValue number(3);
    EXPECT_EQ(ReadPolicyString(&text), "Acme Bureau");
    EXPECT_EQ(ReadPolicyString(&number), "");
    EXPECT_EQ(ReadPolicyString(nullptr), "");

    const JsonValue shouted("SoMBRE \xC3\x89T\xC3\x89");
    EXPECT_EQ(ReadPolicyWord(&shouted, false), "sombre \xC3\x89t\xC3\x89") << "only ASCII letters are lowered";
    const JsonValue fraction(2.9);
    const JsonValue negative(-1.7);
    EXPECT_EQ(ReadPolicyWord(&fraction, false), "");
    EXPECT_EQ(ReadPolicyWord(&fraction, true), "2") << "numbers are truncated";
    EXPECT_EQ(ReadPolicyWord(&negative, true), "-1");
    const JsonValue huge(1e30);
    const JsonValue nan(std::nan(""));
    EXPECT_EQ(ReadPolicyWord(&huge, true), "");
    EXPECT_EQ(ReadPolicyWord(&nan, true), "");
}

TEST(PolicyReadings, ThemeAndViewModeInEveryAcceptedSpelling)
{
    struct Case {
        const char* word;
        int theme;
        int viewMode;
    };
    const Case cases[] = {
        {"system", 0, -1}, {"systeme", 0, -1}, {"auto", 0, -1}, {"0", 0, 0},
        {"dark", 1, -1},   {"sombre", 1, -1},  {"1", 1, 1},     {"light", 2, -1},
        {"clair", 2, -1},  {"2", 2, 2},        {"icons", -1, 0}, {"icones", -1, 0},
        {"ic\xC3\xB4nes", -1, 0}, {"list", -1, 1}, {"liste", -1, 1}, {"tiles", -1, 2},
        {"tuiles", -1, 2}, {"3", -1, -1},      {"purple", -1, -1}, {"", -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PolicyThemeFromWord(c.word), c.theme) << c.word;
        EXPECT_EQ(PolicyViewModeFromWord(c.word), c.viewMode) << c.word;
    }
}

TEST(PolicyReadings, ColoursWithAndWithoutHash)
{
    struct Case {
        JsonValue value;
        std::optional<Color> expected;
    };
    const Case cases[] = {
        {JsonValue("#FF8000"), 0x0080FFu},
        {JsonValue("ff8000"), 0x0080FFu},
        {JsonValue("#0a0B0c"), 0x0C0B0Au},
        {JsonValue("000000"), 0u},
        {JsonValue("#ff800"), std::nullopt},
        {JsonValue("#ff80000"), std::nullopt},
        {JsonValue("##ff8000"), std::nullopt},
        {JsonValue("gg8000"), std::nullopt},
        {JsonValue(" ff8000"), std::nullopt},
        {JsonValue(0xFF8000), std::nullopt},
        {JsonValue(), std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadPolicyColour(&c.value), c.expected) << SerializeJson(c.value, 0);
    }
}

TEST(PolicyReadings, SectionNamesInEverySpelling)
{
    struct Case {
        const char* name;
        int section;
    };
    const Case cases[] = {
        {"guide", 0},  {"Appearance", 1}, {"apparence", 1}, {"THEME", 1},    {"colors", 1},   {"couleurs", 1},
        {"editcadrel", 2}, {"edit", 2},   {"cadrel", 2},    {"pages", 3},    {"rules", 4},    {"sort", 4},
        {"tri", 4},    {"language", 5},   {"langue", 5},    {"updates", 8},  {"update", 8},   {"maj", 8},
        {"Support", 9}, {"about", 10},    {"apropos", 10},  {"backup", 12},  {"sauvegarde", 12}, {"save", 12},
        {"hotkeys", 13}, {"raccourcis", 13}, {"shortcuts", 13}, {"general", -1}, {"", -1}, {" guide", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PolicySectionFromName(c.name), c.section) << c.name;
    }
}

TEST(PolicyReadings, TrimsOnlySpacesAndTabsAtTheEnds)
{
    EXPECT_EQ(TrimSpacesAndTabs(L" \t C:\\Corp\\policy.json\t "), L"C:\\Corp\\policy.json");
    EXPECT_EQ(TrimSpacesAndTabs(L"C:\\My Files\\p.json"), L"C:\\My Files\\p.json");
    EXPECT_EQ(TrimSpacesAndTabs(L" \t "), L"");
    EXPECT_EQ(TrimSpacesAndTabs(L"\nx\n"), L"\nx\n");
}

}  // namespace
}  // namespace cadrels
