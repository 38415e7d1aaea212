#include "model/BackupTask.h"

namespace cadrels {

std::optional<BackupTask> BackupTaskIfDue(const Settings& settings, const BackupTime& time, bool force)
{
    if (settings.backupFolder.empty() || !BackupIsDue(settings, time.unixSeconds, force)) {
        return std::nullopt;
    }
    BackupTask task;
    task.settings = settings;
    task.folder = settings.backupFolder;
    task.keep = settings.backupKeep;
    task.time = time;
    task.announce = force;
    return task;
}

BackupReport RunBackupTask(const BackupTask& task)
{
    BackupReport report;
    report.time = task.time;
    report.announce = task.announce;
    report.write = WriteBackupAt(task.settings, task.folder, task.keep, task.time.local);
    report.listing = ListBackups(task.folder);
    return report;
}

bool RecordBackupReport(Settings& settings, const BackupReport& report)
{
    if (!report.backup || !report.write.Succeeded()) {
        return false;
    }
    settings.backupLast = static_cast<double>(report.time.unixSeconds);
    return true;
}

bool RecordCloudBackup(Settings& settings, std::int64_t unixSeconds, bool accepted)
{
    if (!accepted || !settings.backupFolder.empty()) {
        return false;
    }
    settings.backupLast = static_cast<double>(unixSeconds);
    return true;
}

}  // namespace cadrels
