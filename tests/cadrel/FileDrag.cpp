#include "FileDrag.h"

#include "DesktopInput.h"

#include <shlobj.h>

using Microsoft::WRL::ComPtr;

namespace cadrels::testing {

HRESULT WalkingDropSource::QueryInterface(REFIID iid, void** object)
{
    if (iid == IID_IUnknown || iid == IID_IDropSource) {
        *object = static_cast<IDropSource*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT WalkingDropSource::QueryContinueDrag(BOOL escape, DWORD)
{
    if (escape || step_ > Steps + 6) {
        return step_ > Steps + 6 ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
    }
    const int i = step_ < Steps ? step_ : Steps;
    if (step_ == Steps + 3 && atTarget_) {
        atTarget_();
    }
    PointerTo({from_.x + (to_.x - from_.x) * i / Steps, from_.y + (to_.y - from_.y) * i / Steps});
    ++step_;
    return S_OK;
}

ComPtr<IDataObject> FilesDataObject(const std::wstring& folder, const std::vector<std::wstring>& names)
{
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.GetAddressOf()))) {
        return nullptr;
    }
    PIDLIST_RELATIVE folderId = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(folder.c_str()), nullptr, &folderId,
                                         nullptr))) {
        return nullptr;
    }
    ComPtr<IShellFolder> parent;
    desktop->BindToObject(folderId, nullptr, IID_PPV_ARGS(parent.GetAddressOf()));
    CoTaskMemFree(folderId);
    if (!parent) {
        return nullptr;
    }
    std::vector<PIDLIST_RELATIVE> children;
    for (const std::wstring& name : names) {
        PIDLIST_RELATIVE child = nullptr;
        if (SUCCEEDED(parent->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(name.c_str()), nullptr, &child,
                                               nullptr))) {
            children.push_back(child);
        }
    }
    std::vector<LPCITEMIDLIST> items(children.begin(), children.end());
    ComPtr<IDataObject> data;
    parent->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()), items.data(), IID_IDataObject, nullptr,
                          reinterpret_cast<void**>(data.GetAddressOf()));
    for (PIDLIST_RELATIVE child : children) {
        CoTaskMemFree(child);
    }
    return data;
}

DWORD DragFiles(const std::wstring& folder, const std::vector<std::wstring>& names, POINT from, POINT to,
                DWORD offered, std::function<void()> atTarget)
{
    ComPtr<IDataObject> data = FilesDataObject(folder, names);
    if (!data) {
        return DROPEFFECT_NONE;
    }
    WalkingDropSource source(from, to, std::move(atTarget));
    DWORD effect = DROPEFFECT_NONE;
    DoDragDrop(data.Get(), &source, offered, &effect);
    return effect;
}

}  // namespace cadrels::testing
