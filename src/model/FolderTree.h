// Folder checks and creation shared by the container and snapshot code.
#pragma once

#include <string>

namespace cadrels {

bool IsDirectory(const std::wstring& path);

// Creates the folder with its missing parents; true when it is a directory
// afterwards (an existing one counts, a file holding the name does not).
bool CreateFolderTree(const std::wstring& path);

}  // namespace cadrels
