// Hexadecimal digits both ways: the parsers of JSON escapes, colours and
// digests, and the text of digests and random names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cadrels {

// 0..15, or -1 when `c` is not a hexadecimal digit (either case).
constexpr int HexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Lower-case hexadecimal text of the bytes.
inline std::string HexLower(const std::uint8_t* bytes, std::size_t count)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        text += Digits[bytes[i] >> 4];
        text += Digits[bytes[i] & 0x0F];
    }
    return text;
}

}  // namespace cadrels
