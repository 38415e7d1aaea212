#include "search/SearchListings.h"

#include "base/DebugLog.h"
#include "fileops/WatchPlan.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace cadrels {

SearchListings::SearchListings(UINT listedMessage, UINT changedMessage)
    : listedMessage_(listedMessage), changedMessage_(changedMessage)
{
}

SearchListings::~SearchListings()
{
    watcher_.Stop();
}

void SearchListings::Follow(const std::vector<std::wstring>& folders, HWND window)
{
    window_ = window;
    std::vector<std::wstring> distinct;
    for (const std::wstring& folder : folders) {
        if (std::find(distinct.begin(), distinct.end(), folder) == distinct.end()) {
            distinct.push_back(folder);
        }
    }
    for (auto it = kept_.begin(); it != kept_.end();) {
        if (std::find(distinct.begin(), distinct.end(), it->first) == distinct.end()) {
            it = kept_.erase(it);
        } else {
            ++it;
        }
    }
    for (std::size_t i = 0; i < distinct.size(); ++i) {
        auto [it, added] = kept_.try_emplace(distinct[i]);
        if (added) {
            it->second = std::make_unique<Kept>();
        }
        // Nothing tells what changed in a folder the watcher cannot take.
        if (added || i >= MaxWatchedFolders) {
            Relist(it->first, *it->second);
        }
    }

    std::vector<std::wstring> watched(distinct.begin(),
                                      distinct.begin() + static_cast<std::ptrdiff_t>(
                                                             std::min(distinct.size(), MaxWatchedFolders)));
    if (watched != watched_ || !watcher_.Running()) {
        watcher_.Stop();
        watched_ = watched;
        try {
            if (!watched.empty()) {
                watcher_.Start(std::move(watched), window_, changedMessage_);
            }
        } catch (const std::system_error&) {
            DebugLog(L"Recherche de fichiers : la surveillance des dossiers ne demarre pas.");
        }
    }
}

void SearchListings::Relist(const std::wstring& folder, Kept& kept)
{
    kept.lister.Request(folder, window_, listedMessage_);
}

const std::vector<SearchEntry>* SearchListings::Entries(const std::wstring& folder) const
{
    const auto found = kept_.find(folder);
    if (found == kept_.end() || !found->second->listed) {
        return nullptr;
    }
    return &found->second->entries;
}

bool SearchListings::TakeListed()
{
    bool changed = false;
    for (auto& [folder, kept] : kept_) {
        while (std::unique_ptr<ListedFolder> result = kept->lister.TakeCurrent()) {
            std::vector<SearchEntry> entries;
            entries.reserve(result->listing.items.size());
            for (CadrelItem& item : result->listing.items) {
                entries.push_back(MakeSearchEntry(std::move(item.path)));
            }
            kept->entries = std::move(entries);
            kept->listed = true;
            changed = true;
        }
    }
    return changed;
}

void SearchListings::OnFoldersChanged()
{
    for (auto& [folder, kept] : kept_) {
        Relist(folder, *kept);
    }
}

int SearchListings::Waiting() const
{
    int waiting = 0;
    for (const auto& [folder, kept] : kept_) {
        if (kept->lister.Waiting()) {
            ++waiting;
        }
    }
    return waiting;
}

}  // namespace cadrels
