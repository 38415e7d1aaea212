// The file search's memory of the tab folders: every folder's entries,
// listed once on a worker and listed again on a worker whenever the folder
// watcher sees one of them change, so that a keystroke only filters names
// already in memory. A folder whose first listing has not arrived has no
// entries yet; a folder listed again keeps its previous entries until the
// new ones arrive. Main thread only, apart from the workers.
#pragma once

#include "cadrel/FolderLister.h"
#include "fileops/FolderSetWatcher.h"
#include "search/SearchRules.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace cadrels {

class SearchListings {
public:
    // Listings arrive as `listedMessage` to the window given to Follow;
    // changes in the folders as `changedMessage`.
    SearchListings(UINT listedMessage, UINT changedMessage);
    ~SearchListings();
    SearchListings(const SearchListings&) = delete;
    SearchListings& operator=(const SearchListings&) = delete;

    // Keeps exactly these folders: the new ones are listed, the others
    // forgotten, and the watcher follows the set. Folders the watcher cannot
    // take (beyond its limit) are listed again at each call instead.
    void Follow(const std::vector<std::wstring>& folders, HWND window);
    // The folder's entries in the file system's order, null until listed.
    const std::vector<SearchEntry>* Entries(const std::wstring& folder) const;
    // Takes every listing that arrived; whether any entries changed.
    bool TakeListed();
    // A folder changed: every followed folder is listed again.
    void OnFoldersChanged();
    // Listings asked for and not yet arrived.
    int Waiting() const;
    // Stops the watcher; the entries stay.
    void StopWatching() { watcher_.Stop(); }

private:
    struct Kept {
        FolderLister lister{ListingPurpose::Search};
        std::vector<SearchEntry> entries;
        bool listed = false;
    };

    void Relist(const std::wstring& folder, Kept& kept);

    UINT listedMessage_;
    UINT changedMessage_;
    HWND window_ = nullptr;
    std::map<std::wstring, std::unique_ptr<Kept>> kept_;
    std::vector<std::wstring> watched_;
    FolderSetWatcher watcher_;
};

}  // namespace cadrels
