#include "cadrel/CadrelDropTarget.h"

#include "cadrel/Cadrel.h"
#include "cadrel/DropEffect.h"
#include "fileops/ShellDataObject.h"

namespace cadrels {

HRESULT CadrelDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect)
{
    FORMATETC format = FileDropFormat();
    accepting_ = cadrel_ != nullptr && data != nullptr && data->QueryGetData(&format) == S_OK;
    if (accepting_) {
        cadrel_->SetDropHighlight(true);
        cadrel_->SetDropTab(cadrel_->TabAtScreenPoint({point.x, point.y}));
    }
    *effect = ChooseDropEffect(accepting_, (keys & MK_CONTROL) != 0, *effect);
    return S_OK;
}

HRESULT CadrelDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect)
{
    if (accepting_ && cadrel_ != nullptr) {
        cadrel_->SetDropTab(cadrel_->TabAtScreenPoint({point.x, point.y}));
    }
    *effect = ChooseDropEffect(accepting_, (keys & MK_CONTROL) != 0, *effect);
    return S_OK;
}

HRESULT CadrelDropTarget::DragLeave()
{
    if (cadrel_ != nullptr) {
        cadrel_->SetDropHighlight(false);
        cadrel_->SetDropTab(-1);
    }
    accepting_ = false;
    return S_OK;
}

HRESULT CadrelDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect)
{
    if (cadrel_ == nullptr) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    const int tab = cadrel_->TabAtScreenPoint({point.x, point.y});
    DragLeave();
    const std::vector<std::wstring> paths = DroppedPaths(data);
    const unsigned chosen = ChooseDropEffect(!paths.empty(), (keys & MK_CONTROL) != 0, *effect);
    // The source learns what really happened: a move it was told of may
    // make it delete its originals.
    const bool done = chosen != DropNone && cadrel_->ReceiveDrop(paths, chosen == DropMove, tab) > 0;
    *effect = done ? chosen : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT SimpleDropSource::QueryContinueDrag(BOOL escape, DWORD keys)
{
    if (escape) {
        return DRAGDROP_S_CANCEL;
    }
    return (keys & (MK_LBUTTON | MK_RBUTTON)) != 0 ? S_OK : DRAGDROP_S_DROP;
}

HRESULT SimpleDropSource::GiveFeedback(DWORD)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

}  // namespace cadrels
