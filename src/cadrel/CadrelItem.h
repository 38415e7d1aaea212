// What a cadrel shows of its active folder: one item per listed entry, and
// the order they stand in. Plain values only, so the rules build and are
// tested on any host.
#pragma once

#include "model/PathText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

struct CadrelItem {
    std::wstring path;
    std::wstring name;       // display name: the file name, shortcuts without their extension
    std::uint64_t size = 0;  // a folder: the total of its files, possibly partial
    std::uint64_t time = 0;  // last write time as a FILETIME value
    bool isFolder = false;
    bool pinned = false;

    friend bool operator==(const CadrelItem&, const CadrelItem&) = default;
};

// Sort keys as the cadrel record stores them.
enum ItemSortKey : int { SortByName = 0, SortByType = 1, SortByDate = 2, SortBySize = 3 };

// The name a cadrel shows for an entry: its last component, without the
// extension for ".lnk" and ".url" files, whose extension says nothing.
std::wstring ItemDisplayName(std::wstring_view path);
// The lower-cased text after the last dot of the last component; empty
// without a dot.
std::wstring ItemExtension(std::wstring_view path);

// Case-insensitive three-way compare of two texts.
int CompareNoCase(std::wstring_view a, std::wstring_view b);

// Marks the items whose file name is among the pinned names (ignoring case).
void ApplyPinned(std::vector<CadrelItem>& items, const std::vector<std::wstring>& pinnedNames);

// Stable order: pinned first, then folders, then the key, then the path
// ignoring case; only the key and path steps reverse when descending.
void SortItems(std::vector<CadrelItem>& items, int key, bool descending);

}  // namespace cadrels
