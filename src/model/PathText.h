// Text rules for the names and paths the program makes and compares: ASCII
// case folding only (the way the program has always compared its own paths),
// and the characters a Windows file name cannot hold.
#pragma once

#include <string>
#include <string_view>

namespace cadrels {

wchar_t AsciiLower(wchar_t c);
bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);
bool StartsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view prefix);

inline bool IsPathSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// True for a character below U+0020 or one of \ / : * ? " < > |.
bool IsForbiddenInName(wchar_t c);

// Every forbidden character becomes an underscore.
std::wstring ReplaceForbiddenNameCharacters(std::wstring_view name);

// Windows drops trailing dots and spaces from a name when it creates a file.
void TrimTrailingDotsAndSpaces(std::wstring& name);
bool IsOnlyDotsAndSpaces(std::wstring_view name);

// The last name of a path, trailing separators ignored ("C:\a\b\" gives "b").
std::wstring_view LastPathComponent(std::wstring_view path);

// A path that names a device or the object namespace rather than a file:
// "\\.\pipe\x", "\\.\C:", "\??\...", "\\?\GLOBALROOT\...",
// "\\?\Volume{...}" (either separator). "\\?\C:\..." and "\\?\UNC\..."
// are long forms of ordinary paths and are not. A path that comes from data
// (a layout, a snapshot, another process) is never opened when it is one:
// opening a pipe connects to whoever serves it.
bool IsDevicePath(std::wstring_view path);

// A path that reaches another machine: "\\server\share\...", "//server/...",
// the long form "\\?\UNC\server\..." and its device twin "\\.\UNC\...".
// Opening one sends the user's credentials to that machine.
bool IsNetworkPath(std::wstring_view path);

// `folder` + "\" + `name`, without doubling a separator already present.
std::wstring ChildPath(std::wstring_view folder, std::wstring_view name);

}  // namespace cadrels
