// Streaming SHA-256 over the platform's cryptography primitives (CNG).
#pragma once

#include "base/CngHandles.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
public:
    // False when the provider or the hash object cannot be created.
    bool Open();
    bool Add(const void* bytes, size_t count);
    // The digest; the object cannot take more data afterwards.
    bool Finish(Sha256Digest& digest);

private:
    UniqueAlgorithm algorithm_;
    std::vector<std::uint8_t> object_;  // must outlive hash_, declared before it
    UniqueHash hash_;
};

// One-shot digest; false when CNG fails.
bool Sha256Of(std::string_view bytes, Sha256Digest& digest);

// The digest as 64 lower-case hexadecimal digits; empty when CNG fails.
std::string Sha256Hex(std::string_view bytes);

// PBKDF2 with HMAC-SHA-256 (RFC 8018), `length` bytes, as lower-case
// hexadecimal digits; empty when CNG fails or `iterations` is 0.
std::string Pbkdf2Sha256Hex(std::string_view password, std::string_view salt, std::uint32_t iterations,
                            size_t length);

}  // namespace cadrels
