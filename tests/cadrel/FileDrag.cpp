#include "FileDrag.h"

#include "DesktopInput.h"

#include <shlobj.h>

#include <cstring>

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

namespace {

void SetCtrlState(bool down)
{
    BYTE keys[256]{};
    if (GetKeyboardState(keys)) {
        keys[VK_CONTROL] = down ? 0x80 : 0;
        keys[VK_LCONTROL] = keys[VK_CONTROL];
        SetKeyboardState(keys);
    }
}

class TextOnlyData final : public IDataObject {
public:
    explicit TextOnlyData(std::wstring text) : text_(std::move(text)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IDataObject) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK) {
            return DV_E_FORMATETC;
        }
        const size_t bytes = (text_.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        if (memory == nullptr) {
            return E_OUTOFMEMORY;
        }
        std::memcpy(GlobalLock(memory), text_.c_str(), bytes);
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return format != nullptr && format->cfFormat == CF_UNICODETEXT && (format->tymed & TYMED_HGLOBAL) != 0
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override
    {
        if (direction != DATADIR_GET) {
            return E_NOTIMPL;
        }
        FORMATETC text{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &text, formats);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::wstring text_;
    LONG references_ = 1;
};

}  // namespace

ComPtr<IDataObject> TextDataObject(const std::wstring& text)
{
    ComPtr<IDataObject> data;
    data.Attach(new TextOnlyData(text));
    return data;
}

DragOutcome DragData(IDataObject* data, POINT from, POINT to, DWORD offered, bool ctrl, std::function<void()> atTarget)
{
    DragOutcome outcome;
    if (data == nullptr) {
        return outcome;
    }
    WalkingDropSource source(from, to, [&] {
        if (ctrl) {
            SetCtrlState(true);
        }
        if (atTarget) {
            atTarget();
        }
    });
    DoDragDrop(data, &source, offered, &outcome.dropped);
    outcome.shown = source.Shown();
    if (ctrl) {
        SetCtrlState(false);
    }
    return outcome;
}

std::optional<DWORD> RecordingDataObject::SetValue(const wchar_t* name) const
{
    const auto found = set_.find(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name)));
    return found == set_.end() ? std::nullopt : std::optional<DWORD>(found->second);
}

HRESULT RecordingDataObject::QueryInterface(REFIID iid, void** object)
{
    if (iid == IID_IUnknown || iid == IID_IDataObject) {
        *object = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG RecordingDataObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG RecordingDataObject::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT RecordingDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    return inner_->GetData(format, medium);
}

HRESULT RecordingDataObject::GetDataHere(FORMATETC* format, STGMEDIUM* medium)
{
    return inner_->GetDataHere(format, medium);
}

HRESULT RecordingDataObject::QueryGetData(FORMATETC* format)
{
    return inner_->QueryGetData(format);
}

HRESULT RecordingDataObject::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out)
{
    return inner_->GetCanonicalFormatEtc(in, out);
}

HRESULT RecordingDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release)
{
    if (format == nullptr || medium == nullptr || medium->tymed != TYMED_HGLOBAL) {
        return E_INVALIDARG;
    }
    if (const auto* value = static_cast<const DWORD*>(GlobalLock(medium->hGlobal))) {
        set_[format->cfFormat] = *value;
        GlobalUnlock(medium->hGlobal);
    }
    if (release) {
        ReleaseStgMedium(medium);
    }
    return S_OK;
}

HRESULT RecordingDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats)
{
    return inner_->EnumFormatEtc(direction, formats);
}

HRESULT RecordingDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT RecordingDataObject::DUnadvise(DWORD)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT RecordingDataObject::EnumDAdvise(IEnumSTATDATA**)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

ComPtr<RecordingDataObject> RecordingFilesDataObject(const std::wstring& folder, const std::vector<std::wstring>& names)
{
    ComPtr<IDataObject> inner = FilesDataObject(folder, names);
    ComPtr<RecordingDataObject> data;
    if (inner) {
        data.Attach(new RecordingDataObject(std::move(inner)));
    }
    return data;
}

DWORD DragFiles(const std::wstring& folder, const std::vector<std::wstring>& names, POINT from, POINT to,
                DWORD offered, std::function<void()> atTarget)
{
    const ComPtr<IDataObject> data = FilesDataObject(folder, names);
    return DragData(data.Get(), from, to, offered, false, std::move(atTarget)).dropped;
}

}  // namespace cadrels::testing
