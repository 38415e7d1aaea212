// What a cadrel shows of its active folder: the items in display order, the
// selection and its anchor, how far the items are scrolled, and the watcher
// that says when the folder changed. It knows no window and no record: the
// cadrel hands it the sort order, the view it measures against and the
// window its watcher posts to.
#pragma once

#include "cadrel/CadrelItem.h"
#include "cadrel/CadrelLayout.h"
#include "cadrel/FolderLister.h"
#include "fileops/FolderWatcher.h"
#include "sorting/FileReadiness.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace cadrels {

class FolderContent {
public:
    const std::vector<CadrelItem>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    bool Contains(int index) const { return index >= 0 && index < Count(); }
    // Whether the folder was listed once: until then there is nothing to show,
    // not an empty folder.
    bool Listed() const { return listed_; }
    // The index of the item at `path`, -1 without one.
    int IndexOfPath(const std::wstring& path) const;
    std::vector<std::wstring> AllPaths() const;

    // Asks a worker to list `folder`; its results come as `message` to
    // `window`, for ApplyListed. A folder other than the one shown empties
    // the items at once: until its own listing arrives there is nothing to
    // show there, not an empty folder. An empty folder name shows nothing at
    // once. With `keepSelection`, what is selected when the listing arrives
    // stays selected.
    void RequestListing(const std::wstring& folder, HWND window, UINT message, bool keepSelection);
    enum class Applied { Nothing, Entries, Sizes };
    // Applies the next result of the current request, pinned and sorted by
    // the order asked now: the entries, with the subfolder sizes known from
    // the listing before until their own arrive, or those sizes.
    Applied ApplyListed(const std::vector<std::wstring>& pinnedNames, int sortKey, bool descending);
    // A listing was asked for and its entries have not arrived.
    bool ListingWaiting() const { return lister_.Waiting(); }
    // Takes items already listed, ordered as they are.
    void Assign(std::vector<CadrelItem> items);
    // Sorts the items again, the pinned ones first.
    void Sort(int sortKey, bool descending);
    // Marks the pinned items again after the pinned names changed, and sorts.
    void Repin(const std::vector<std::wstring>& pinnedNames, int sortKey, bool descending);

    // Selection bits follow positions: every new order starts without a
    // selection or an anchor.
    bool IsSelected(int index) const;
    void SelectOnly(int index);
    // Selects from min(a, b) to max(a, b), kept to the items there are.
    void SelectRange(int a, int b);
    void ToggleSelected(int index);
    void ClearSelection();
    // The bits a rubber band made; as many as there are items.
    void SetSelection(std::vector<bool> bits);
    // Selects exactly the items whose paths are listed.
    void SelectPaths(const std::vector<std::wstring>& paths);
    const std::vector<bool>& Selection() const { return selection_; }
    int SelectedCount() const;
    int FirstSelected() const;
    std::vector<std::wstring> SelectedPaths() const;
    int Anchor() const { return anchor_; }
    void SetAnchor(int index) { anchor_ = Contains(index) ? index : -1; }

    float ScrollOffset() const { return scrollOffset_; }
    void ResetScroll() { scrollOffset_ = 0; }
    // Keeps the offset where the items of `view` still reach.
    void ClampScroll(const CadrelView& view);
    // Scrolls by a wheel turn; whether the offset changed.
    bool Wheel(int delta, const CadrelView& view);
    float MaxScroll(const CadrelView& view) const;

    // Follows `folder` and posts `message` to `window` when it changes; does
    // nothing while already watching. A folder that cannot be watched is
    // still shown, only no longer followed.
    void StartWatching(const std::wstring& folder, HWND window, UINT message);
    void StopWatching() { watcher_.Stop(); }
    bool Watching() const { return watcher_.Running(); }
    // A change notice at `now` (milliseconds): how long to wait before
    // listing again. Each change of a burst pushes the listing back, but a
    // folder another program keeps writing to is still listed about once a
    // second.
    unsigned FolderChanged(std::uint64_t now);
    void ChangesListed() { changes_.Started(); }

private:
    void Ordered();
    void ApplyEntries(FolderListing listing, const std::vector<std::wstring>& pinnedNames, int sortKey,
                      bool descending);
    void ApplySizes(const FolderListing& sizes, int sortKey, bool descending);

    std::vector<CadrelItem> items_;
    std::vector<bool> selection_;
    int anchor_ = -1;
    float scrollOffset_ = 0;
    bool listed_ = false;
    bool keepSelection_ = false;
    FolderLister lister_;
    FolderWatcher watcher_;
    QuietPeriod changes_{300, 1000};
};

}  // namespace cadrels
