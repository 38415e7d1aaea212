// Version numbers as the update manifest and the build give them: up to three
// non-negative integers ("v2.0.1-beta" is 2.0.1, "1.2" is 1.2.0).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cadrels {

struct Version {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t patch = 0;

    friend auto operator<=>(const Version&, const Version&) = default;
};

// Skips to the first decimal digit, then reads components separated by '.';
// any other character ends the parse, and so does a third component. A
// component too large for 32 bits saturates rather than wrapping, so that
// "99999999999" can never compare as an old version.
Version ParseVersion(std::string_view text);

// True when `candidate` is greater at the first component that differs.
bool IsNewerVersion(const Version& candidate, const Version& running);

// "1.2.3".
std::string VersionText(const Version& version);

// The installer's file name, built from the parsed numbers only: the manifest's
// raw text may hold path separators.
std::wstring InstallerFileName(const Version& version);

}  // namespace cadrels
