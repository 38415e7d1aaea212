#include "fileops/NativeMoveEngine.h"

#include "base/UniqueHandle.h"
#include "fileops/CollisionName.h"
#include "model/FileSystemNames.h"
#include "model/FolderTree.h"
#include "model/PathText.h"

#include <utility>

namespace cadrels {
namespace {

// Far more than any folder holds; the loop must end even when every
// attempt fails the same way.
constexpr int MaxCollisionNumber = 10000;

HRESULT LastError()
{
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

bool IsCollisionError(DWORD error)
{
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
}

std::wstring LeafName(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool IsInside(const std::wstring& path, const std::wstring& folder)
{
    return path.size() > folder.size() && StartsWithIgnoringAsciiCase(path, folder) &&
           IsPathSeparator(path[folder.size()]);
}

// One entry of a folder copy, by its path below the copied folder.
struct CopiedEntry {
    std::wstring relative;
    bool isFolder = false;
};

// FindNextFileW, or the seam's error in its place.
bool NextEntry(HANDLE find, WIN32_FIND_DATAW& data, const std::wstring& folder, const FolderCopySeams& seams)
{
    if (seams.listingError) {
        if (const DWORD error = seams.listingError(folder); error != ERROR_SUCCESS) {
            SetLastError(error);
            return false;
        }
    }
    return FindNextFileW(find, &data) != FALSE;
}

// Copies what is inside `source` into the existing folder `target`, adding
// each entry to `copied` (a folder before what it holds). Links and
// junctions inside are not followed: copying through one could copy a
// whole other tree, so the move is refused instead. A listing that ends on
// anything but ERROR_NO_MORE_FILES is a failure: the copy would be short.
HRESULT CopyFolderContents(const std::wstring& source, const std::wstring& target, const std::wstring& relative,
                           const FolderCopySeams& seams, std::vector<CopiedEntry>& copied)
{
    WIN32_FIND_DATAW data{};
    UniqueFind find(FindFirstFileW(ChildPath(source, L"*").c_str(), &data));
    if (!find) {
        return GetLastError() == ERROR_FILE_NOT_FOUND ? S_OK : LastError();
    }
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            return HRESULT_FROM_WIN32(ERROR_CANT_ACCESS_FILE);
        }
        const std::wstring from = ChildPath(source, name);
        const std::wstring to = ChildPath(target, name);
        const std::wstring below = relative.empty() ? name : ChildPath(relative, name);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (!CreateDirectoryExW(from.c_str(), to.c_str(), nullptr)) {
                return LastError();
            }
            copied.push_back(CopiedEntry{below, true});
            const HRESULT hr = CopyFolderContents(from, to, below, seams, copied);
            if (FAILED(hr)) {
                return hr;
            }
        } else {
            if (!CopyFileExW(from.c_str(), to.c_str(), nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS)) {
                return LastError();
            }
            copied.push_back(CopiedEntry{below, false});
        }
    } while (NextEntry(find.Get(), data, source, seams));
    return GetLastError() == ERROR_NO_MORE_FILES ? S_OK : LastError();
}

// Writes a copy's data through to the disk, so that the source is deleted
// only once its copy would survive a power cut.
bool FlushFile(const std::wstring& path)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.Get());
}

// The source still is what was copied: same size and last-write time as
// its copy (CopyFileExW keeps the time).
bool SameAsCopy(const std::wstring& source, const std::wstring& copy)
{
    WIN32_FILE_ATTRIBUTE_DATA from{};
    WIN32_FILE_ATTRIBUTE_DATA to{};
    if (!GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &from) ||
        !GetFileAttributesExW(copy.c_str(), GetFileExInfoStandard, &to)) {
        return false;
    }
    return from.nFileSizeHigh == to.nFileSizeHigh && from.nFileSizeLow == to.nFileSizeLow &&
           CompareFileTime(&from.ftLastWriteTime, &to.ftLastWriteTime) == 0;
}

