#include "cadrel/FolderListing.h"

#include "model/PathText.h"
#include "base/DebugLog.h"
#include "base/UniqueHandle.h"

#include <cwchar>

namespace cadrels {

namespace {

std::wstring JoinPath(const std::wstring& folder, const wchar_t* name)
{
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') {
        path += L'\\';
    }
    return path + name;
}

bool IsDotEntry(const wchar_t* name)
{
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

// Basic information (no short names) in large batches is what makes the
// walk fast; systems that refuse the large-fetch flag get the plain call.
UniqueFind FindFirst(const std::wstring& folder, WIN32_FIND_DATAW& data)
{
    if (IsDevicePath(folder)) {
        return UniqueFind();
    }
    const std::wstring pattern = JoinPath(folder, L"*");
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER) {
        find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    }
    return UniqueFind(find);
}

std::uint64_t FileSize(const WIN32_FIND_DATAW& data)
{
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::uint64_t FileTimeValue(const FILETIME& time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool IsPresent(const std::wstring& folder)
{
    // Attributes of the name itself: a link or junction counts even when
    // its target is gone; any failure, not-found or other, means absent.
    return GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsShown(const WIN32_FIND_DATAW& data)
{
    if (IsDotEntry(data.cFileName) || _wcsicmp(data.cFileName, L"desktop.ini") == 0) {
        return false;
    }
    return (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

}  // namespace

std::uint64_t FolderContentSize(const std::wstring& folder, std::size_t& budget)
{
    if (budget == 0) {
        return 0;
    }
    WIN32_FIND_DATAW data{};
    const UniqueFind find = FindFirst(folder, data);
    if (!find) {
        return 0;
    }
    std::uint64_t total = 0;
    do {
        if (IsDotEntry(data.cFileName)) {
            continue;
        }
        if (budget == 0) {
            break;
        }
        --budget;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            total += FileSize(data);
        } else if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            total += FolderContentSize(JoinPath(folder, data.cFileName), budget);
        }
    } while (FindNextFileW(find.Get(), &data));
    return total;
}

FolderListing ListFolder(const std::wstring& folder, const ListingOptions& options)
{
    FolderListing listing;
    if (folder.empty() || !IsPresent(folder)) {
        return listing;
    }
    listing.present = true;

    WIN32_FIND_DATAW data{};
    const UniqueFind find = FindFirst(folder, data);
    if (!find) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES) {
            listing.error = error;
        }
    } else {
        std::size_t budget = options.sizeBudget;
        std::size_t entriesRead = 1;
        for (;;) {
            if (IsShown(data)) {
                CadrelItem item;
                item.path = JoinPath(folder, data.cFileName);
                item.name = ItemDisplayName(item.path);
                item.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
                item.time = FileTimeValue(data.ftLastWriteTime);
                item.size = item.isFolder ? FolderContentSize(item.path, budget) : FileSize(data);
                listing.items.push_back(std::move(item));
            }
            DWORD injected = options.fault ? options.fault(entriesRead) : 0;
            if (injected != 0 || !FindNextFileW(find.Get(), &data)) {
                const DWORD error = injected != 0 ? injected : GetLastError();
                if (error != ERROR_NO_MORE_FILES) {
                    listing.error = error;
                    DebugLog(L"Liste du dossier %s interrompue (erreur %lu), %u elements gardes", folder.c_str(),
                             error, static_cast<unsigned>(listing.items.size()));
                }
                break;
            }
            ++entriesRead;
        }
    }
    // Whatever ended the enumeration, the items leave pinned and in order.
    ApplyPinned(listing.items, options.pinnedNames);
    SortItems(listing.items, options.sortKey, options.descending);
    return listing;
}

}  // namespace cadrels
