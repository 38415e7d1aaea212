// Files dragged into a cadrel, and items dragged out of it, with the
// system's drag and drop: the highlight of a drag over the window and the
// tab under it, the transfer into a tab's folder, and the drag out of the
// selection as the shell's own data object.
#include "cadrel/Cadrel.h"

#include "base/DebugLog.h"
#include "cadrel/CadrelDropTarget.h"
#include "fileops/ShellDataObject.h"

#include <optional>

namespace cadrels {

void Cadrel::RegisterDropTarget()
{
    if (dropTarget_ || !window_) {
        return;
    }
    AdoptComObject(dropTarget_, new CadrelDropTarget(*this));
    if (const HRESULT hr = RegisterDragDrop(window_.Get(), dropTarget_.Get()); FAILED(hr)) {
        DebugLog(L"Cadrel %hs : depot de fichiers indisponible (0x%08lX).", id_.c_str(), static_cast<unsigned long>(hr));
        dropTarget_->Detach();
        dropTarget_.Reset();
    }
}

void Cadrel::RevokeDropTarget()
{
    if (!dropTarget_) {
        return;
    }
    if (window_) {
        RevokeDragDrop(window_.Get());
    }
    dropTarget_->Detach();
    dropTarget_.Reset();
}

void Cadrel::SetDropHighlight(bool highlight)
{
    // Files dropped on a tab go there without switching to it: a drag that
    // rests on a tab must not make it the active one.
    KillTimer(window_.Get(), CadrelTimerTabHover);
    hoverTab_ = -1;
    if (highlight != dropHighlight_) {
        dropHighlight_ = highlight;
        Draw();
    }
}

void Cadrel::SetDropTab(int tab)
{
    if (tab != dropTab_) {
        dropTab_ = tab;
        Draw();
    }
}

int Cadrel::TabAtScreenPoint(POINT screen) const
{
    if (tabs_.size() < 2 || !window_) {
        return -1;
    }
    ScreenToClient(window_.Get(), &screen);
    const CadrelHitMap map = HitMap();
    return map.IsOnTitleBar(screen.x, screen.y) ? map.TabAt(screen.x, screen.y) : -1;
}

namespace {

// The data object of the drag out of a cadrel now running, if any. Drags
// run on the main thread, one at a time.
IDataObject* ownDrag = nullptr;

}  // namespace

bool Cadrel::TakesDropOf(IDataObject* data) const
{
    return !host_.OperationRunning() || (data != nullptr && data == ownDrag);
}

int Cadrel::ReceiveDrop(const std::vector<std::wstring>& paths, bool move, int tab)
{
    // A drop on a tab with a folder files there without switching to it; a
    // hosting tab has none, so its drop goes to the active tab.
    std::wstring folder = ActiveFolder();
    if (tab >= 0 && tab < static_cast<int>(tabs_.size()) && !tabs_[static_cast<size_t>(tab)].folder.empty()) {
        folder = tabs_[static_cast<size_t>(tab)].folder;
    }
    if (paths.empty() || folder.empty()) {
        return 0;
    }
    const int arrived = host_.DropIntoFolder(*this, paths, move, folder);
    DebugLog(L"Depot sur le cadrel %hs : %d fichier(s) sur %u recu(s) dans %ls.", id_.c_str(), arrived,
             static_cast<unsigned>(paths.size()), folder.c_str());
    if (arrived > 0 && folder == ActiveFolder()) {
        Refresh();
    }
    return arrived;
}

void Cadrel::StartDragOut(int index)
{
    if (!content_.Contains(index)) {
        return;
    }
    if (!content_.IsSelected(index)) {
        content_.SelectOnly(index);
        content_.SetAnchor(index);
        Draw();
    }
    std::vector<std::wstring> paths = content_.SelectedPaths();
    if (paths.empty()) {
        paths.push_back(content_.Items()[static_cast<size_t>(index)].path);
    }
    const Microsoft::WRL::ComPtr<IDataObject> data = ShellDataObjectForPaths(paths);
    if (!data) {
        DebugLog(L"Glisser hors du cadrel %hs impossible : pas d'objet de donnees.", id_.c_str());
        return;
    }
    Microsoft::WRL::ComPtr<IDropSource> source;
    AdoptComObject(source, new SimpleDropSource);
    DWORD effect = DROPEFFECT_NONE;
    HRESULT result = S_OK;
    {
        // The drag's own message loop runs here: nothing may rebuild the
        // cadrels while this one is on the stack.
        std::optional<OperationState::Scope> running;
        running.emplace(host_.BeginOperation());
        ownDrag = data.Get();
        result = DoDragDrop(data.Get(), source.Get(), DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
        ownDrag = nullptr;
    }
    DebugLog(L"Glisser hors du cadrel %hs : %u element(s), %ls, effet %lu.", id_.c_str(),
             static_cast<unsigned>(paths.size()), result == DRAGDROP_S_DROP ? L"depose" : L"annule", effect);
    if ((effect & DROPEFFECT_MOVE) != 0) {
        Refresh();
    }
}

}  // namespace cadrels
