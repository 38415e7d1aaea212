// Where arranging by type or by month puts a file, and which entries of a
// folder the filing and arranging passes may touch at all.
#pragma once

#include "sorting/SortRules.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cadrels {

enum ClassifyMode : int { ClassifyNone = 0, ClassifyByType = 1, ClassifyByMonth = 2 };

// Lower-cased text after the last "." of the name (the dot may be the
// first character here: ".txt" is a text file), empty without one.
std::wstring FamilyExtensionOf(std::wstring_view path);

// The type family's folder name, written the same in every language, for a
// lower-cased extension; empty for shortcuts, which stay where they are.
std::wstring TypeFamily(std::wstring_view extension);

// "2024-03": the UTC calendar month of a time in 100-ns units since 1601.
std::wstring MonthFolder(std::uint64_t fileTime);

// The subfolder a file goes to under `mode`, or empty (it stays put). The
// month needs the file's attributes; unreadable ones give empty.
std::wstring ClassifyBucket(const std::wstring& path, int mode, FileFacts& facts);

// Attribute bits as Windows reports them (kept here so this file needs no
// Windows header).
inline constexpr std::uint32_t EntryHidden = 0x2;
inline constexpr std::uint32_t EntrySystem = 0x4;
inline constexpr std::uint32_t EntryDirectory = 0x10;
inline constexpr std::uint32_t EntryReparsePoint = 0x400;

// A plain, visible file the passes may move: not hidden, system, a folder or
// a link, not "desktop.ini" and not a container's marker, whose loss would
// make the container unrecognisable.
bool IsMovableEntry(std::wstring_view name, std::uint32_t attributes);

// The path without its last component and trailing separators ("C:\a\b" ->
// "C:\a"); empty when there is none.
std::wstring ParentFolderOf(std::wstring_view path);

}  // namespace cadrels
