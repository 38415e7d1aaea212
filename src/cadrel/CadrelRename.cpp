// In-place renaming of a tab title or of a file through the rename box
// (InPlaceRename.h), what a finished rename does to the tab, its folder or
// the file, and closing the active tab. Enter and the loss of the keyboard
// commit, Esc cancels.
#include "cadrel/Cadrel.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "base/WindowClass.h"
#include "cadrel/RenameRules.h"
#include "fileops/MoveEngine.h"
#include "i18n/StringTable.h"
#include "model/ContainerFolders.h"
#include "model/FileSystemNames.h"
#include "model/PathText.h"
#include "policy/Policy.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace cadrels {
namespace {

bool PathExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void Cadrel::BeginTabRename()
{
    if (RenameOpen() || !window_ || AreCadrelsLocked() || activeTab_ < 0 ||
        activeTab_ >= static_cast<int>(tabs_.size())) {
        return;
    }
    const float s = DpiScale(dpi_);
    const int c = static_cast<int>(10 * s);
    const int d = static_cast<int>(30 * s);
    const PixelRect window = WindowRect();
    RECT box{};
    if (properties_.expandDir == 2 || properties_.expandDir == 3) {
        box.left = window.left + c + (properties_.expandDir == 3 ? d : 0);
        box.top = window.top + c;
        box.right = window.right - c - (properties_.expandDir == 2 ? d : 0);
        box.bottom = window.top + c + d - static_cast<int>(4 * s);
    } else if (tabs_.size() == 1) {
        box.left = window.left + c;
        box.right = window.right - c;
        box.top = window.top + static_cast<int>(TitleBarTop(View())) + static_cast<int>(2 * s);
        box.bottom = box.top + d - static_cast<int>(4 * s);
    } else {
        const LayoutRect tab = HitMap().TabRect(activeTab_);
        box.left = window.left + static_cast<int>(tab.left + 6 * s);
        box.top = window.top + static_cast<int>(tab.top + 4 * s);
        box.right = window.left + static_cast<int>(tab.right - 4 * s);
        box.bottom = window.top + static_cast<int>(tab.bottom - 2 * s);
    }
    if (rename_.Open(window_.Get(), box, tabs_[static_cast<size_t>(activeTab_)].title, 0, -1, dpi_,
                     {-1, activeTab_, {}})) {
        DebugLog(L"Cadrel %hs : renommage de l'onglet %d ouvert.", id_.c_str(), activeTab_);
    }
}

void Cadrel::BeginItemRename(int index)
{
    if (RenameOpen() || !window_ || rolled_ || !content_.Contains(index)) {
        return;
    }
    const CadrelView view = View();
    const ContentMetrics metrics = ComputeContentMetrics(view);
    const LayoutRect cell = HitMap().ItemRect(index);
    const LayoutRect area = ContentArea(view);
    const float s = metrics.scale;
    const float top = cell.top + metrics.pad / 2 + metrics.icon + 2 * s;
    const float bottom = top + 25.5f * s < cell.bottom ? top + 25.5f * s : cell.bottom;
    // A cell scrolled out of sight has no place for the box.
    if (cell.bottom < area.top || top > area.bottom) {
        return;
    }
    const PixelRect window = WindowRect();
    RECT box{window.left + static_cast<LONG>(cell.left) + 2, window.top + static_cast<LONG>(top),
             window.left + static_cast<LONG>(cell.right) - 2, window.top + static_cast<LONG>(bottom)};
    MONITORINFO monitor{sizeof monitor};
    if (GetMonitorInfoW(MonitorFromWindow(window_.Get(), MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        if (box.right > work.right) {
            OffsetRect(&box, work.right - box.right, 0);
        }
        if (box.left < work.left) {
            OffsetRect(&box, work.left - box.left, 0);
        }
    }
    const CadrelItem& item = content_.Items()[static_cast<size_t>(index)];
    const DWORD attributes = GetFileAttributesW(item.path.c_str());
    const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const auto [selStart, selEnd] = RenameSelection(item.name, folder);
    if (rename_.Open(window_.Get(), box, item.name, selStart, selEnd, dpi_, {index, -1, item.path})) {
        DebugLog(L"Cadrel %hs : renommage de %ls ouvert.", id_.c_str(), item.path.c_str());
    }
}

void Cadrel::CommitRename()
{
    if (!RenameOpen()) {
        return;
    }
    const std::wstring text = TrimRenameText(rename_.Text());
    const RenameSubject subject = rename_.Subject();
    // The box closes before anything else happens: a rename pumps messages.
    CancelRename();
    if (!subject.IsTab()) {
        RenameFile(subject.path, text);
        return;
    }
    const int tab = subject.tab;
    if (tab < 0 || tab >= static_cast<int>(tabs_.size()) || text.empty() ||
        text == tabs_[static_cast<size_t>(tab)].title) {
        DebugLog(L"Cadrel %hs : titre d'onglet inchange.", id_.c_str());
        return;
    }
    LiveTab& renamed = tabs_[static_cast<size_t>(tab)];
    renamed.title = text;
    renamed.titleAuto = false;
    if (tab == activeTab_) {
        SetWindowTitleFromActiveTab();
        FolderFollowsTitle(text);
    } else if (!renamed.folder.empty()) {
        const std::wstring folder = RenameContainerForTitle(renamed.folder, text, id_);
        if (folder != renamed.folder) {
            renamed.folder = folder;
        }
    }
    DebugLog(L"Cadrel %hs : onglet %d renomme en \"%ls\", dossier %ls.", id_.c_str(), tab, text.c_str(),
             tabs_[static_cast<size_t>(tab)].folder.c_str());
    Notify(WM_APP_CADREL_TABS_CHANGED, true);
    Draw();
}

void Cadrel::CancelRename()
{
    rename_.Close();
    trackingLeave_ = false;
    if (window_) {
        SetWindowPos(window_.Get(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    }
}

void Cadrel::CancelTabRename()
{
    // The box knows its tab by position: once the tabs move, committing it
    // would rename another tab, and perhaps that tab's container folder.
    if (rename_.IsOpen() && rename_.Subject().IsTab()) {
        DebugLog(L"Cadrel %hs : renommage de l'onglet %d annule, les onglets ont change.", id_.c_str(),
                 rename_.Subject().tab);
        CancelRename();
    }
}

void Cadrel::FolderFollowsTitle(const std::wstring& title)
{
    if (activeTab_ < 0 || activeTab_ >= static_cast<int>(tabs_.size())) {
        return;
    }
    LiveTab& tab = tabs_[static_cast<size_t>(activeTab_)];
    if (tab.folder.empty()) {
        return;
    }
    // No watcher handle may keep the folder open while it is renamed.
    content_.StopWatching();
    const std::wstring renamed = RenameContainerForTitle(tab.folder, title, id_);
    if (renamed != tab.folder) {
        tab.folder = renamed;
        StartWatcher();
        ListFolder();
        hoverItem_ = -1;
        ClampScroll();
        Draw();
    } else {
        StartWatcher();
    }
}

void Cadrel::RenameActiveTab(const std::wstring& title)
{
    const std::wstring text = TrimRenameText(title);
    if (text.empty() || activeTab_ < 0 || activeTab_ >= static_cast<int>(tabs_.size()) ||
        text == tabs_[static_cast<size_t>(activeTab_)].title) {
        return;
    }
    tabs_[static_cast<size_t>(activeTab_)].title = text;
    SetWindowTitleFromActiveTab();
    FolderFollowsTitle(text);
    Notify(WM_APP_CADREL_TABS_CHANGED, true);
    Draw();
}

bool Cadrel::RenameFile(const std::wstring& path, const std::wstring& newName)
{
    std::wstring folder;
    std::wstring oldName;
    if (path.empty() || !IsAcceptableNewName(newName) || !PathExists(path) ||
        !SplitParentAndName(path, folder, oldName)) {
        DebugLog(L"Renommage refuse : \"%ls\" pour %ls.", newName.c_str(), path.c_str());
        return false;
    }
    const std::wstring name = NameKeepingHiddenExtension(oldName, newName);
    if (name == oldName) {
        return false;
    }
    const std::wstring target = ChildPath(folder, name);
    // An existing file is never replaced; a change of letter case only is.
    if (PathExists(target) && !SameFileSystemName(target, path)) {
        DebugLog(L"Renommage refuse : %ls existe deja.", target.c_str());
        return false;
    }
    MoveOptions options;
    options.allowUndo = true;
    std::unique_ptr<MoveEngine> engine = CreateMoveEngine(options);
    HRESULT result = E_FAIL;
    {
        std::optional<OperationState::Scope> running;
        running.emplace(host_.BeginOperation());
        result = engine->Queue(path, folder, name) ? engine->Perform() : E_FAIL;
    }
    if (FAILED(result) || engine->Moved().empty()) {
        DebugLog(L"Renommage de %ls en %ls : echec (HRESULT 0x%08X).", path.c_str(), name.c_str(),
                 static_cast<unsigned>(result));
        return false;
    }
    DebugLog(L"Renommage de %ls en %ls.", path.c_str(), name.c_str());
    UndoEntry entry;
    entry.kind = UndoKindMoves;
    entry.description = Tr(TextId::RenameFile);
    entry.moves = engine->Moved();
    host_.RecordMoves(std::move(entry));
    if (window_) {
        Refresh();
    }
    return true;
}

void Cadrel::CloseActiveTab()
{
    if (AreCadrelsLocked() || tabs_.size() < 2) {
        return;
    }
    if (activeTab_ >= 0 && activeTab_ < static_cast<int>(tabs_.size()) &&
        (!tabs_[static_cast<size_t>(activeTab_)].hostedExe.empty() ||
         !tabs_[static_cast<size_t>(activeTab_)].hostedAumid.empty())) {
        host_.ReleaseFromActiveTab(*this);
    }
    if (window_) {
        KillTimer(window_.Get(), CadrelTimerTabHover);
    }
    // The tab's folder stays on disk untouched.
    CloseTab(activeTab_, true);
}

}  // namespace cadrels
