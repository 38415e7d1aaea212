#include "dock/DockDropTarget.h"

#include "dock/Dock.h"

#include <shellapi.h>

namespace cadrels {
namespace {

FORMATETC DropFormat()
{
    return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// The medium's owner releases it, whatever path leaves the function.
struct Medium {
    STGMEDIUM value{};
    ~Medium() { ReleaseStgMedium(&value); }
};

}  // namespace

std::vector<std::wstring> ReadDroppedPaths(IDataObject* data)
{
    std::vector<std::wstring> paths;
    if (data == nullptr) {
        return paths;
    }
    FORMATETC format = DropFormat();
    Medium medium;
    if (FAILED(data->GetData(&format, &medium.value)) || medium.value.tymed != TYMED_HGLOBAL) {
        return paths;
    }
    auto* drop = static_cast<HDROP>(GlobalLock(medium.value.hGlobal));
    if (drop == nullptr) {
        return paths;
    }
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        const UINT length = DragQueryFileW(drop, index, nullptr, 0);
        std::wstring path(length, L'\0');
        if (length > 0 && DragQueryFileW(drop, index, path.data(), length + 1) == length) {
            paths.push_back(std::move(path));
        }
    }
    GlobalUnlock(medium.value.hGlobal);
    return paths;
}

HRESULT DockDropTarget::QueryInterface(REFIID iid, void** object)
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

ULONG DockDropTarget::AddRef()
{
    return ++references_;
}

ULONG DockDropTarget::Release()
{
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT DockDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    FORMATETC format = DropFormat();
    accept_ = dock_ != nullptr && data != nullptr && data->QueryGetData(&format) == S_OK;
    if (accept_) {
        dock_->SetDropHover(true);
    }
    if (effect != nullptr) {
        *effect = accept_ ? DROPEFFECT_LINK : DROPEFFECT_NONE;
    }
    return S_OK;
}

HRESULT DockDropTarget::DragOver(DWORD, POINTL, DWORD* effect)
{
    if (effect != nullptr) {
        *effect = accept_ && dock_ != nullptr ? DROPEFFECT_LINK : DROPEFFECT_NONE;
    }
    return S_OK;
}

HRESULT DockDropTarget::DragLeave()
{
    if (dock_ != nullptr) {
        dock_->SetDropHover(false);
    }
    accept_ = false;
    return S_OK;
}

HRESULT DockDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    accept_ = false;
    if (dock_ == nullptr) {
        if (effect != nullptr) {
            *effect = DROPEFFECT_NONE;
        }
        return S_OK;
    }
    dock_->SetDropHover(false);
    const std::vector<std::wstring> paths = ReadDroppedPaths(data);
    if (paths.empty()) {
        if (effect != nullptr) {
            *effect = DROPEFFECT_NONE;
        }
        return S_OK;
    }
    dock_->AddDroppedPaths(paths);
    if (effect != nullptr) {
        *effect = DROPEFFECT_LINK;
    }
    return S_OK;
}

}  // namespace cadrels
