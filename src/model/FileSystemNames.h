// Names compared the way the file system compares them: letter case is
// ignored for every letter, not only ASCII ("été.txt" and "Été.txt" name the
// same file).
#pragma once

#include <string_view>

namespace cadrels {

bool SameFileSystemName(std::wstring_view a, std::wstring_view b);

}  // namespace cadrels
