#include "fileops/RecycleBin.h"

#include "base/DebugLog.h"
#include "base/UniqueHandle.h"
#include "model/PathText.h"

#include <windows.h>
#include <shellapi.h>
#include <shobjidl.h>
#include <wrl/client.h>

namespace cadrels {
namespace {

// The folder's size in bytes, files of every depth.
unsigned long long FolderBytes(const std::wstring& folder)
{
    unsigned long long total = 0;
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW(ChildPath(folder, L"*").c_str(), &entry));
    if (!find) {
        return 0;
    }
    do {
        const std::wstring_view name = entry.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
                total += FolderBytes(ChildPath(folder, name));
            }
        } else {
            total += (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        }
    } while (FindNextFileW(find.Get(), &entry));
    return total;
}

}  // namespace

bool RecycleBinCanTake(const std::wstring& folder)
{
    wchar_t root[MAX_PATH] = {};
    if (folder.size() >= MAX_PATH || !GetVolumePathNameW(folder.c_str(), root, MAX_PATH) ||
        GetDriveTypeW(root) != DRIVE_FIXED) {
        return false;
    }
    wchar_t volume[64] = {};
    if (!GetVolumeNameForVolumeMountPointW(root, volume, 64)) {
        return true;
    }
    // "\\?\Volume{GUID}\" names the volume's key.
    std::wstring guid = volume;
    const size_t open = guid.find(L'{');
    const size_t close = guid.find(L'}');
    if (open == std::wstring::npos || close == std::wstring::npos) {
        return true;
    }
    const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\" +
                             guid.substr(open, close - open + 1);
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"NukeOnDelete", RRF_RT_REG_DWORD, nullptr, &value, &size) ==
            ERROR_SUCCESS &&
        value != 0) {
        return false;
    }
    size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"MaxCapacity", RRF_RT_REG_DWORD, nullptr, &value, &size) ==
        ERROR_SUCCESS) {
        return FolderBytes(folder) <= static_cast<unsigned long long>(value) * 1024 * 1024;
    }
    return true;
}

RecycleResult RecycleWithFileOperation(const std::wstring& folder)
{
    Microsoft::WRL::ComPtr<IFileOperation> operation;
    if (FAILED(CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&operation))) ||
        FAILED(operation->SetOperationFlags(FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI |
                                            FOF_WANTNUKEWARNING | FOFX_RECYCLEONDELETE))) {
        return RecycleResult::Unavailable;
    }
    Microsoft::WRL::ComPtr<IShellItem> item;
    if (FAILED(SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_PPV_ARGS(&item))) ||
        FAILED(operation->DeleteItem(item.Get(), nullptr))) {
        return RecycleResult::Unavailable;
    }
    const HRESULT performed = operation->PerformOperations();
    const bool gone = GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
    if (performed == E_NOTIMPL && !gone) {
        return RecycleResult::Unavailable;
    }
    BOOL aborted = FALSE;
    operation->GetAnyOperationsAborted(&aborted);
    DebugLog(L"Corbeille par l'operation du shell : HRESULT 0x%08X, %ls.", static_cast<unsigned>(performed),
             aborted ? L"interrompue" : L"menee a bout");
    return SUCCEEDED(performed) && !aborted && gone ? RecycleResult::Recycled : RecycleResult::Refused;
}

std::optional<long long> RecycledItemCount(const std::wstring& folder)
{
    wchar_t root[MAX_PATH] = {};
    if (folder.size() >= MAX_PATH || !GetVolumePathNameW(folder.c_str(), root, MAX_PATH)) {
        return std::nullopt;
    }
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    if (FAILED(SHQueryRecycleBinW(root, &info))) {
        return std::nullopt;
    }
    return info.i64NumItems;
}

}  // namespace cadrels
