#include "dock/DockDropTarget.h"

#include "dock/Dock.h"
#include "fileops/ShellDataObject.h"

namespace cadrels {

HRESULT DockDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    FORMATETC format = FileDropFormat();
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
    const std::vector<std::wstring> paths = DroppedPaths(data);
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
