// How a policy value is read: every key of the policy file goes through one of
// these, so a value of the wrong type means the same thing everywhere. Plain
// functions over the JSON codec's values; no Windows headers.
#pragma once

#include "model/JsonValue.h"
#include "model/Records.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace cadrels {

// -1 in the integer readings and queries means "the policy does not set it".
inline constexpr int PolicyNotSet = -1;

// true/false as they are; a number is true unless it is 0 (NaN is true);
// another type is false; an absent key (null pointer) is not set.
int ReadPolicyBoolean(const JsonValue* value);

// Only a number, rounded half away from zero, then clamped to min..max; NaN
// and every other type are not set.
int ReadPolicyInteger(const JsonValue* value, int min, int max);

// Only a string; anything else reads as empty, which means not set.
std::string ReadPolicyString(const JsonValue* value);

// A string with its ASCII letters lower-cased; a number (for the keys that
// take "word or number") truncated to an integer and written in decimal.
// Empty for anything else.
std::string ReadPolicyWord(const JsonValue* value, bool numbersToo);

// Six hexadecimal digits RRGGBB, "#" allowed in front, as a COLORREF
// (0x00BBGGRR).
std::optional<Color> ReadPolicyColour(const JsonValue* value);

std::string AsciiLowered(std::string_view text);

// One accepted spelling and the value it stands for.
struct PolicyWord {
    std::string_view word;
    int value;
};

// The value of the first entry spelled like `word`, else -1.
int LookUpPolicyWord(std::string_view word, std::span<const PolicyWord> words);

// "system"/"dark"/"light" and their French and numeric spellings: 0..2 or -1.
int PolicyThemeFromWord(std::string_view word);
// "icons"/"list"/"tiles" and the others: 0..2 or -1.
int PolicyViewModeFromWord(std::string_view word);

// The settings-section index a "hide"/"lock" name stands for, or -1.
int PolicySectionFromName(std::string_view name);

// The text with the spaces and tabs at both ends removed.
std::wstring TrimSpacesAndTabs(std::wstring_view text);

}  // namespace cadrels
