#include "fileops/ShellDataObject.h"

#include "base/UniqueMemory.h"

#include <shellapi.h>
#include <shlobj.h>

#include <memory>

namespace cadrels {

namespace {

// The medium's owner releases it, whatever path leaves the function.
struct Medium {
    STGMEDIUM value{};
    ~Medium() { ReleaseStgMedium(&value); }
};

}  // namespace

FORMATETC FileDropFormat()
{
    return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

std::vector<std::wstring> DroppedPaths(IDataObject* data)
{
    std::vector<std::wstring> paths;
    if (data == nullptr) {
        return paths;
    }
    FORMATETC format = FileDropFormat();
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

Microsoft::WRL::ComPtr<IDataObject> ShellDataObjectForPaths(const std::vector<std::wstring>& paths)
{
    std::vector<UniqueIdList> absolute;
    std::vector<LPCITEMIDLIST> children;
    Microsoft::WRL::ComPtr<IShellFolder> parent;
    for (const std::wstring& path : paths) {
        PIDLIST_ABSOLUTE list = nullptr;
        if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &list, 0, nullptr)) || list == nullptr) {
            continue;
        }
        UniqueIdList owned(list);
        Microsoft::WRL::ComPtr<IShellFolder> folder;
        PCUITEMID_CHILD child = nullptr;
        if (FAILED(SHBindToParent(list, IID_PPV_ARGS(folder.GetAddressOf()), &child))) {
            continue;
        }
        // Every item of a cadrel lies in its one folder: the first parent
        // serves for all.
        if (!parent) {
            parent = folder;
        }
        children.push_back(child);
        absolute.push_back(std::move(owned));
    }
    Microsoft::WRL::ComPtr<IDataObject> data;
    if (parent && !children.empty()) {
        parent->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(), IID_IDataObject, nullptr,
                              reinterpret_cast<void**>(data.GetAddressOf()));
    }
    return data;
}

}  // namespace cadrels
