// The drop target of a cadrel window and the drop source of drags out of
// it. Only files (CF_HDROP) are taken; the effect answered never claims
// more than the source allows or the transfer did.
#pragma once

#include <windows.h>
#include <oleidl.h>

#include <string>
#include <vector>

namespace cadrels {

class Cadrel;

class CadrelDropTarget final : public IDropTarget {
public:
    explicit CadrelDropTarget(Cadrel& cadrel) : cadrel_(cadrel) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    ~CadrelDropTarget() = default;

    Cadrel& cadrel_;
    LONG references_ = 1;
    bool accepting_ = false;
};

class SimpleDropSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

private:
    ~SimpleDropSource() = default;

    LONG references_ = 1;
};

}  // namespace cadrels
