// Folder checks and creation shared by the container and snapshot code.
#pragma once

#include <string>
#include <vector>

namespace cadrels {

bool IsDirectory(const std::wstring& path);

// The names of the files (not folders) a wildcard pattern such as
// "C:\dir\*.json" matches, sorted.
std::vector<std::wstring> FileNamesMatching(const std::wstring& pattern);

// Creates the folder with its missing parents; true when it is a directory
// afterwards (an existing one counts, a file holding the name does not).
bool CreateFolderTree(const std::wstring& path);

}  // namespace cadrels
