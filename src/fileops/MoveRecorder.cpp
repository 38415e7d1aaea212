#include "fileops/MoveRecorder.h"

#include "base/DebugLog.h"
#include "base/UniqueMemory.h"

#include <new>
#include <string>

namespace cadrels {

std::wstring FileSystemPath(IShellItem* item)
{
    if (item == nullptr) {
        return {};
    }
    UniqueCoTaskMem<wchar_t> path;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, path.Put())) || !path) {
        return {};
    }
    return path.Get();
}

Microsoft::WRL::ComPtr<MoveRecorder> MoveRecorder::Create(ItemCheck check)
{
    Microsoft::WRL::ComPtr<MoveRecorder> recorder;
    AdoptComObject(recorder, new (std::nothrow) MoveRecorder(std::move(check)));
    return recorder;
}

void MoveRecorder::Record(HRESULT hr, IShellItem* item, IShellItem* newItem, IShellItem* destinationFolder,
                          LPCWSTR newName)
{
    // Success codes other than S_OK (the copy engine's COPYENGINE_S_*) are
    // successes too: the disk check after the operation sorts out the rest.
    if (FAILED(hr)) {
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
        moves_.push_back(MovePair{std::move(from), std::move(to)});
    }
}

// An exception must never unwind through the shell's frames: a move whose
// record cannot be kept is logged, and the operation goes on.
void MoveRecorder::RecordSafely(HRESULT hr, IShellItem* item, IShellItem* newItem, IShellItem* destinationFolder,
                                LPCWSTR newName) noexcept
{
    try {
        Record(hr, item, newItem, destinationFolder, newName);
    } catch (...) {
        DebugLog(L"Deplacement non enregistre : memoire insuffisante.");
    }
}

HRESULT MoveRecorder::Check(IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName) noexcept
{
    if (!check_) {
        return S_OK;
    }
    try {
        return check_(item, destinationFolder, newName);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

IFACEMETHODIMP MoveRecorder::PostRenameItem(DWORD, IShellItem* item, LPCWSTR, HRESULT hr, IShellItem* newItem)
{
    RecordSafely(hr, item, newItem, nullptr, nullptr);
    return S_OK;
}

IFACEMETHODIMP MoveRecorder::PreMoveItem(DWORD, IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName)
{
    return Check(item, destinationFolder, newName);
}

IFACEMETHODIMP MoveRecorder::PostMoveItem(DWORD, IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName,
                                          HRESULT hr, IShellItem* newItem)
{
    RecordSafely(hr, item, newItem, destinationFolder, newName);
    return S_OK;
}

IFACEMETHODIMP MoveRecorder::PreCopyItem(DWORD, IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName)
{
    return Check(item, destinationFolder, newName);
}

IFACEMETHODIMP MoveRecorder::PostCopyItem(DWORD, IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName,
                                          HRESULT hr, IShellItem* newItem)
{
    RecordSafely(hr, item, newItem, destinationFolder, newName);
    return S_OK;
}

}  // namespace cadrels
