#include "fileops/MoveRecorder.h"

#include <string>

namespace cadrels {
namespace {

std::wstring FileSystemPath(IShellItem* item)
{
    if (item == nullptr) {
        return {};
    }
    PWSTR raw = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &raw)) || raw == nullptr) {
        return {};
    }
    std::wstring path = raw;
    CoTaskMemFree(raw);
    return path;
}

}  // namespace

void MoveRecorder::Record(HRESULT hr, IShellItem* item, IShellItem* newItem, IShellItem* destinationFolder,
                          LPCWSTR newName)
{
    if (FAILED(hr) || moves_ == nullptr) {
        return;
    }
    std::wstring from = FileSystemPath(item);
    std::wstring to = FileSystemPath(newItem);
    if (to.empty() && destinationFolder != nullptr) {
        const std::wstring folder = FileSystemPath(destinationFolder);
        if (!folder.empty()) {
            std::wstring name = newName != nullptr ? newName : L"";
            if (name.empty()) {
                const size_t slash = from.rfind(L'\\');
                name = slash == std::wstring::npos ? from : from.substr(slash + 1);
            }
            to = folder + L"\\" + name;
        }
    }
    if (!from.empty() && !to.empty()) {
        moves_->push_back(MovePair{std::move(from), std::move(to)});
    }
}

IFACEMETHODIMP MoveRecorder::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IFileOperationProgressSink) {
        *object = static_cast<IFileOperationProgressSink*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

IFACEMETHODIMP_(ULONG) MoveRecorder::AddRef()
{
    return ++references_;
}

IFACEMETHODIMP_(ULONG) MoveRecorder::Release()
{
    return --references_;
}

IFACEMETHODIMP MoveRecorder::PostRenameItem(DWORD, IShellItem* item, LPCWSTR, HRESULT hr, IShellItem* newItem)
{
    Record(hr, item, newItem, nullptr, nullptr);
    return S_OK;
}

IFACEMETHODIMP MoveRecorder::PostCopyItem(DWORD, IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName,
                                          HRESULT hr, IShellItem* newItem)
{
    Record(hr, item, newItem, destinationFolder, newName);
    return S_OK;
}

IFACEMETHODIMP MoveRecorder::PostMoveItem(DWORD, IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName,
                                          HRESULT hr, IShellItem* newItem)
{
    Record(hr, item, newItem, destinationFolder, newName);
    return S_OK;
}

}  // namespace cadrels
