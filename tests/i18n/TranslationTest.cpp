// The seventeen translated languages: nothing left in English by accident.
#include "i18n/LanguageTexts.h"
#include "i18n/StringTable.h"

#include <gtest/gtest.h>

#include <set>

namespace cadrels {
namespace {

using i18n::LanguageCount;
using i18n::StringCount;

// Texts that are reviewed as genuinely the same as English in a language:
// product words (Cadrel, Dock), shared loanwords (Desktop, Audio, Zoom, Beta),
// technical abbreviations (CPU, GPU, VRAM, DPI), proper names (Windows) and
// formats made only of placeholders. Anything else equal to English is a
// text that was never translated.
const std::set<int> SameAsEnglish[LanguageCount] = {
    /* fr */ {6, 19, 31, 33, 34, 49, 107, 108, 132, 134, 145, 208, 214, 220, 233, 286, 363, 366, 370, 385, 391, 399,
              400, 401, 404, 454},
    /* en */ {},
    /* es */ {33, 208, 209, 256, 257, 286, 287, 353, 354, 359, 385},
    /* de */ {4, 5, 26, 32, 33, 106, 114, 208, 209, 220, 232, 233, 257, 286, 348, 353, 354, 359, 366, 370, 385, 410},
    /* it */ {4, 33, 51, 208, 209, 257, 286, 353, 354, 359, 363, 368, 370, 385, 399},
    /* pt */ {5, 51, 151, 208, 209, 257, 286, 287, 353, 354, 359, 368, 370, 385, 399},
    /* nl */ {5, 33, 107, 151, 152, 208, 232, 257, 286, 287, 341, 352, 353, 354, 359, 363, 366, 368, 370, 379, 385, 391,
              420},
    /* pl */ {7, 33, 40, 208, 209, 257, 286, 348, 352, 353, 359, 366, 368, 370, 410},
    /* ru */ {208, 257, 353, 366, 368, 370},
    /* tr */ {208, 209, 257, 286, 352, 353, 354, 359, 366, 368, 370},
    /* zh */ {208, 286, 368},
    /* ja */ {208, 286, 368},
    /* ko */ {208, 257, 354, 359, 368, 370},
    /* hi */ {208, 257, 353, 354, 359, 366, 368, 370},
    /* bn */ {208, 257, 353, 354, 359, 366, 368, 370},
    /* id */ {4, 7, 26, 33, 40, 151, 208, 209, 257, 286, 352, 353, 354, 359, 363, 366, 368, 370, 385, 399},
    /* vi */ {26, 208, 209, 257, 286, 354, 359, 368, 370},
    /* th */ {208, 257, 354, 359, 368, 370},
    /* zh-tw */ {208, 286, 368},
};

std::wstring TextOf(int id, int language)
{
    const int saved = UiLanguage();
    SetUiLanguage(language);
    std::wstring text = Tr(static_cast<TextId>(id));
    SetUiLanguage(saved);
    return text;
}

TEST(Translation, NoTextIsLeftInEnglishUnlessReviewed)
{
    for (int language = 0; language < LanguageCount; ++language) {
        if (language == 1) {
            continue;
        }
        for (int id = 0; id < StringCount; ++id) {
            if (i18n::IsRetiredId(id)) {
                continue;
            }
            const bool same = TextOf(id, language) == TextOf(id, 1);
            const bool allowed = SameAsEnglish[language].count(id) != 0;
            EXPECT_EQ(same, allowed) << LanguageCode(language) << " id " << id
                                     << (same ? ": still English" : ": listed as English but translated");
        }
    }
}

TEST(Translation, EveryLanguageIsItsOwn)
{
    // A language file copied over another would pass every per-text check.
    for (int a = 0; a < LanguageCount; ++a) {
        for (int b = a + 1; b < LanguageCount; ++b) {
            int same = 0;
            for (int id = 0; id < StringCount; ++id) {
                same += !i18n::IsRetiredId(id) && TextOf(id, a) == TextOf(id, b) ? 1 : 0;
            }
            EXPECT_LT(same, 60) << LanguageCode(a) << " and " << LanguageCode(b) << " share " << same << " texts";
        }
    }
}

TEST(Translation, NativeLanguageNames)
{
    const wchar_t* const expected[LanguageCount] = {
        L"Français", L"English",   L"Español", L"Deutsch",    L"Italiano", L"Português",        L"Nederlands",
        L"Polski",   L"Русский",   L"Türkçe",  L"中文(简体)", L"日本語",   L"한국어",           L"हिन्दी",
        L"বাংলা",    L"Bahasa Indonesia", L"Tiếng Việt", L"ไทย", L"中文(繁體)",
    };
    for (int language = 0; language < LanguageCount; ++language) {
        EXPECT_STREQ(LanguageName(language), expected[language]) << language;
    }
}

}  // namespace
}  // namespace cadrels
