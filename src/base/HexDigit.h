// The value of one hexadecimal digit, for the parsers of JSON escapes,
// colours and digests.
#pragma once

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

}  // namespace cadrels
