#include "online/SignatureText.h"

#include <string>

namespace cadrels {
namespace {

int Base64Digit(char c)
{
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return -1;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::optional<ManifestSignatureBytes> DecodeSignatureText(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    // 64 bytes are 86 digits and "==".
    if (text.size() != 88 || text[86] != '=' || text[87] != '=') {
        return std::nullopt;
    }
    std::string bytes;
    std::uint32_t accumulator = 0;
    int bits = 0;
    for (size_t i = 0; i < 86; ++i) {
        const int digit = Base64Digit(text[i]);
        if (digit < 0) {
            return std::nullopt;
        }
        accumulator = (accumulator << 6) | static_cast<std::uint32_t>(digit);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += static_cast<char>((accumulator >> bits) & 0xFF);
        }
    }
    // The last digit carries 4 padding bits, which canonical base64 leaves 0.
    if ((accumulator & ((1u << bits) - 1)) != 0 || bytes.size() != 64) {
        return std::nullopt;
    }
    ManifestSignatureBytes signature{};
    for (size_t i = 0; i < signature.size(); ++i) {
        signature[i] = static_cast<std::uint8_t>(bytes[i]);
    }
    return signature;
}

}  // namespace cadrels
