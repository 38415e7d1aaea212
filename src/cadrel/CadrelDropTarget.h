// The drop target of a cadrel window and the drop source of drags out of
// it. Only files (CF_HDROP) are taken; the effect answered never claims
// more than the source allows or the transfer did.
#pragma once

#include "base/ComObject.h"

#include <windows.h>
#include <oleidl.h>

#include <string>
#include <vector>

namespace cadrels {

class Cadrel;

class CadrelDropTarget final : public ComObject<IDropTarget> {
public:
    explicit CadrelDropTarget(Cadrel& cadrel) : cadrel_(&cadrel) {}

    // OLE may hold the target a little longer than the cadrel lives.
    void Detach() { cadrel_ = nullptr; }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    Cadrel* cadrel_;
    bool accepting_ = false;
};

class SimpleDropSource final : public ComObject<IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;
};

}  // namespace cadrels
