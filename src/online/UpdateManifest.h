// The update manifest the service publishes at GET /update, and the checks
// made on what it announces. Plain values, no Windows.
#pragma once

#include "base/HexDigit.h"

#include "online/UpdateVersion.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace cadrels {

struct UpdateManifest {
    std::string version;  // without a leading 'v' or 'V'; empty when absent
    Version parsed;
    std::string url;      // empty unless it is an https:// address
    std::string notes;
    std::string sha256;
    bool mandatory = false;
};

enum class ManifestReading {
    Unusable,   // not a JSON object: the check failed
    NoVersion,  // an object without a usable version: nothing to install
    Complete,
};

ManifestReading ReadUpdateManifest(std::string_view body, UpdateManifest& manifest);

// "https://" in any ASCII case, followed by at least a host character.
bool IsHttpsUrl(std::string_view url);

// Automatic installation needs the full 64 hexadecimal characters.
bool DigestTextUsable(std::string_view sha256);

// Compares the published digest (either case) with the computed one.
bool DigestMatches(std::string_view sha256, const std::array<std::uint8_t, 32>& digest);


}  // namespace cadrels
