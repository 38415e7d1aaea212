#include "model/FileSystemNames.h"

#include <windows.h>

namespace cadrels {

bool SameFileSystemName(std::wstring_view a, std::wstring_view b)
{
    // Ordinal with case ignored is what NTFS does with its upcase table; the
    // locale's linguistic rules are not.
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

}  // namespace cadrels
