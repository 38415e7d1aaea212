// The arithmetic of a download's progress, kept apart from the transfer so it
// can be checked on every edge: no length, a zero length, more bytes than
// announced, sizes beyond 4 GiB.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace cadrels {

// The Content-Length header's decimal text as a 64-bit count. Absent,
// malformed, overflowing and zero lengths all give nothing: a length of 0
// cannot measure progress and must never be divided by.
std::optional<std::uint64_t> ParseContentLength(std::wstring_view text);

// Percent received, clamped to 0..100; -1 when the length is not known.
int ProgressPercent(std::uint64_t received, std::optional<std::uint64_t> length);

}  // namespace cadrels
