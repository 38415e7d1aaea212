// The send-to list file: UTF-16 text, one path per line, written into the
// user's temporary folder by an outside sender.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

inline constexpr size_t SendToListMaxBytes = 8u * 1024u * 1024u;

// `fullPath` is already made absolute. Its folder must be `tempFolder` (as
// GetTempPathW gives it, with the trailing backslash; case-insensitive) and
// its name longer than two characters, starting with "cdr" in any case.
bool IsAcceptedSendToListPath(std::wstring_view fullPath, std::wstring_view tempFolder);

// The file's bytes: an optional BOM, UTF-16LE (an odd last byte is dropped),
// lines split on CRLF, empty lines skipped.
std::vector<std::wstring> ParseSendToList(std::string_view bytes);

}  // namespace cadrels
