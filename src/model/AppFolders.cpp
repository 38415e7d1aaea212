#include "model/AppFolders.h"

#include "base/UniqueMemory.h"

#include <objbase.h>
#include <shlobj.h>

namespace cadrels {

std::wstring KnownFolder(const GUID& id, bool create)
{
    // The block is the caller's to free even when the call fails.
    UniqueCoTaskMem<wchar_t> path;
    if (SUCCEEDED(SHGetKnownFolderPath(id, create ? DWORD{KF_FLAG_CREATE} : DWORD{0}, nullptr, path.Put())) && path) {
        return path.Get();
    }
    return {};
}

std::wstring AppDataFolder()
{
    // Remembered once it exists; a failure is tried again next time, so a
    // folder that was briefly unavailable at logon does not disable saving
    // for the whole session.
    static std::wstring remembered;
    if (!remembered.empty()) {
        return remembered;
    }
    const std::wstring localAppData = KnownFolder(FOLDERID_LocalAppData, true);
    if (localAppData.empty()) {
        return {};
    }
    std::wstring folder = localAppData + L"\\Cadrels";
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return {};
    }
    remembered = std::move(folder);
    return remembered;
}

}  // namespace cadrels
