// The names a move gives a file or folder whose name is already taken in the
// target folder: "name (2).ext", "name (3).ext", ...
#pragma once

#include <string>
#include <string_view>

namespace cadrels {

// The `number`th candidate (2 and up) for `name`. A file keeps its extension
// after the number; a folder, or a name whose only dot is its first character
// (".profile"), takes the number at the end.
std::wstring CollisionName(std::wstring_view name, int number, bool isFolder);

}  // namespace cadrels
