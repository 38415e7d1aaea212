#include "cadrel/CadrelDropTarget.h"

#include "cadrel/Cadrel.h"
#include "cadrel/DropEffect.h"
#include "fileops/ShellDataObject.h"

namespace cadrels {

HRESULT CadrelDropTarget::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CadrelDropTarget::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG CadrelDropTarget::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT CadrelDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect)
{
    FORMATETC format = FileDropFormat();
    accepting_ = data != nullptr && data->QueryGetData(&format) == S_OK;
    if (accepting_) {
        cadrel_.SetDropHighlight(true);
        cadrel_.SetDropTab(cadrel_.TabAtScreenPoint({point.x, point.y}));
    }
    *effect = ChooseDropEffect(accepting_, (keys & MK_CONTROL) != 0, *effect);
    return S_OK;
}

HRESULT CadrelDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect)
{
    if (accepting_) {
        cadrel_.SetDropTab(cadrel_.TabAtScreenPoint({point.x, point.y}));
    }
    *effect = ChooseDropEffect(accepting_, (keys & MK_CONTROL) != 0, *effect);
    return S_OK;
}

HRESULT CadrelDropTarget::DragLeave()
{
    cadrel_.SetDropHighlight(false);
    cadrel_.SetDropTab(-1);
    accepting_ = false;
    return S_OK;
}

HRESULT CadrelDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect)
{
    const int tab = cadrel_.TabAtScreenPoint({point.x, point.y});
    DragLeave();
    const std::vector<std::wstring> paths = DroppedPaths(data);
    const unsigned chosen = ChooseDropEffect(!paths.empty(), (keys & MK_CONTROL) != 0, *effect);
    // The source learns what really happened: a move it was told of may
    // make it delete its originals.
    const bool done = chosen != DropNone && cadrel_.ReceiveDrop(paths, chosen == DropMove, tab) > 0;
    *effect = done ? chosen : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT SimpleDropSource::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IDropSource) {
        *object = static_cast<IDropSource*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG SimpleDropSource::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG SimpleDropSource::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
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
