#include "i18n/LanguageTexts.h"
#include "i18n/StringTable.h"

#include "LanguageScope.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrels {
namespace {

using testing::LanguageScope;

using i18n::LanguageCount;
using i18n::StringCount;

// The printf conversions of a text, in order ("%s", "%d", "%%", ...).
std::vector<std::wstring> Placeholders(const std::wstring& text)
{
    std::vector<std::wstring> found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%') {
            continue;
        }
        size_t end = i + 1;
        while (end < text.size() && std::wstring_view(L"-+ #0123456789.lhI").find(text[end]) != std::wstring::npos) {
            ++end;
        }
        if (end < text.size()) {
            found.push_back(text.substr(i, end - i + 1));
        }
        i = end;
    }
    return found;
}

std::wstring TextOf(int id, int language)
{
    LanguageScope scope(language);
    return Tr(static_cast<TextId>(id));
}

TEST(StringTable, EveryEntryOfEveryLanguageIsPresentAndNotEmpty)
{
    for (int language = 0; language < LanguageCount; ++language) {
        for (int id = 0; id < StringCount; ++id) {
            EXPECT_FALSE(TextOf(id, language).empty()) << "id " << id << " language " << language;
        }
    }
}

TEST(StringTable, RetiredIdsShareOneMarkAndNoOtherTextUsesIt)
{
    for (int language = 0; language < LanguageCount; ++language) {
        for (int id = 0; id < StringCount; ++id) {
            const bool marked = TextOf(id, language) == i18n::RetiredText;
            EXPECT_EQ(marked, i18n::IsRetiredId(id)) << "id " << id << " language " << language;
        }
    }
}

TEST(StringTable, EveryLanguageKeepsThePlaceholdersAndLineBreaksOfEnglish)
{
    for (int id = 0; id < StringCount; ++id) {
        const std::wstring english = TextOf(id, 1);
        const auto expected = Placeholders(english);
        const auto breaks = std::count(english.begin(), english.end(), L'\n');
        for (int language = 0; language < LanguageCount; ++language) {
            const std::wstring text = TextOf(id, language);
            EXPECT_EQ(Placeholders(text), expected) << "id " << id << " language " << language;
            EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), breaks) << "id " << id << " language " << language;
        }
    }
}

TEST(StringTable, IdsOutsideTheTableGiveEmptyTexts)
{
    EXPECT_STREQ(Tr(static_cast<TextId>(i18n::StringCount)), L"");
    EXPECT_STREQ(Tr(static_cast<TextId>(-1)), L"");
    EXPECT_STREQ(Tr(static_cast<TextId>(1 << 30)), L"");
    EXPECT_EQ(TrFormat(static_cast<TextId>(i18n::StringCount), 5), L"");
    EXPECT_EQ(TrFormat(static_cast<TextId>(-1), 5), L"");
}

TEST(StringTable, FrenchIsTheStartingLanguage)
{
    EXPECT_EQ(UiLanguage(), 0);
    EXPECT_STREQ(Tr(TextId::EmptyCadrel), L"Cadrel vide");
    EXPECT_STREQ(Tr(TextId::CadrelsError), L"Cadrels — Erreur");
}

TEST(StringTable, TrFormatFillsWideStringsNumbersAndPercent)
{
    LanguageScope french(0);
    EXPECT_EQ(TrFormat(TextId::UndoAutoSort, 3), L"Rangement auto : 3 fichiers");
    EXPECT_EQ(TrFormat(TextId::LabelValue, L"Disque", L"plein"), L"Disque : plein");
    EXPECT_EQ(TrFormat(TextId::ValuePercent, L"Batterie", 42), L"Batterie (42 %)");
    EXPECT_EQ(TrFormat(TextId::UptimeFormat, 1, 2, 3), L"1 j 2 h 3 min");
    SetUiLanguage(1);
    EXPECT_EQ(TrFormat(TextId::ValuePercent, L"Battery", 7), L"Battery (7%)");
    const std::wstring longName(3000, L'x');
    EXPECT_EQ(TrFormat(TextId::PcNameLine, longName.c_str()), L"- PC name: " + longName);
}

TEST(StringTable, SetUiLanguageClampsToTheTable)
{
    LanguageScope scope(0);
    SetUiLanguage(25);
    EXPECT_EQ(UiLanguage(), 18);
    SetUiLanguage(-3);
    EXPECT_EQ(UiLanguage(), 0);
    SetUiLanguage(7);
    EXPECT_EQ(UiLanguage(), 7);
}

TEST(StringTable, LanguageNamesAreNativeAndBounded)
{
    EXPECT_STREQ(LanguageName(0), L"Français");
    EXPECT_STREQ(LanguageName(8), L"Русский");
    EXPECT_STREQ(LanguageName(10), L"中文(简体)");
    EXPECT_STREQ(LanguageName(13), L"हिन्दी");
    EXPECT_STREQ(LanguageName(18), L"中文(繁體)");
    EXPECT_STREQ(LanguageName(19), L"");
    EXPECT_STREQ(LanguageName(-1), L"");
    for (int language = 0; language < LanguageCount; ++language) {
        EXPECT_NE(std::wstring(LanguageName(language)), L"") << language;
        EXPECT_EQ(LanguageIndexFromCode(LanguageCode(language)), language) << language;
    }
}

TEST(StringTable, LanguageIndexFromCode)
{
    struct Case {
        const char* code;
        int expected;
    };
    const Case cases[] = {
        {"fr", 0},    {"EN", 1},     {"pt-BR", 5},  {"PT-br", 5}, {"zh-tw", 18}, {"ZH-TW", 18},
        {"zh-cn", 10}, {"zh-HK", 10}, {"zh", 10},    {"-pt", -1},  {"", -1},      {"xx", -1},
        {"xx-fr", -1}, {"de-", 3},    {"ja-JP-x", 11}, {"f", -1},  {"fr ", -1},   {"tr-TR", 9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageIndexFromCode(c.code), c.expected) << c.code;
    }
}

// Windows names its interface language by locale: the script or the region
// tells Traditional from Simplified Chinese.
TEST(StringTable, LanguageIndexForLocale)
{
    struct Case {
        const char* locale;
        int expected;
    };
    const Case cases[] = {
        {"fr-FR", 0},      {"fr-CA", 0},       {"en-US", 1},      {"en-GB", 1},     {"de-AT", 3},
        {"pt-PT", 5},      {"zh-Hant-TW", 18}, {"zh-TW", 18},     {"zh-HK", 18},    {"zh-MO", 18},
        {"zh-Hans-CN", 10}, {"zh-CN", 10},     {"zh-SG", 10},     {"sw-KE", -1},    {"", -1},
        {"x-hant", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageIndexForLocale(c.locale), c.expected) << c.locale;
    }
}

}  // namespace
}  // namespace cadrels
