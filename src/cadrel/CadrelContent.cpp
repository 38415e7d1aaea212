// What a cadrel shows of its active folder: the listing and its order, the
// watcher that keeps it current, the selection, scrolling and the geometry
// queries the input and drop handling ask.
#include "cadrel/Cadrel.h"

#include "base/DebugLog.h"
#include "cadrel/CadrelFooter.h"
#include "fileops/LaunchItem.h"
#include "i18n/StringTable.h"

#include <shlwapi.h>

#include <algorithm>

namespace cadrels {

CadrelView Cadrel::View() const
{
    CadrelView view;
    view.width = clientWidth_;
    view.height = clientHeight_;
    view.direction = properties_.expandDir;
    view.viewMode = properties_.viewMode;
    view.zoom = properties_.density[static_cast<size_t>(properties_.viewMode)];
    view.dpi = dpi_;
    view.rolled = rolled_;
    return view;
}

const std::wstring& Cadrel::ActiveFolder() const
{
    static const std::wstring none;
    if (activeTab_ < 0 || activeTab_ >= static_cast<int>(tabs_.size())) {
        return none;
    }
    return tabs_[static_cast<size_t>(activeTab_)].folder;
}

void Cadrel::ListFolder(bool keepSelection)
{
    const bool wasListed = content_.Listed();
    content_.RequestListing(ActiveFolder(), window_.Get(), WM_CADREL_FOLDER_LISTED, keepSelection);
    // Another folder, or none: what was shown is gone now, not when a
    // listing arrives.
    if ((wasListed && !content_.Listed()) || ActiveFolder().empty()) {
        EndPressOnItems();
        hoverItem_ = -1;
        OnItemsOrdered();
    }
}

void Cadrel::OnFolderListed()
{
    bool changed = false;
    for (;;) {
        const FolderContent::Applied applied =
            content_.ApplyListed(PinnedNames(), properties_.sortBy, properties_.sortDesc);
        if (applied == FolderContent::Applied::Nothing) {
            break;
        }
        changed = true;
        // New entries, or sizes that reorder a list sorted by size: a press
        // would now point at another item.
        if (applied == FolderContent::Applied::Entries || properties_.sortBy == SortBySize) {
            EndPressOnItems();
            hoverItem_ = -1;
        }
        if (applied == FolderContent::Applied::Entries) {
            DebugLog(L"Cadrel %hs : %u elements listes.", id_.c_str(),
                     static_cast<unsigned>(content_.Items().size()));
        }
    }
    if (changed) {
        OnItemsOrdered();
        ClampScroll();
        Draw();
    }
}

void Cadrel::EndPressOnItems()
{
    // A press on an item that went away must not outlive it.
    if (press_.OnItems() && GetCapture() == window_.Get()) {
        ReleaseCapture();
    }
    if (press_.OnItems()) {
        press_.End();
    }
}

const std::vector<std::wstring>& Cadrel::PinnedNames() const
{
    static const std::vector<std::wstring> none;
    const bool valid = activeTab_ >= 0 && activeTab_ < static_cast<int>(tabs_.size());
    return valid ? tabs_[static_cast<size_t>(activeTab_)].pinned : none;
}

void Cadrel::OnItemsOrdered()
{
    painter_.ItemsChanged(FooterText());
}

void Cadrel::Refresh(bool keepSelection)
{
    ListFolder(keepSelection);
}

void Cadrel::StartWatcher()
{
    content_.StartWatching(ActiveFolder(), window_.Get(), WM_CADREL_FOLDER_CHANGED);
}

void Cadrel::OnFolderChanged()
{
    SetTimer(window_.Get(), CadrelTimerFolderRefresh, content_.FolderChanged(GetTickCount64()), nullptr);
}

void Cadrel::ClampScroll()
{
    content_.ClampScroll(View());
}

std::vector<std::wstring> Cadrel::AllItemPaths() const
{
    std::vector<std::wstring> paths;
    paths.reserve(content_.Items().size());
    for (const CadrelItem& item : content_.Items()) {
        paths.push_back(item.path);
    }
    return paths;
}

void Cadrel::OpenItem(int index) const
{
    if (content_.Contains(index)) {
        LaunchItem(window_.Get(), content_.Items()[static_cast<size_t>(index)].path, LaunchCause::UserAction);
    }
}

void Cadrel::OpenPaths(const std::vector<std::wstring>& paths) const
{
    for (const std::wstring& path : paths) {
        LaunchItem(window_.Get(), path, LaunchCause::UserAction);
    }
}

// The selection is otherwise only seen on screen; the log says it in words.
void Cadrel::LogSelection() const
{
    std::wstring indices;
    const std::vector<bool>& selection = content_.Selection();
    for (size_t i = 0; i < selection.size(); ++i) {
        if (selection[i]) {
            indices += (indices.empty() ? L"" : L",") + std::to_wstring(i);
        }
    }
    DebugLog(L"Cadrel %hs : selection [%ls].", id_.c_str(), indices.c_str());
}

std::wstring Cadrel::FooterText() const
{
    const std::vector<CadrelItem>& items = content_.Items();
    const std::uint64_t total = TotalItemSize(items);
    wchar_t size[64] = L"";
    if (total != 0 && StrFormatByteSizeW(static_cast<LONGLONG>(std::min<std::uint64_t>(total, INT64_MAX)), size,
                                         static_cast<UINT>(std::size(size))) == nullptr) {
        size[0] = L'\0';
    }
    return ComposeFooterText(items.size(), Tr(FooterWordId(items.size(), UiLanguage())), size);
}

CadrelHitMap Cadrel::HitMap() const
{
    return CadrelHitMap(View(), static_cast<int>(tabs_.size()), content_.Count(), content_.ScrollOffset());
}

}  // namespace cadrels
