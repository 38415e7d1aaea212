// Reading the fixed-width dates and times of file names and stored texts
// ("20261211-120000", "2026-12-11 12:00"): plain functions over text.
#pragma once

#include <cstddef>
#include <string_view>

namespace cadrels {

inline bool IsAsciiDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// `text` has the shape, where '0' stands for any decimal digit.
inline bool HasDigitShape(std::wstring_view text, std::wstring_view shape)
{
    if (text.size() != shape.size()) {
        return false;
    }
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == L'0' ? !IsAsciiDigit(text[i]) : text[i] != shape[i]) {
            return false;
        }
    }
    return true;
}

// The number the `digits` decimal digits from `from` spell; the caller
// checked the shape.
inline int DigitField(std::wstring_view text, size_t from, size_t digits)
{
    int value = 0;
    for (size_t i = from; i < from + digits; ++i) {
        value = value * 10 + (text[i] - L'0');
    }
    return value;
}

}  // namespace cadrels
