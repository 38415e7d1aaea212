#include "online/DownloadProgress.h"

#include <algorithm>
#include <limits>

namespace cadrels {

std::optional<std::uint64_t> ParseContentLength(std::wstring_view text)
{
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    constexpr std::uint64_t Max = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (Max - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    if (value == 0) {
        return std::nullopt;
    }
    return value;
}

int ProgressPercent(std::uint64_t received, std::optional<std::uint64_t> length)
{
    if (!length || *length == 0) {
        return -1;
    }
    if (received >= *length) {
        return 100;
    }
    // received < length here, so neither form can overflow: the product only
    // for lengths small enough, the quotient otherwise. An unfinished download
    // never shows 100, even where the quotient rounds up to it.
    if (*length <= std::numeric_limits<std::uint64_t>::max() / 100) {
        return static_cast<int>(received * 100 / *length);
    }
    return static_cast<int>(std::min<std::uint64_t>(99, received / (*length / 100)));
}

}  // namespace cadrels
