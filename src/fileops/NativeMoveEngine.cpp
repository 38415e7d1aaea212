#include "fileops/NativeMoveEngine.h"

#include "base/UniqueHandle.h"
#include "fileops/CollisionName.h"
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

// Copies what is inside `source` into the existing folder `target`. Links
// and junctions inside are not followed: copying through one could copy a
// whole other tree, so the move is refused instead.
HRESULT CopyFolderContents(const std::wstring& source, const std::wstring& target)
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
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (!CreateDirectoryExW(from.c_str(), to.c_str(), nullptr)) {
                return LastError();
            }
            const HRESULT hr = CopyFolderContents(from, to);
            if (FAILED(hr)) {
                return hr;
            }
        } else if (!CopyFileExW(from.c_str(), to.c_str(), nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS)) {
            return LastError();
        }
    } while (FindNextFileW(find.Get(), &data));
    return S_OK;
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

HRESULT CopyFolder(const std::wstring& source, const std::wstring& target)
{
    if (IsInside(target, source)) {
        return HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
    }
    // Fails when anything holds the name: nothing is ever merged or replaced.
    if (!CreateDirectoryExW(source.c_str(), target.c_str(), nullptr)) {
        return LastError();
    }
    const HRESULT copied = CopyFolderContents(source, target);
    if (FAILED(copied)) {
        DeleteTree(target);
    }
    return copied;
}

HRESULT MoveFolderByCopy(const std::wstring& source, const std::wstring& target)
{
    const HRESULT copied = CopyFolder(source, target);
    if (FAILED(copied)) {
        return copied;
    }
    // The copy is whole: from here on a failure leaves the content in both
    // places, never in neither.
    return DeleteTree(source) ? S_OK : HRESULT_FROM_WIN32(ERROR_DIR_NOT_EMPTY);
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
        const bool sameItem = !options_.copy && EqualsIgnoringAsciiCase(target, request.source);
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
        // Windows refuses a move to another volume without COPY_ALLOWED.
        const BOOL movedNow = MoveFileExW(request.source.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED);
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
