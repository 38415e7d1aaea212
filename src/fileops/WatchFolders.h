// The tests the application makes on the user's watched folders.
#pragma once

#include <string>

namespace cadrels {

// An existing directory that is neither a symbolic link nor a junction
// (watching through one would watch some other place).
bool IsWatchableDirectory(const std::wstring& path);

// Two spellings of one folder: their weakly canonical forms are equal
// ignoring case. Never throws.
bool SameWatchFolder(const std::wstring& a, const std::wstring& b);

}  // namespace cadrels
