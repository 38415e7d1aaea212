#include "cadrel/FolderContent.h"

#include "base/DebugLog.h"
#include "cadrel/CadrelSelection.h"
#include "cadrel/FolderListing.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace cadrels {

int FolderContent::IndexOfPath(const std::wstring& path) const
{
    const auto found =
        std::find_if(items_.begin(), items_.end(), [&](const CadrelItem& item) { return item.path == path; });
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

std::vector<std::wstring> FolderContent::AllPaths() const
{
    std::vector<std::wstring> paths;
    paths.reserve(items_.size());
    for (const CadrelItem& item : items_) {
        paths.push_back(item.path);
    }
    return paths;
}

void FolderContent::RequestListing(const std::wstring& folder, HWND window, UINT message, bool keepSelection)
{
    if (folder.empty()) {
        lister_.Cancel();
        Assign({});
        return;
    }
    if (folder != lister_.Folder()) {
        items_.clear();
        listed_ = false;
        scrollOffset_ = 0;
        Ordered();
    }
    keepSelection_ = keepSelection;
    lister_.Request(folder, window, message);
}

FolderContent::Applied FolderContent::ApplyListed(const std::vector<std::wstring>& pinnedNames, int sortKey,
                                                  bool descending)
{
    std::unique_ptr<ListedFolder> result = lister_.TakeCurrent();
    if (!result) {
        return Applied::Nothing;
    }
    if (result->sizes) {
        ApplySizes(result->listing, sortKey, descending);
        return Applied::Sizes;
    }
    ApplyEntries(std::move(result->listing), pinnedNames, sortKey, descending);
    return Applied::Entries;
}

void FolderContent::ApplyEntries(FolderListing listing, const std::vector<std::wstring>& pinnedNames, int sortKey,
                                 bool descending)
{
    const std::vector<std::wstring> kept = keepSelection_ ? SelectedPaths() : std::vector<std::wstring>{};
    // A relisting of the folder shown keeps the sizes it knew until the new
    // walk brings them: the footer does not drop and climb back each time.
    for (CadrelItem& item : listing.items) {
        if (item.isFolder) {
            const int known = IndexOfPath(item.path);
            if (known >= 0 && items_[static_cast<size_t>(known)].isFolder) {
                item.size = items_[static_cast<size_t>(known)].size;
            }
        }
    }
    items_ = std::move(listing.items);
    listed_ = true;
    ApplyPinned(items_, pinnedNames);
    SortItems(items_, sortKey, descending);
    Ordered();
    if (!kept.empty()) {
        SelectPaths(kept);
    }
}

void FolderContent::ApplySizes(const FolderListing& sizes, int sortKey, bool descending)
{
    for (const CadrelItem& sized : sizes.items) {
        const int index = IndexOfPath(sized.path);
        if (index >= 0 && items_[static_cast<size_t>(index)].isFolder) {
            items_[static_cast<size_t>(index)].size = sized.size;
        }
    }
    if (sortKey == SortBySize) {
        // The order changes under the user's eyes; what was selected stays.
        const std::vector<std::wstring> kept = SelectedPaths();
        SortItems(items_, sortKey, descending);
        Ordered();
        SelectPaths(kept);
    }
}

void FolderContent::Assign(std::vector<CadrelItem> items)
{
    items_ = std::move(items);
    listed_ = true;
    Ordered();
}

void FolderContent::Sort(int sortKey, bool descending)
{
    SortItems(items_, sortKey, descending);
    Ordered();
}

void FolderContent::Repin(const std::vector<std::wstring>& pinnedNames, int sortKey, bool descending)
{
    ApplyPinned(items_, pinnedNames);
    Sort(sortKey, descending);
}

void FolderContent::Ordered()
{
    selection_.assign(items_.size(), false);
    anchor_ = -1;
}

bool FolderContent::IsSelected(int index) const
{
    return index >= 0 && index < static_cast<int>(selection_.size()) && selection_[static_cast<size_t>(index)];
}

void FolderContent::SelectOnly(int index)
{
    selection_.assign(items_.size(), false);
    if (Contains(index)) {
        selection_[static_cast<size_t>(index)] = true;
    }
}

void FolderContent::SelectRange(int a, int b)
{
    SelectRangeBits(selection_, a, b);
}

void FolderContent::ToggleSelected(int index)
{
    if (index >= 0 && index < static_cast<int>(selection_.size())) {
        selection_[static_cast<size_t>(index)] = !selection_[static_cast<size_t>(index)];
    }
}

void FolderContent::ClearSelection()
{
    selection_.assign(items_.size(), false);
}

void FolderContent::SetSelection(std::vector<bool> bits)
{
    bits.resize(items_.size(), false);
    selection_ = std::move(bits);
}

void FolderContent::SelectPaths(const std::vector<std::wstring>& paths)
{
    selection_.assign(items_.size(), false);
    for (size_t i = 0; i < items_.size(); ++i) {
        selection_[i] = std::find(paths.begin(), paths.end(), items_[i].path) != paths.end();
    }
}

int FolderContent::SelectedCount() const
{
    return SelectedCountOf(selection_);
}

int FolderContent::FirstSelected() const
{
    return FirstSelectedOf(selection_);
}

std::vector<std::wstring> FolderContent::SelectedPaths() const
{
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < items_.size() && i < selection_.size(); ++i) {
        if (selection_[i]) {
            paths.push_back(items_[i].path);
        }
    }
    return paths;
}

void FolderContent::ClampScroll(const CadrelView& view)
{
    scrollOffset_ = ClampScrollOffset(scrollOffset_, view, Count());
}

bool FolderContent::Wheel(int delta, const CadrelView& view)
{
    const float next = WheelScrollOffset(scrollOffset_, delta, view, Count());
    if (next == scrollOffset_) {
        return false;
    }
    scrollOffset_ = next;
    return true;
}

float FolderContent::MaxScroll(const CadrelView& view) const
{
    return MaxScrollOffset(view, Count());
}

void FolderContent::StartWatching(const std::wstring& folder, HWND window, UINT message)
{
    if (folder.empty() || watcher_.Running() || window == nullptr) {
        return;
    }
    try {
        watcher_.Start(folder, window, message);
    } catch (const std::system_error&) {
        DebugLog(L"Surveillance de %ls impossible : le fil ne demarre pas.", folder.c_str());
    }
}

unsigned FolderContent::FolderChanged(std::uint64_t now)
{
    changes_.Changed(now);
    return static_cast<unsigned>(changes_.Remaining(now));
}

}  // namespace cadrels
