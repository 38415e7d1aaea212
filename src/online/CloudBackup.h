// Sending a backup to the user's space on the online service, and the
// program's own small file that names that space.
#pragma once

#include "online/CloudBackupBody.h"
#include "online/ServiceRequest.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cadrels {

inline constexpr wchar_t CloudBackupPath[] = L"/backup";

enum class CloudBackupOutcome {
    Accepted,
    // No account code or no computer identifier: nothing was sent.
    NoAccount,
    // No answer, or an answer without `ok` true.
    Refused,
};

// What a cloud upload thread hands back to the application.
struct CloudBackupReport {
    CloudBackupOutcome outcome = CloudBackupOutcome::Refused;
    // When the backup was taken: the schedule's time if the service took it.
    std::int64_t unixSeconds = 0;
};

// POSTs the backup to "/backup" of the service and judges the answer.
// Synchronous: called on a thread of its own.
bool UploadCloudBackup(const std::wstring& code, const std::wstring& machineId, const std::wstring& name,
                       const std::wstring& created, const std::string& data);
bool UploadCloudBackupTo(const ServiceEndpoint& endpoint, std::wstring_view path, const std::wstring& code,
                         const std::wstring& machineId, const std::wstring& name, const std::wstring& created,
                         const std::string& data);

// AppDataFolder() + "\account.json": per user, apart from the layout, the
// snapshots and the backups, so that no copy of the arrangement carries the
// account to another computer. Empty when the folder cannot be had.
std::wstring OnlineAccountPath();
// The account the file holds; empty values when there is no file.
OnlineAccount LoadOnlineAccount();
OnlineAccount LoadOnlineAccountFrom(const std::wstring& path);

}  // namespace cadrels
