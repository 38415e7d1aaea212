#include "online/CloudBackup.h"

#include "base/DebugLog.h"
#include "model/AppFolders.h"
#include "model/AtomicFile.h"
#include "model/PathText.h"

namespace cadrels {
namespace {

// The file holds two short identifiers; anything larger is not ours.
constexpr size_t MaxAccountFileBytes = 64u * 1024u;

}  // namespace

bool UploadCloudBackup(const std::wstring& code, const std::wstring& machineId, const std::wstring& name,
                       const std::wstring& created, const std::string& data)
{
    return UploadCloudBackupTo(DefaultServiceEndpoint(), CloudBackupPath, code, machineId, name, created, data);
}

bool UploadCloudBackupTo(const ServiceEndpoint& endpoint, std::wstring_view path, const std::wstring& code,
                         const std::wstring& machineId, const std::wstring& name, const std::wstring& created,
                         const std::string& data)
{
    std::string response;
    if (!ServiceRequestTo(endpoint, L"POST", path, CloudBackupBody(code, machineId, name, created, data),
                          response)) {
        DebugLog(L"Sauvegarde cloud : service injoignable.");
        return false;
    }
    if (!CloudBackupAccepted(response)) {
        DebugLog(L"Sauvegarde cloud : reponse sans accord du service.");
        return false;
    }
    return true;
}

std::wstring OnlineAccountPath()
{
    const std::wstring folder = AppDataFolder();
    return folder.empty() ? std::wstring() : ChildPath(folder, L"account.json");
}

OnlineAccount LoadOnlineAccount()
{
    return LoadOnlineAccountFrom(OnlineAccountPath());
}

OnlineAccount LoadOnlineAccountFrom(const std::wstring& path)
{
    std::string bytes;
    if (path.empty() || !ReadFileBytes(path, MaxAccountFileBytes, bytes)) {
        return {};
    }
    return ReadOnlineAccount(bytes);
}

}  // namespace cadrels
