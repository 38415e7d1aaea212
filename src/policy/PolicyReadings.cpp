#include "policy/PolicyReadings.h"

#include "base/HexDigit.h"

#include <array>
#include <cmath>

namespace cadrels {
namespace {

constexpr std::array<PolicyWord, 10> ThemeWords = {{
    {"system", 0}, {"systeme", 0}, {"auto", 0}, {"0", 0},
    {"dark", 1}, {"sombre", 1}, {"1", 1},
    {"light", 2}, {"clair", 2}, {"2", 2},
}};

// "icônes" arrives as UTF-8 bytes; only ASCII letters are lower-cased, so the
// accented spelling is listed as the file holds it.
constexpr std::array<PolicyWord, 10> ViewModeWords = {{
    {"icons", 0}, {"icones", 0}, {"ic\xC3\xB4nes", 0}, {"0", 0},
    {"list", 1}, {"liste", 1}, {"1", 1},
    {"tiles", 2}, {"tuiles", 2}, {"2", 2},
}};

constexpr std::array<PolicyWord, 27> SectionNames = {{
    {"guide", 0},
    {"appearance", 1}, {"apparence", 1}, {"theme", 1}, {"colors", 1}, {"couleurs", 1},
    {"editcadrel", 2}, {"edit", 2}, {"cadrel", 2},
    {"pages", 3},
    {"rules", 4}, {"sort", 4}, {"tri", 4},
    {"language", 5}, {"langue", 5},
    {"updates", 8}, {"update", 8}, {"maj", 8},
    {"support", 9},
    {"about", 10}, {"apropos", 10},
    {"backup", 12}, {"sauvegarde", 12}, {"save", 12},
    {"hotkeys", 13}, {"raccourcis", 13}, {"shortcuts", 13},
}};

}  // namespace

int ReadPolicyBoolean(const JsonValue* value)
{
    if (value == nullptr) {
        return PolicyNotSet;
    }
    return value->BoolOr(false) ? 1 : 0;
}

int ReadPolicyInteger(const JsonValue* value, int min, int max)
{
    if (value == nullptr || !value->IsNumber()) {
        return PolicyNotSet;
    }
    const double number = value->NumberOr(0);
    if (std::isnan(number)) {
        return PolicyNotSet;
    }
    // std::round rounds halves away from zero; clamping in double first keeps
    // huge values and infinities away from an undefined conversion.
    const double rounded = std::round(number);
    if (rounded <= min) {
        return min;
    }
    if (rounded >= max) {
        return max;
    }
    return static_cast<int>(rounded);
}

std::string ReadPolicyString(const JsonValue* value)
{
    if (value == nullptr || !value->IsString()) {
        return {};
    }
    return std::string(value->StringOr({}));
}

std::string ReadPolicyWord(const JsonValue* value, bool numbersToo)
{
    if (value == nullptr) {
        return {};
    }
    if (value->IsString()) {
        return AsciiLowered(value->StringOr({}));
    }
    if (numbersToo && value->IsNumber()) {
        const double number = std::trunc(value->NumberOr(0));
        // Beyond what an int holds no accepted word can match anyway.
        if (!(number > -1e9 && number < 1e9)) {
            return {};
        }
        return std::to_string(static_cast<int>(number));
    }
    return {};
}

std::optional<Color> ReadPolicyColour(const JsonValue* value)
{
    std::string_view text = value != nullptr && value->IsString() ? value->StringOr({}) : std::string_view();
    if (!text.empty() && text.front() == '#') {
        text.remove_prefix(1);
    }
    if (text.size() != 6) {
        return std::nullopt;
    }
    Color rgb = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        rgb = (rgb << 4) | static_cast<Color>(digit);
    }
    const Color red = (rgb >> 16) & 0xFF;
    const Color green = (rgb >> 8) & 0xFF;
    const Color blue = rgb & 0xFF;
    return red | (green << 8) | (blue << 16);
}

std::string AsciiLowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lowered;
}

int LookUpPolicyWord(std::string_view word, std::span<const PolicyWord> words)
{
    for (const PolicyWord& entry : words) {
        if (entry.word == word) {
            return entry.value;
        }
    }
    return PolicyNotSet;
}

int PolicyThemeFromWord(std::string_view word)
{
    return LookUpPolicyWord(word, ThemeWords);
}

int PolicyViewModeFromWord(std::string_view word)
{
    return LookUpPolicyWord(word, ViewModeWords);
}

int PolicySectionFromName(std::string_view name)
{
    return LookUpPolicyWord(AsciiLowered(name), SectionNames);
}

std::wstring TrimSpacesAndTabs(std::wstring_view text)
{
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return std::wstring(text);
}

}  // namespace cadrels
