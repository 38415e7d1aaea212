// File and folder checks, listing and creation shared by the model code.
#pragma once

#include <string>
#include <vector>

namespace cadrels {

bool IsDirectory(const std::wstring& path);
bool IsFile(const std::wstring& path);
bool Exists(const std::wstring& path);

// The Windows errors that mean "nothing there" rather than "something there
// that cannot be read": file or path not found, a network path or name gone,
// a syntactically impossible name, a directory name that is not one.
bool IsNotFoundError(unsigned long error);

// True when the path certainly names nothing; false when something is there
// or its state cannot be told (access denied, sharing violation...).
bool IsAbsent(const std::wstring& path);

// The names of the files (not folders) a wildcard pattern such as
// "C:\dir\*.json" matches, sorted.
std::vector<std::wstring> FileNamesMatching(const std::wstring& pattern);

// Creates the folder with its missing parents; true when it is a directory
// afterwards (an existing one counts, a file holding the name does not).
bool CreateFolderTree(const std::wstring& path);

}  // namespace cadrels
