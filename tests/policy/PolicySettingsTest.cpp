// The forced values the settings schema's entries look up: the same answers
// the policy's own queries give, in the form the settings store.
#include "policy/PolicySettings.h"

#include "i18n/StringTable.h"

#include <gtest/gtest.h>

#include <random>

namespace cadrels {
namespace {

std::optional<SettingValue> Forced(const PolicyDocument& policy, std::string_view key)
{
    const GlobalSetting* global = FindGlobalSetting(key);
    const CadrelSetting* cadrel = FindCadrelSetting(key);
    EXPECT_TRUE(global || cadrel) << key;
    return ForcedSetting(policy, global ? global->policy : cadrel ? cadrel->policy : SettingPolicy{});
}

std::optional<SettingValue> Number(double number)
{
    return SettingValue{number};
}

TEST(PolicySettings, EachReadingGivesTheStoredForm)
{
    struct Case {
        const char* policy;
        const char* setting;
        std::optional<SettingValue> forced;
    };
    const Case cases[] = {
        {R"({"forceOpacity":5})", "opacity", Number(0.15)},
        {R"({"forceOpacity":"50"})", "opacity", std::nullopt},
        {R"({"forceOpacity":62.5})", "opacity", Number(0.63)},
        {R"({"forceZoom":250})", "density", Number(2.0)},
        {R"({"forceZoom":125})", "density", Number(1.25)},
        {R"({"forceGrid":300})", "grid", Number(256)},
        {R"({"forceGrid":-4})", "grid", Number(0)},
        {R"({"forceGrid":true})", "grid", std::nullopt},
        {R"({"forceTheme":"SOMBRE"})", "theme", Number(1)},
        {R"({"forceTheme":"purple"})", "theme", std::nullopt},
        {R"({"forceTheme":2})", "theme", std::nullopt},
        {R"({"forceViewMode":"Tuiles"})", "viewMode", Number(2)},
        {R"({"forceViewMode":"ic\u00f4nes"})", "viewMode", Number(0)},
        {R"({"forceLanguage":"EN"})", "language", Number(LanguageIndexFromCode("en"))},
        {R"({"forceLanguage":"pt-BR"})", "language", Number(5)},
        {R"({"forceLanguage":"xx-YY"})", "language", std::nullopt},
        {R"({"forceLanguage":""})", "language", std::nullopt},
        {R"({"forceAccent":"#102030"})", "accent", Number(0x302010)},
        {R"({"forceCadrelColor":"FFFFFF"})", "cadrelBg", Number(0xFFFFFF)},
        {R"({"forceCadrelColor":"#FFF"})", "cadrelBg", std::nullopt},
        {R"({"forceDock":true})", "showDock", Number(1)},
        {R"({"forceSnap":0})", "snap", Number(0)},
        {R"({"forceDblClickHide":"yes"})", "dblClickHide", Number(0)},
        {R"({"forceBackup":1})", "backupEnabled", Number(1)},
        {R"({"forceBackupCloud":false})", "backupCloud", Number(0)},
        {R"({"forceBackupFolder":"Documents\\Sauvegardes"})", "backupFolder",
         SettingValue{0, L"Documents\\Sauvegardes"}},
        {R"({"forceBackupFolder":""})", "backupFolder", std::nullopt},
        {R"({"forceBackupFolder":3})", "backupFolder", std::nullopt},
        {R"({"forceDock":true})", "snap", std::nullopt},
        {R"({})", "sortBy", std::nullopt},
    };
    for (const Case& c : cases) {
        const PolicyDocument policy = ParsePolicy(c.policy);
        ASSERT_TRUE(policy.InForce()) << c.policy;
        const std::optional<SettingValue> forced = Forced(policy, c.setting);
        ASSERT_EQ(forced.has_value(), c.forced.has_value()) << c.policy << " " << c.setting;
        if (forced) {
            EXPECT_DOUBLE_EQ(forced->number, c.forced->number) << c.policy;
            EXPECT_EQ(forced->text, c.forced->text) << c.policy;
        }
    }
    EXPECT_EQ(Forced(PolicyDocument(), "theme"), std::nullopt) << "no policy forces nothing";
}

// Whatever the file holds, the schema's look-up and the policy's own queries
// agree: the menus that still ask the queries offer what the overrides force.
TEST(PolicySettings, AgreesWithThePolicyQueriesOverRandomValues)
{
    const char* values[] = {"true", "false", "0", "1", "2", "-4", "15", "62.5", "100", "250", "1e300", "null",
                            "\"dark\"", "\"LIGHT\"", "\"liste\"", "\"tiles\"", "\"fr\"", "\"DE\"", "\"zz\"",
                            "\"#00FF80\"", "\"12345\"", "\"\"", "[]", "{}"};
    const char* keys[] = {"forceTheme", "forceViewMode", "forceOpacity", "forceZoom", "forceLanguage",
                          "forceGrid", "forceAccent", "forceDock"};
    std::mt19937 random(20261210);
    for (int round = 0; round < 400; ++round) {
        std::string text = "{";
        for (const char* key : keys) {
            if (random() % 2 == 0) {
                text += text.size() > 1 ? "," : "";
                text += std::string("\"") + key + "\":" + values[random() % std::size(values)];
            }
        }
        text += "}";
        const PolicyDocument policy = ParsePolicy(text);
        ASSERT_TRUE(policy.InForce()) << text;
        const auto number = [&](std::string_view key) {
            const std::optional<SettingValue> forced = Forced(policy, key);
            return forced ? forced->number : -1.0;
        };
        EXPECT_EQ(number("theme"), policy.Theme()) << text;
        EXPECT_EQ(number("viewMode"), policy.ViewMode()) << text;
        EXPECT_EQ(number("opacity"), policy.ForcedOpacity().value_or(-1.0)) << text;
        EXPECT_EQ(number("density"), policy.ForcedZoom().value_or(-1.0)) << text;
        EXPECT_EQ(number("grid"), policy.Int("forceGrid", 0, 256)) << text;
        EXPECT_EQ(number("showDock"), policy.Bool("forceDock")) << text;
        const int language = policy.LanguageCode().empty() ? -1 : LanguageIndexFromCode(policy.LanguageCode());
        EXPECT_EQ(number("language"), language) << text;
        const std::optional<Color> accent = policy.Colour("forceAccent");
        EXPECT_EQ(number("accent"), accent ? static_cast<double>(*accent) : -1.0) << text;
    }
}

}  // namespace
}  // namespace cadrels
