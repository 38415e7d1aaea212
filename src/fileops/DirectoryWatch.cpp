#include "fileops/DirectoryWatch.h"

#include "model/PathText.h"

namespace cadrels {
namespace {

bool Identity(HANDLE file, DWORD& volume, ULONGLONG& index)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) {
        return false;
    }
    volume = info.dwVolumeSerialNumber;
    index = (ULONGLONG{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    return true;
}

}  // namespace

bool DirectoryWatch::Open(const std::wstring& folder)
{
    Close();
    if (IsDevicePath(folder)) {
        return false;
    }
    directory_.Reset(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT |
                                     SECURITY_IDENTIFICATION,
                                 nullptr));
    if (!directory_) {
        return false;
    }
    event_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event_) {
        directory_.Reset();
        return false;
    }
    if (!Identity(directory_.Get(), volume_, fileIndex_)) {
        volume_ = 0;
        fileIndex_ = 0;
    }
    if (!buffer_) {
        buffer_ = std::make_unique<DWORD[]>(BufferBytes / sizeof(DWORD));
    }
    return true;
}

bool DirectoryWatch::Request(DWORD filter)
{
    if (!directory_ || pending_) {
        return false;
    }
    ResetEvent(event_.Get());
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = event_.Get();
    if (!ReadDirectoryChangesW(directory_.Get(), buffer_.get(), BufferBytes, FALSE, filter, nullptr, &overlapped_,
                               nullptr)) {
        return false;
    }
    pending_ = true;
    return true;
}

bool DirectoryWatch::Completed()
{
    if (!pending_) {
        return false;
    }
    DWORD bytes = 0;
    if (!GetOverlappedResult(directory_.Get(), &overlapped_, &bytes, FALSE)) {
        if (GetLastError() == ERROR_IO_INCOMPLETE) {
            return false;
        }
        pending_ = false;
        return false;
    }
    pending_ = false;
    return true;
}

bool DirectoryWatch::StillAt(const std::wstring& folder) const
{
    if (!directory_) {
        return false;
    }
    // Only the folder's identity is read, from the path Open already reached
    // asking for identification only. Under Wine the SQOS flags on this
    // reopen stop the watch of a newly chosen tab's folder.
    UniqueFile current(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!current) {
        return false;
    }
    DWORD volume = 0;
    ULONGLONG index = 0;
    // A file system without file ids cannot tell; the folder is there.
    if (!Identity(current.Get(), volume, index) || (volume_ == 0 && fileIndex_ == 0)) {
        return true;
    }
    return volume == volume_ && index == fileIndex_;
}

void DirectoryWatch::Close()
{
    if (pending_) {
        CancelIoEx(directory_.Get(), &overlapped_);
        DWORD bytes = 0;
        GetOverlappedResult(directory_.Get(), &overlapped_, &bytes, TRUE);
        pending_ = false;
    }
    directory_.Reset();
    event_.Reset();
}

}  // namespace cadrels
