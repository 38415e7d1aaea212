#include "fileops/FileIdentity.h"

#include "base/UniqueHandle.h"

#include <windows.h>

namespace cadrels {

FileIdentity ReadFileIdentity(const std::wstring& path)
{
    // Attributes only and every sharing mode: a file open in another
    // program still answers. BACKUP_SEMANTICS opens folders too.
    UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.Get(), &info)) {
        return {};
    }
    FileIdentity identity;
    identity.known = true;
    identity.isFolder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    identity.volumeSerial = info.dwVolumeSerialNumber;
    identity.fileId = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    identity.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    identity.lastWrite =
        (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    return identity;
}

bool SameItem(const FileIdentity& remembered, const FileIdentity& now)
{
    if (!remembered.known) {
        return true;
    }
    if (!now.known || now.isFolder != remembered.isFolder || now.volumeSerial != remembered.volumeSerial ||
        now.fileId != remembered.fileId) {
        return false;
    }
    return remembered.isFolder || (now.size == remembered.size && now.lastWrite == remembered.lastWrite);
}

}  // namespace cadrels
