// The text form of a manifest signature as GET /update.sig returns it: the
// 64-byte ECDSA P-256 signature r || s (32 bytes each, big-endian), in
// standard base64, optionally surrounded by white space. Plain values.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace cadrels {

using ManifestSignatureBytes = std::array<std::uint8_t, 64>;

// Nothing unless the text decodes to exactly 64 bytes with correct padding.
std::optional<ManifestSignatureBytes> DecodeSignatureText(std::string_view text);

}  // namespace cadrels
