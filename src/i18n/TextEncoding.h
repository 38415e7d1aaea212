// UTF-16 in memory, UTF-8 at the boundaries (files, identifiers, policy).
#pragma once

#include <string>
#include <string_view>

namespace cadrels {

// Invalid sequences become U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view text);

}  // namespace cadrels
