// The settings schema's tables: consistent with the records they describe and
// with the choices a settings screen will offer, and its setter keeping values
// in range the way a stored value is read.
#include "model/SettingsSchema.h"

#include "i18n/StringTable.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <set>

namespace cadrels {
namespace {

template <typename Record>
void ExpectConsistent(std::span<const SettingEntry<Record>> table)
{
    std::set<std::string_view> keys;
    for (const SettingEntry<Record>& entry : table) {
        SCOPED_TRACE(std::string(entry.key));
        EXPECT_TRUE(keys.insert(entry.key).second) << "a key appears once";
        if (entry.IsStructured()) {
            EXPECT_FALSE(entry.policy.Exists());
            EXPECT_FALSE(entry.label.has_value());
            continue;
        }
        const SettingValue fallback = SettingDefault(entry);
        const SettingKind kind = entry.Kind();
        const bool ranged = kind == SettingKind::Int || kind == SettingKind::Double || kind == SettingKind::Zooms;
        if (ranged && !(entry.range.low == 0 && entry.range.high == 0)) {
            EXPECT_LE(entry.range.low, entry.range.high);
            // A default outside the range would be replaced by itself on reading
            // and offered by no control.
            EXPECT_GE(fallback.number, entry.range.low);
            EXPECT_LE(fallback.number, entry.range.high);
        }
        if (entry.outOfRange != OutOfRange::Kept) {
            EXPECT_TRUE(ranged) << "only numbers have a range rule";
        }
        bool defaultOffered = entry.choices.empty();
        for (const SettingChoice& choice : entry.choices) {
            EXPECT_GE(choice.value, entry.range.low);
            EXPECT_LE(choice.value, entry.range.high);
            EXPECT_TRUE(!choice.label || *Tr(*choice.label) != L'\0')
                << static_cast<int>(choice.label.value_or(TextId{}));
            defaultOffered = defaultOffered || choice.value == fallback.number;
        }
        EXPECT_TRUE(defaultOffered) << "the default is one of the choices";
        if (entry.IsShown()) {
            EXPECT_NE(*Tr(*entry.label), L'\0') << "label " << static_cast<int>(*entry.label) << " exists";
        }
        if (entry.flagRead == FlagRead::AcceptsBoolean) {
            EXPECT_EQ(kind, SettingKind::Flag);
        }
        if (entry.written == WhenWritten::WhenNotEmpty) {
            EXPECT_EQ(kind, SettingKind::Text);
        }
        // A forced value must survive the setting's own range rule untouched.
        if (entry.policy.reading == PolicyReading::Integer || entry.policy.reading == PolicyReading::Percent) {
            const double scale = entry.policy.reading == PolicyReading::Percent ? 100.0 : 1.0;
            EXPECT_LE(entry.policy.low, entry.policy.high);
            EXPECT_GE(entry.policy.low / scale, entry.range.low);
            EXPECT_LE(entry.policy.high / scale, entry.range.high);
        }
    }
}

TEST(SettingsSchema, TablesAreConsistentWithTheRecordsAndTheirChoices)
{
    ExpectConsistent(GlobalSettings());
    ExpectConsistent(CadrelSettings());

    std::set<std::string_view> policyKeys;
    const auto collect = [&](const auto& table) {
        for (const auto& entry : table) {
            if (entry.policy.Exists()) {
                EXPECT_TRUE(policyKeys.insert(entry.policy.key).second) << entry.policy.key << " forces one setting";
            }
        }
    };
    collect(GlobalSettings());
    collect(CadrelSettings());
    EXPECT_EQ(policyKeys.size(), 14u) << "every forced setting of the policy but the start with Windows";
}

TEST(SettingsSchema, KindsFollowTheFieldsTheEntriesName)
{
    struct Case {
        const char* key;
        SettingKind kind;
    };
    const Case globals[] = {{"snap", SettingKind::Flag},         {"grid", SettingKind::Int},
                            {"accent", SettingKind::Colour},      {"backupLast", SettingKind::Double},
                            {"backupFolder", SettingKind::Text},  {"dock", SettingKind::Structured},
                            {"workspaces", SettingKind::Structured}};
    for (const Case& c : globals) {
        ASSERT_NE(FindGlobalSetting(c.key), nullptr) << c.key;
        EXPECT_EQ(FindGlobalSetting(c.key)->Kind(), c.kind) << c.key;
    }
    const Case records[] = {{"opacity", SettingKind::Double}, {"tint", SettingKind::Colour},
                            {"pinned", SettingKind::Flag},    {"viewMode", SettingKind::Int},
                            {"density", SettingKind::Zooms},  {"tabs", SettingKind::Structured}};
    for (const Case& c : records) {
        ASSERT_NE(FindCadrelSetting(c.key), nullptr) << c.key;
        EXPECT_EQ(FindCadrelSetting(c.key)->Kind(), c.kind) << c.key;
    }
    EXPECT_EQ(FindGlobalSetting("opacity"), nullptr) << "the tables are apart";
    EXPECT_EQ(FindCadrelSetting("nonsense"), nullptr);
}

TEST(SettingsSchema, SetKeepsValuesInRangeAsReadingDoes)
{
    struct Case {
        const char* key;
        double given;
        double stored;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case globals[] = {
        {"grid", -5, 0},          {"grid", 8.9, 8},          {"grid", 1e300, INT_MAX},
        {"backupKeep", 0, 1},     {"backupKeep", 500, 100},  {"backupKeep", 7.9, 7},
        {"backupFreq", 3, 1},     {"backupFreq", -1, 1},     {"backupFreq", 2.7, 2},
        {"theme", 7, 7},          {"language", -3, -3},      {"activeWorkspace", -1e300, INT_MIN},
        {"language", nan, 0},     {"accent", 4294967297.0, 1}, {"accent", -1, 0xFFFFFFFFu},
        {"snap", 0, 0},           {"snap", -2, 1},           {"snap", nan, 1},
        {"backupLast", -5.5, -5.5},
    };
    for (const Case& c : globals) {
        Settings s;
        SetSetting(*FindGlobalSetting(c.key), s, SettingValue{c.given});
        EXPECT_EQ(GetSetting(*FindGlobalSetting(c.key), s).number, c.stored) << c.key << " " << c.given;
    }
    const Case records[] = {
        {"sortBy", 4, 0}, {"sortBy", 3.7, 3}, {"viewMode", -1, 0}, {"classifyMode", 9, 9},
        {"expandDir", 5, 5}, {"opacity", 1.5, 1.5}, {"opacity", 0.05, 0.05}, {"tint", 1e12, 3567587328.0},
    };
    for (const Case& c : records) {
        CadrelRecord r;
        SetSetting(*FindCadrelSetting(c.key), r, SettingValue{c.given});
        EXPECT_EQ(GetSetting(*FindCadrelSetting(c.key), r).number, c.stored) << c.key << " " << c.given;
    }

    Settings s;
    SetSetting(*FindGlobalSetting("backupFolder"), s, SettingValue{0, L"D:\\Sauvegardes ☂"});
    EXPECT_EQ(s.backupFolder, L"D:\\Sauvegardes ☂");
    EXPECT_EQ(GetSetting(*FindGlobalSetting("backupFolder"), s).text, s.backupFolder);
}

TEST(SettingsSchema, AZoomIsSetForEveryViewAndReadForTheCurrentOne)
{
    const CadrelSetting& zoom = *FindCadrelSetting("density");
    CadrelRecord r;
    r.density = {0.8f, 1.2f, 1.6f};
    r.viewMode = 2;
    EXPECT_FLOAT_EQ(static_cast<float>(GetSetting(zoom, r).number), 1.6f);
    r.viewMode = 7;
    EXPECT_FLOAT_EQ(static_cast<float>(GetSetting(zoom, r).number), 1.6f) << "an unknown view reads as the last";
    SetSetting(zoom, r, SettingValue{1.5});
    EXPECT_EQ(r.density, (std::array<float, 3>{1.5f, 1.5f, 1.5f}));
    SetSetting(zoom, r, SettingValue{9});
    EXPECT_EQ(r.density, (std::array<float, 3>{2.0f, 2.0f, 2.0f})) << "clamped as a stored zoom";
    EXPECT_FLOAT_EQ(static_cast<float>(SettingDefault(zoom).number), 1.0f);
}

TEST(SettingsSchema, EveryPlainValueGoesThroughGetAndSetUnchanged)
{
    Settings s;
    s.language = 11;
    s.theme = 2;
    s.snap = false;
    s.grid = 4096;
    s.accent = 0xFFFFFFFFu;
    s.cadrelBg = 0x00ABCDEFu;
    s.activeWorkspace = -7;
    s.backupFolder = L"\\\\serveur\\ユーザー";
    s.backupKeep = 1;
    s.backupLast = 1765432109.25;
    const Settings before = s;
    for (const GlobalSetting& entry : GlobalSettings()) {
        if (!entry.IsStructured()) {
            SetSetting(entry, s, GetSetting(entry, s));
        }
    }
    EXPECT_EQ(s, before);

    CadrelRecord r;
    r.opacity = 0.15;
    r.tint = 0x00010203u;
    r.caccent = 0xFF000000u;
    r.active = 3;
    r.locked = true;
    r.expandDir = 3;
    r.sortBy = 3;
    r.viewMode = 1;
    r.density = {1.25f, 1.25f, 1.25f};
    const CadrelRecord recordBefore = r;
    for (const CadrelSetting& entry : CadrelSettings()) {
        if (!entry.IsStructured()) {
            SetSetting(entry, r, GetSetting(entry, r));
        }
    }
    EXPECT_EQ(r, recordBefore);
}

}  // namespace
}  // namespace cadrels
