// Byte counts for people: 1536 bytes read "1.5 KB", 150 GiB "150 GB".
#pragma once

#include <cstdint>
#include <string>

namespace cadrels {

// Divides by 1024 while the value is at least 1024, at most five times (B, KB,
// MB, GB, TB, PB). One decimal below 100 in units above B, none otherwise.
// The decimal separator is always a point, whatever the user's locale.
std::wstring FormatByteSize(std::uint64_t bytes);

}  // namespace cadrels
