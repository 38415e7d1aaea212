// Listing a cadrel's folder into items: the direct entries that a user
// should see, with folder sizes counted under a shared budget, pinned and
// sorted. A failing enumeration step keeps what was gathered and still
// pins and sorts it, so the items are always complete and ordered.
#pragma once

#include "cadrel/CadrelItem.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cadrels {

// Entries the folder-size walks of one listing may look at in all.
inline constexpr std::size_t FolderSizeBudget = 40000;

// Replaces the result of the step that reads the next entry of the listed
// folder: called with the number of entries read so far, it returns 0 to let
// the real step run or an error code to fail it. For tests only.
using EnumerationFault = std::function<DWORD(std::size_t entriesRead)>;

struct ListingOptions {
    std::vector<std::wstring> pinnedNames;
    int sortKey = SortByName;
    bool descending = false;
    std::size_t sizeBudget = FolderSizeBudget;
    EnumerationFault fault;
};

struct FolderListing {
    std::vector<CadrelItem> items;
    bool present = false;        // the folder existed when the listing began
    DWORD error = ERROR_SUCCESS;  // the error that ended the enumeration early
};

FolderListing ListFolder(const std::wstring& folder, const ListingOptions& options);

// The total size of the files below a folder, not following reparse points;
// every entry seen takes one from `budget`, and counting stops at 0.
std::uint64_t FolderContentSize(const std::wstring& folder, std::size_t& budget);

}  // namespace cadrels
