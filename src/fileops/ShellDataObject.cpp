#include "fileops/ShellDataObject.h"

#include <shlobj.h>

#include <memory>

namespace cadrels {

namespace {

struct IdListFree {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using UniqueIdList = std::unique_ptr<ITEMIDLIST, IdListFree>;

}  // namespace

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
