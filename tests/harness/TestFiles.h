// File helpers for tests that run inside the test prefix.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace cadrels::testing {

std::wstring KnownFolderPath(REFKNOWNFOLDERID id);
// %LOCALAPPDATA%\Cadrels: where the program keeps its files.
std::wstring AppDataFolder();
// %USERPROFILE%\Cadrels: where it creates container folders.
std::wstring ContainerRootFolder();
// A new empty folder under the user's temporary folder.
std::wstring MakeTempFolder(std::wstring_view prefix);

bool WriteBytes(const std::wstring& path, std::string_view bytes);
std::string ReadBytes(const std::wstring& path);
// A path as it stands inside a JSON string of a hand-written layout: the
// backslashes doubled. Test folders are ASCII, so each character is a byte.
std::string JsonPathText(const std::wstring& path);
// A `side` by `side` 24-bit BMP file whose pixel `index` (bottom row first)
// has the colour `pixel` gives it.
std::string Bitmap24(int side, const std::function<COLORREF(int index)>& pixel);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// Deletes a folder and everything below it; true when nothing is left.
bool RemoveTree(const std::wstring& path);
// Recycled items land in the host's trash under Wine; a test that recycles
// takes back what it put there: every entry whose name starts with `name`.
void EmptyHostTrash(const std::wstring& name);

// Gives the file an access list of SYSTEM and Everyone with full control
// (Wine turns it into a world-writable file, and reports it back so).
bool MakeWritableByEveryone(const std::wstring& path);

}  // namespace cadrels::testing
