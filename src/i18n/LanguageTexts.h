// The per-language text arrays. Each language lives in a file of its own under
// languages/, so that a translation is a one-file change; MakeLanguageTexts
// checks at compile time that a file gives every id exactly once.
#pragma once

#include <array>
#include <cstddef>

namespace cadrels::i18n {

inline constexpr int StringCount = 509;
inline constexpr int LanguageCount = 19;

using LanguageTexts = std::array<const wchar_t*, StringCount>;

struct Text {
    int id;
    const wchar_t* text;
};

// Ids whose texts were withdrawn. They are never displayed, but keep their
// slots so that the numbering of every other text stays stable.
inline constexpr int RetiredIds[] = {47,73,78,166,181,229,231,234,235,236,237,238,239,240,241,242,243,244,245,246,247,251,252,253,254,255,258,259,260,261,262,263,264,265,266,267,268,269,270,271,272,273,274,275,276,277,278,279,280,281,282,283,284,285,288,289,290,291,292,295,296,297,298,299,300,301,302,303,304,305,306,307,308,309,310,311,312,313,314,315,316,317,318,319,320,321,322,323,324,325,326,328,329,332,333,334,335,336,337,374,376,377,378,411,424,425,426,428,429,430,431,432,433,434,435,436,437,438,439,440,441,442,443,444,445,446,447,448,482};
inline constexpr const wchar_t* RetiredText = L"\u2014";

constexpr bool IsRetiredId(int id)
{
    for (int retired : RetiredIds) {
        if (retired == id) {
            return true;
        }
    }
    return false;
}

template <std::size_t N>
consteval LanguageTexts MakeLanguageTexts(const Text (&texts)[N])
{
    LanguageTexts table{};
    for (int id : RetiredIds) {
        table[id] = RetiredText;
    }
    for (const Text& entry : texts) {
        if (entry.id < 0 || entry.id >= StringCount) {
            throw "text id outside the table";
        }
        if (table[entry.id] != nullptr) {
            throw "text id given twice, or given for a retired id";
        }
        table[entry.id] = entry.text;
    }
    for (const wchar_t* text : table) {
        if (text == nullptr) {
            throw "a text id is missing";
        }
    }
    return table;
}

extern const LanguageTexts French;
extern const LanguageTexts English;
extern const LanguageTexts Spanish;
extern const LanguageTexts German;
extern const LanguageTexts Italian;
extern const LanguageTexts Portuguese;
extern const LanguageTexts Dutch;
extern const LanguageTexts Polish;
extern const LanguageTexts Russian;
extern const LanguageTexts Turkish;
extern const LanguageTexts ChineseSimplified;
extern const LanguageTexts Japanese;
extern const LanguageTexts Korean;
extern const LanguageTexts Hindi;
extern const LanguageTexts Bengali;
extern const LanguageTexts Indonesian;
extern const LanguageTexts Vietnamese;
extern const LanguageTexts Thai;
extern const LanguageTexts ChineseTraditional;

}  // namespace cadrels::i18n
