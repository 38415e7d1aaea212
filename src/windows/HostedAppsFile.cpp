#include "windows/HostedAppsFile.h"

#include "base/DebugLog.h"
#include "model/AppFolders.h"
#include "model/AtomicFile.h"

#include <utility>

namespace cadrels {

HostedAppsStore::HostedAppsStore(std::wstring path) : path_(std::move(path))
{
    std::string bytes;
    if (!path_.empty() && ReadWholeFile(path_, bytes)) {
        list_ = HostedExecutables::Parse(bytes);
    }
}

void HostedAppsStore::Remember(const std::wstring& exePath, const std::wstring& appId)
{
    if (!list_.Add(exePath, appId) || path_.empty()) {
        return;
    }
    if (!WriteFileAtomically(path_, list_.Format())) {
        DebugLog(L"Liste des applications hebergees : ecriture impossible (%ls).", path_.c_str());
    }
}

std::wstring HostedAppsStore::DefaultPath()
{
    const std::wstring folder = AppDataFolder();
    return folder.empty() ? std::wstring() : folder + L"\\hosted-apps.txt";
}

}  // namespace cadrels
