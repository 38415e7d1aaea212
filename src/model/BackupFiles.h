// The backup folder on disk: writing a backup with its read-back check,
// listing, retention, renaming and deleting. The folder may be a network
// share that does not answer: the program calls these on a worker thread.
#pragma once

#include "model/BackupRules.h"
#include "model/Records.h"

#include <string>
#include <vector>

namespace cadrels {

// The clock now, in both of its forms.
BackupTime BackupTimeNow();

enum class BackupWriteOutcome {
    Written,
    // The arrangement equals the newest backup's: nothing new was written,
    // and `path` names that backup.
    Unchanged,
    // The folder could not be made or the file could not be written.
    Failed,
    // The file was written but does not read back as it was written; nothing
    // was pruned.
    NotReadBack,
};

struct BackupWriteResult {
    BackupWriteOutcome outcome = BackupWriteOutcome::Failed;
    std::wstring path;
    int pruned = 0;

    bool Succeeded() const
    {
        return outcome == BackupWriteOutcome::Written || outcome == BackupWriteOutcome::Unchanged;
    }
};

// Writes one backup stamped `stamp` into `folder` (created with its parents),
// reads it back, and only then deletes what lies beyond the `keep` newest.
BackupWriteResult WriteBackupAt(const Settings& settings, const std::wstring& folder, int keep,
                                const BackupStamp& stamp);
// The same, stamped now; the new (or unchanged newest) file's path, or empty.
std::wstring WriteBackup(const Settings& settings, const std::wstring& folder, int keep);

// The files "Cadrels-backup-*.json" of the folder, newest first by the time
// their names say; a file that cannot be read is listed by its file name.
std::vector<BackupEntry> ListBackups(const std::wstring& folder);

// The entry of one file, read now.
BackupEntry ReadBackupEntry(const std::wstring& path);

// Sets the `name` member (the file name and the other members stay).
bool RenameBackupFile(const std::wstring& path, const std::wstring& newName);
// Deletes the backup and the previous version its last rewrite left.
bool DeleteBackupFile(const std::wstring& path);

// Tests replace the read-back of a new backup to see a write that does not
// read back.
using BackupReadBackFunction = bool (*)(const std::wstring& path, std::string& bytes);
void SetBackupReadBackForTesting(BackupReadBackFunction function);

}  // namespace cadrels