// Deletes a tree this program just created or copied; stops at the first
// failure, leaving the rest.
bool DeleteTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data{};
    UniqueFind find(FindFirstFileW(ChildPath(folder, L"*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = ChildPath(folder, name);
            const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                                  (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
                SetFileAttributesW(path.c_str(), data.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
            }
            const bool deleted = isFolder ? DeleteTree(path)
                                 : (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                                     ? RemoveDirectoryW(path.c_str()) != FALSE
                                     : DeleteFileW(path.c_str()) != FALSE;
            if (!deleted) {
                return false;
            }
        } while (FindNextFileW(find.Get(), &data));
    }
    find.Reset();
    return RemoveDirectoryW(folder.c_str()) != FALSE;
}

}  // namespace

namespace {

HRESULT CopyFolderListing(const std::wstring& source, const std::wstring& target, const FolderCopySeams& seams,
                          std::vector<CopiedEntry>& copied)
{
    if (IsInside(target, source)) {
        return HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
    }
    // Fails when anything holds the name: nothing is ever merged or replaced.
    if (!CreateDirectoryExW(source.c_str(), target.c_str(), nullptr)) {
        return LastError();
    }
    const HRESULT hr = CopyFolderContents(source, target, {}, seams, copied);
    if (FAILED(hr)) {
        DeleteTree(target);
    }
    return hr;
}

}  // namespace

HRESULT CopyFolder(const std::wstring& source, const std::wstring& target, const FolderCopySeams& seams)
{
    std::vector<CopiedEntry> copied;
    return CopyFolderListing(source, target, seams, copied);
}

HRESULT MoveFolderByCopy(const std::wstring& source, const std::wstring& target, const FolderCopySeams& seams)
{
    std::vector<CopiedEntry> copied;
    const HRESULT hr = CopyFolderListing(source, target, seams, copied);
    if (FAILED(hr)) {
        return hr;
    }
    for (const CopiedEntry& entry : copied) {
        if (!entry.isFolder && !FlushFile(ChildPath(target, entry.relative))) {
            const HRESULT flushed = LastError();
            DeleteTree(target);
            return flushed;
        }
    }
    if (seams.beforeSourceDeleted) {
        seams.beforeSourceDeleted();
    }
    // The copy is whole: from here on a failure leaves the content in both
    // places, never in neither. Only what was copied goes, and only while
    // it still is what was copied: a file saved into the folder during the
    // copy, or changed since, stays where it is.
    bool whole = true;
    for (auto entry = copied.rbegin(); entry != copied.rend(); ++entry) {
        const std::wstring from = ChildPath(source, entry->relative);
        if (entry->isFolder) {
            whole = RemoveDirectoryW(from.c_str()) != FALSE && whole;
            continue;
        }
        if (!SameAsCopy(from, ChildPath(target, entry->relative))) {
            whole = false;
            continue;
        }
        const DWORD attributes = GetFileAttributesW(from.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            SetFileAttributesW(from.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        }
        whole = DeleteFileW(from.c_str()) != FALSE && whole;
    }
    whole = RemoveDirectoryW(source.c_str()) != FALSE && whole;
    return whole ? S_OK : HRESULT_FROM_WIN32(ERROR_DIR_NOT_EMPTY);
}

bool NativeMoveEngine::Queue(const std::wstring& source, const std::wstring& folder, const std::wstring& name)
{
    if (source.empty() || folder.empty() || GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    queue_.push_back(Request{source, folder, name});
    return true;
}

HRESULT NativeMoveEngine::MoveOne(const Request& request, std::wstring& target) const
{
    const DWORD attributes = GetFileAttributesW(request.source.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return LastError();
    }
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::wstring name = request.name.empty() ? LeafName(request.source) : request.name;
    if (name.empty()) {
        return E_INVALIDARG;
    }
    for (int number = 1; number <= MaxCollisionNumber; ++number) {
        target = ChildPath(request.folder, number == 1 ? name : CollisionName(name, number, isFolder));
        if (target == request.source && !options_.copy) {
            return S_FALSE;
        }
        // A copy never lands on its own source: that name is simply taken.
        const bool sameItem = !options_.copy && SameFileSystemName(target, request.source);
        if (isFolder && IsInside(target, request.source)) {
            return HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
        }
        // MoveFileExW without MOVEFILE_REPLACE_EXISTING refuses a taken name
        // by itself; looking first only spares a failed call.
        if (!sameItem && GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
            if (!options_.renameOnCollision) {
                return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
            }
            continue;
        }
        AtSeam(seams_.beforeTransfer, target);
        if (options_.copy) {
            const HRESULT copied = isFolder ? CopyFolder(request.source, target)
                                   : CopyFileExW(request.source.c_str(), target.c_str(), nullptr, nullptr, nullptr,
                                                 COPY_FILE_FAIL_IF_EXISTS)
                                       ? S_OK
                                       : LastError();
            AtSeam(seams_.afterTransfer, target);
            if (FAILED(copied) && IsCollisionError(HRESULT_CODE(copied))) {
                if (options_.renameOnCollision) {
                    continue;  // the name was taken between the look and the copy
                }
                return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
            }
            return copied;
        }
        // Windows refuses a move to another volume without COPY_ALLOWED, and
        // without WRITE_THROUGH such a move could report success while the
        // copy is still in the cache and the source already deleted.
        const BOOL movedNow =
            MoveFileExW(request.source.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH);
        const DWORD error = GetLastError();
        AtSeam(seams_.afterTransfer, target);
        if (movedNow) {
            return S_OK;
        }
        if (IsCollisionError(error) && !sameItem) {
            if (options_.renameOnCollision) {
                continue;  // the name was taken between the look and the move
            }
            return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
        }
        if (isFolder && error == ERROR_NOT_SAME_DEVICE) {
            return MoveFolderByCopy(request.source, target);
        }
        return HRESULT_FROM_WIN32(error);
    }
    return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
}

HRESULT NativeMoveEngine::Perform()
{
    HRESULT result = S_OK;
    for (const Request& request : std::exchange(queue_, {})) {
        std::wstring target;
        HRESULT hr = MoveOne(request, target);
        if (hr == S_FALSE) {
            continue;
        }
        // A folder copied across volumes whose source could not be deleted
        // completely is whole at the target: it did move.
        const bool landed = SUCCEEDED(hr) || hr == HRESULT_FROM_WIN32(ERROR_DIR_NOT_EMPTY);
        MovePair move{request.source, target};
        if (landed && GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
            moved_.push_back(std::move(move));
        } else if (SUCCEEDED(hr)) {
            hr = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        }
        if (FAILED(hr) && SUCCEEDED(result)) {
            result = hr;
        }
    }
    return result;
}

}  // namespace cadrels
