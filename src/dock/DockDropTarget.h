// The dock's OLE drop target: files dragged from anywhere are pinned as
// items (linked, never moved or copied).
#pragma once

#include "base/ComObject.h"

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace cadrels {

class Dock;

class DockDropTarget final : public ComObject<IDropTarget> {
public:
    explicit DockDropTarget(Dock& dock) : dock_(&dock) {}

    // OLE may hold the target a little longer than the dock lives.
    void Detach() { dock_ = nullptr; }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    Dock* dock_;
    bool accept_ = false;
};

}  // namespace cadrels
