// One backup as the program runs it: decided on the main thread with a copy
// of the settings, carried out on a worker (the folder may be a share that
// does not answer), and its result recorded back on the main thread.
#pragma once

#include "model/BackupFiles.h"

#include <optional>
#include <string>
#include <vector>

namespace cadrels {

struct BackupTask {
    Settings settings;
    std::wstring folder;
    int keep = 10;
    BackupTime time;
    // "Back up now": the result is told to the user.
    bool announce = false;
};

struct BackupReport {
    BackupTime time;
    BackupWriteResult write;
    // The folder as it is after the write, for the backup list.
    std::vector<BackupEntry> listing;
    bool announce = false;
    // False for a rename, a deletion or a listing: only `listing` counts.
    bool backup = true;
};

// The local backup a save (`force` false) or "Back up now" asks for at `time`,
// or nothing when none is due or no folder is set.
std::optional<BackupTask> BackupTaskIfDue(const Settings& settings, const BackupTime& time, bool force);

// The worker's part: write, read back, prune, list.
BackupReport RunBackupTask(const BackupTask& task);

// Moves `backupLast` on when the backup succeeded (written, or the
// arrangement was already saved); true when the settings changed and the
// layout file must be written.
bool RecordBackupReport(Settings& settings, const BackupReport& report);
// A cloud-only configuration counts as backed up only when the service said ok.
bool RecordCloudBackup(Settings& settings, std::int64_t unixSeconds, bool accepted);

}  // namespace cadrels
