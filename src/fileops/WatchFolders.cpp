#include "fileops/WatchFolders.h"

#include "base/UniqueHandle.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

namespace cadrels {
namespace {

std::wstring Canonical(const std::wstring& path)
{
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(std::filesystem::path(path), error);
    std::wstring text = error ? path : canonical.wstring();
    // "C:\dir\" and "C:\dir" are one folder.
    while (text.size() > 3 && (text.back() == L'\\' || text.back() == L'/')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

bool IsWatchableDirectory(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return true;
    }
    // The reparse tag tells a link from, say, a cloud placeholder folder.
    WIN32_FIND_DATAW data{};
    UniqueFind find(FindFirstFileW(path.c_str(), &data));
    if (!find) {
        return false;
    }
    return data.dwReserved0 != IO_REPARSE_TAG_SYMLINK && data.dwReserved0 != IO_REPARSE_TAG_MOUNT_POINT;
}

bool SameWatchFolder(const std::wstring& a, const std::wstring& b)
{
    const std::wstring left = Canonical(a);
    const std::wstring right = Canonical(b);
    return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace cadrels
