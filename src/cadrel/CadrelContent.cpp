// What a cadrel shows of its active folder: the listing and its order, the
// watcher that keeps it current, the selection, scrolling and the geometry
// queries the input and drop handling ask.
#include "cadrel/Cadrel.h"

#include "base/DebugLog.h"
#include "cadrel/CadrelFooter.h"
#include "cadrel/CadrelSelection.h"
#include "cadrel/FolderListing.h"
#include "fileops/LaunchItem.h"
#include "i18n/StringTable.h"

#include <shlwapi.h>

#include <algorithm>
#include <system_error>

namespace cadrels {

CadrelView Cadrel::View() const
{
    CadrelView view;
    view.width = clientWidth_;
    view.height = clientHeight_;
    view.direction = unfoldDirection_;
    view.viewMode = viewMode_;
    view.zoom = zooms_[static_cast<size_t>(viewMode_)];
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

void Cadrel::ListFolder()
{
    // A press on an item that is about to go away must not outlive it.
    if (itemCapture_ && GetCapture() == window_.Get()) {
        ReleaseCapture();
    }
    itemCapture_ = false;
    itemPressPending_ = false;
    pressedItem_ = -1;
    marqueeActive_ = false;
    // The listing pins and sorts as it finishes, even when it ends early.
    ListingOptions options;
    options.sortKey = sortBy_;
    options.descending = sortDescending_;
    options.pinnedNames = PinnedNames();
    const std::wstring& folder = ActiveFolder();
    items_ = folder.empty() ? std::vector<CadrelItem>{} : cadrels::ListFolder(folder, options).items;
    listed_ = true;
    OnItemsOrdered();
    DebugLog(L"Cadrel %hs : %u elements listes.", id_.c_str(), static_cast<unsigned>(items_.size()));
}

const std::vector<std::wstring>& Cadrel::PinnedNames() const
{
    static const std::vector<std::wstring> none;
    const bool valid = activeTab_ >= 0 && activeTab_ < static_cast<int>(tabs_.size());
    return valid ? tabs_[static_cast<size_t>(activeTab_)].pinned : none;
}

void Cadrel::ApplyPinned()
{
    cadrels::ApplyPinned(items_, PinnedNames());
}

void Cadrel::SortItems()
{
    cadrels::SortItems(items_, sortBy_, sortDescending_);
    OnItemsOrdered();
}

void Cadrel::OnItemsOrdered()
{
    // Selection bits follow positions: a new order starts without one.
    selection_.assign(items_.size(), false);
    anchor_ = -1;
    painter_.ItemsChanged(FooterText());
}

void Cadrel::Refresh()
{
    ListFolder();
    hoverItem_ = -1;
    ClampScroll();
    Draw();
}

void Cadrel::StartWatcher()
{
    const std::wstring& folder = ActiveFolder();
    if (folder.empty() || watcher_.Running() || !window_) {
        return;
    }
    try {
        watcher_.Start(folder, window_.Get(), WM_CADREL_FOLDER_CHANGED);
    } catch (const std::system_error&) {
        // The cadrel still shows the folder; it only stops following it.
        DebugLog(L"Surveillance de %ls impossible : le fil ne demarre pas.", folder.c_str());
    }
}

void Cadrel::StopWatcher()
{
    watcher_.Stop();
}

void Cadrel::OnFolderChanged()
{
    // Each change restarts the wait, so a burst ends in one listing.
    SetTimer(window_.Get(), CadrelTimerFolderRefresh, 300, nullptr);
}

void Cadrel::ClampScroll()
{
    scrollOffset_ = ClampScrollOffset(scrollOffset_, View(), static_cast<int>(items_.size()));
}

bool Cadrel::IsSelected(int index) const
{
    return index >= 0 && index < static_cast<int>(selection_.size()) && selection_[static_cast<size_t>(index)];
}

void Cadrel::SelectOnly(int index)
{
    selection_.assign(items_.size(), false);
    if (index >= 0 && index < static_cast<int>(selection_.size())) {
        selection_[static_cast<size_t>(index)] = true;
    }
}

void Cadrel::SelectRange(int a, int b)
{
    SelectRangeBits(selection_, a, b);
}

void Cadrel::ToggleSelected(int index)
{
    if (index >= 0 && index < static_cast<int>(selection_.size())) {
        selection_[static_cast<size_t>(index)] = !selection_[static_cast<size_t>(index)];
    }
}

int Cadrel::SelectedCount() const
{
    return SelectedCountOf(selection_);
}

int Cadrel::FirstSelectedItem() const
{
    return FirstSelectedOf(selection_);
}

std::vector<std::wstring> Cadrel::SelectedPaths() const
{
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < items_.size() && i < selection_.size(); ++i) {
        if (selection_[i]) {
            paths.push_back(items_[i].path);
        }
    }
    return paths;
}

std::vector<std::wstring> Cadrel::AllItemPaths() const
{
    std::vector<std::wstring> paths;
    paths.reserve(items_.size());
    for (const CadrelItem& item : items_) {
        paths.push_back(item.path);
    }
    return paths;
}

void Cadrel::ClearSelection()
{
    selection_.assign(items_.size(), false);
}

void Cadrel::OpenItem(int index) const
{
    if (index >= 0 && index < static_cast<int>(items_.size())) {
        LaunchItem(window_.Get(), items_[static_cast<size_t>(index)].path);
    }
}

void Cadrel::OpenPaths(const std::vector<std::wstring>& paths) const
{
    for (const std::wstring& path : paths) {
        LaunchItem(window_.Get(), path);
    }
}

// The selection is otherwise only seen on screen; the log says it in words.
void Cadrel::LogSelection() const
{
    std::wstring indices;
    for (size_t i = 0; i < selection_.size(); ++i) {
        if (selection_[i]) {
            indices += (indices.empty() ? L"" : L",") + std::to_wstring(i);
        }
    }
    DebugLog(L"Cadrel %hs : selection [%ls].", id_.c_str(), indices.c_str());
}

std::wstring Cadrel::FooterText() const
{
    const std::uint64_t total = TotalItemSize(items_);
    wchar_t size[64] = L"";
    if (total != 0 && StrFormatByteSizeW(static_cast<LONGLONG>(std::min<std::uint64_t>(total, INT64_MAX)), size,
                                         static_cast<UINT>(std::size(size))) == nullptr) {
        size[0] = L'\0';
    }
    return ComposeFooterText(items_.size(), Tr(FooterWordId(items_.size(), UiLanguage())), size);
}

LayoutRect Cadrel::ItemRect(int index) const
{
    return ItemCellRect(View(), index, static_cast<int>(items_.size()), scrollOffset_);
}

int Cadrel::ItemAt(int x, int y) const
{
    return ItemAtPoint(View(), x, y, static_cast<int>(items_.size()), scrollOffset_);
}

LayoutRect Cadrel::TabRect(int index) const
{
    const int count = static_cast<int>(tabs_.size());
    const PixelRect bar = TitleBarClientRect(clientWidth_, clientHeight_, unfoldDirection_, Metrics().titleBar);
    const TabSpan span = TabSpanAt(index, count, clientWidth_, clientHeight_, unfoldDirection_, dpi_);
    if (IsVerticalUnfold(unfoldDirection_)) {
        return {static_cast<float>(span.start), static_cast<float>(bar.top), static_cast<float>(span.end),
                static_cast<float>(bar.bottom)};
    }
    return {static_cast<float>(bar.left), static_cast<float>(span.start), static_cast<float>(bar.right),
            static_cast<float>(span.end)};
}

int Cadrel::TabInsertIndex(int x, int y) const
{
    return TabInsertIndexAt(x, y, static_cast<int>(tabs_.size()), clientWidth_, clientHeight_, unfoldDirection_, dpi_);
}

bool Cadrel::IsOnFooter(int y) const
{
    return IsOnFooterAt(View(), y);
}

LayoutRect Cadrel::ContentRect() const
{
    return ContentArea(View());
}

float Cadrel::MaxScroll() const
{
    return MaxScrollOffset(View(), static_cast<int>(items_.size()));
}

}  // namespace cadrels
