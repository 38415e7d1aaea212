// Backups of the arrangement: the check that rides on every save, "Back up
// now", the cloud copy, and restoring, renaming and deleting a listed backup.
// The backup folder may be a network share that does not answer, so every
// access to it runs on a worker with a copy of what it needs; the results
// come back through mailboxes, and the main thread never waits for the folder.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "i18n/StringTable.h"
#include "model/LayoutFile.h"
#include "model/SettingsJson.h"
#include "online/CloudBackup.h"

#include <system_error>
#include <thread>

namespace cadrels {
namespace {

// Starts `work` on a detached thread; false when no thread could be made.
template <typename Work>
bool StartDetached(Work work)
{
    try {
        std::thread(std::move(work)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

const wchar_t* OutcomeText(BackupWriteOutcome outcome)
{
    switch (outcome) {
    case BackupWriteOutcome::Written:
        return L"ecrite";
    case BackupWriteOutcome::Unchanged:
        return L"inutile (disposition inchangee)";
    case BackupWriteOutcome::NotReadBack:
        return L"ecrite mais illisible, rien supprime";
    case BackupWriteOutcome::Failed:
        break;
    }
    return L"ECHOUEE";
}

}  // namespace

bool App::BackupIfDue(bool force)
{
    const BackupTime now = BackupTimeNow();
    if (!BackupIsDue(settings_, now.unixSeconds, force)) {
        return false;
    }
    if (backupRunning_ || cloudBackupRunning_) {
        // A save while one runs waits for the next save: the running one
        // already holds nearly the same arrangement.
        if (force) {
            DebugLog(L"Sauvegarde : une sauvegarde est deja en cours.");
            ShowBackupBox(Tr(TextId::BackupRunning), MB_ICONINFORMATION);
        }
        return false;
    }
    bool started = false;
    if (std::optional<BackupTask> task = BackupTaskIfDue(settings_, now, force)) {
        const HWND window = window_;
        std::shared_ptr<Mailbox<BackupReport>> reports = backupReports_;
        backupRunning_ = StartDetached([window, reports, task = std::move(*task)] {
            reports->Post(window, WM_APP_BACKUP_DONE, std::make_unique<BackupReport>(RunBackupTask(task)));
        });
        if (!backupRunning_) {
            DebugLog(L"Sauvegarde : tache impossible a lancer.");
        }
        started = backupRunning_;
    }
    if (settings_.backupCloud) {
        started = StartCloudBackup(now) || started;
    }
    if (!started && force && !settings_.backupFolder.empty()) {
        ShowBackupBox(Tr(TextId::BackupFailed), MB_ICONWARNING);
    }
    return started;
}

bool App::StartCloudBackup(const BackupTime& now)
{
    const std::wstring stamp = BackupTimeText(now.local);
    const std::string data = SerializeJson(SettingsToJson(settings_), 2);
    auto report = std::make_unique<CloudBackupReport>();
    report->unixSeconds = now.unixSeconds;
    const HWND window = window_;
    std::shared_ptr<Mailbox<CloudBackupReport>> reports = cloudReports_;
    cloudBackupRunning_ = StartDetached([window, reports, stamp, data, report = std::move(report)]() mutable {
        // Read here rather than on the main thread: it is a file.
        const OnlineAccount account = LoadOnlineAccount();
        if (!account.Complete()) {
            report->outcome = CloudBackupOutcome::NoAccount;
        } else if (UploadCloudBackup(account.code, account.machineId, stamp, stamp, data)) {
            report->outcome = CloudBackupOutcome::Accepted;
        } else {
            report->outcome = CloudBackupOutcome::Refused;
        }
        reports->Post(window, WM_APP_CLOUD_BACKUP_DONE, std::move(report));
    });
    return cloudBackupRunning_;
}

void App::OnBackupDone()
{
    const std::unique_ptr<BackupReport> report = backupReports_->Take();
    if (!report) {
        return;
    }
    backupRunning_ = false;
    backups_ = report->listing;
    if (!report->backup) {
        DebugLog(L"Sauvegardes : %u dans le dossier.", static_cast<unsigned>(backups_.size()));
        return;
    }
    DebugLog(L"Sauvegarde %ls : %ls (%d ancienne(s) supprimee(s), %u dans le dossier).",
             OutcomeText(report->write.outcome), report->write.path.c_str(), report->write.pruned,
             static_cast<unsigned>(backups_.size()));
    if (RecordBackupReport(settings_, *report)) {
        // Not Save: that would run the backup check again.
        SaveLayout(settings_);
    }
    if (!report->announce) {
        return;
    }
    switch (report->write.outcome) {
    case BackupWriteOutcome::Written:
        ShowBackupBox(Tr(TextId::BackupCompleted), MB_ICONINFORMATION);
        break;
    case BackupWriteOutcome::Unchanged:
        ShowBackupBox(std::wstring(Tr(TextId::BackupCompleted)) + L"\n\n" + Tr(TextId::BackupUnchanged), MB_ICONINFORMATION);
        break;
    case BackupWriteOutcome::NotReadBack:
        ShowBackupBox(std::wstring(Tr(TextId::BackupFailed)) + L"\n\n" + Tr(TextId::BackupNotReadBack), MB_ICONWARNING);
        break;
    case BackupWriteOutcome::Failed:
        ShowBackupBox(Tr(TextId::BackupFailed), MB_ICONWARNING);
        break;
    }
}

void App::OnCloudBackupDone()
{
    const std::unique_ptr<CloudBackupReport> report = cloudReports_->Take();
    if (!report) {
        return;
    }
    cloudBackupRunning_ = false;
    lastCloudBackup_ = report->outcome;
    switch (report->outcome) {
    case CloudBackupOutcome::Accepted:
        DebugLog(L"Sauvegarde cloud acceptee par le service.");
        break;
    case CloudBackupOutcome::NoAccount:
        if (!cloudNoAccountLogged_) {
            DebugLog(L"Sauvegarde cloud : aucun compte en ligne (code ou identifiant vide), rien n'est envoye.");
            cloudNoAccountLogged_ = true;
        }
        break;
    case CloudBackupOutcome::Refused:
        DebugLog(L"Sauvegarde cloud non faite ; la sauvegarde locale n'est pas touchee.");
        break;
    }
    if (RecordCloudBackup(settings_, report->unixSeconds, report->outcome == CloudBackupOutcome::Accepted)) {
        SaveLayout(settings_);
    }
}

void App::BackUpNow()
{
    if (settings_.backupFolder.empty()) {
        ShowBackupBox(Tr(TextId::ChooseDestinationFirst), MB_ICONINFORMATION);
        return;
    }
    // A save has not necessarily just copied where the cadrels stand.
    CopyLiveGeometry();
    BackupIfDue(true);
}

void App::ShowBackupBox(const std::wstring& text, UINT icon)
{
    if (shuttingDown_) {
        return;
    }
    DebugLog(L"Sauvegarde, message : %ls", text.c_str());
    // Requests that pile up while a box is open (a key held down, another
    // program posting) add no boxes on top of it.
    if (operation_.Running()) {
        DebugLog(L"Sauvegarde : une autre question est ouverte, pas de message en plus.");
        return;
    }
    const OperationState::Scope showing = operation_.Begin();
    MessageBoxW(nullptr, text.c_str(), Tr(TextId::Backup), MB_OK | icon | MB_SETFOREGROUND);
}

bool App::RestoreBackup(const BackupEntry& entry)
{
    const std::wstring created = entry.created.empty() ? std::wstring(L"?") : entry.created;
    const std::wstring text =
        TrFormat(TextId::BackupRestoreWhich, entry.name.c_str(), created.c_str()) + L"\n\n" +
        Tr(TextId::RestoreBackupQuestion);
    int answer = IDNO;
    {
        const OperationState::Scope asking = operation_.Begin();
        answer = MessageBoxW(nullptr, text.c_str(), Tr(TextId::Backup),
                             MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2 | MB_SETFOREGROUND);
    }
    if (answer != IDYES) {
        return false;
    }
    // The rules and watched folders of the backup wait for the user's
    // agreement there, as for any file from elsewhere.
    return RestoreFrom(entry.path);
}

BackupEntry App::BackupEntryOf(const std::wstring& path) const
{
    for (const BackupEntry& entry : backups_) {
        if (entry.path == path) {
            return entry;
        }
    }
    return ReadBackupEntry(path);
}

void App::RefreshBackups()
{
    StartBackupFolderTask([](const std::wstring&) {});
}

void App::RenameBackup(const std::wstring& path, const std::wstring& newName)
{
    StartBackupFolderTask([path, newName](const std::wstring&) {
        if (!RenameBackupFile(path, newName)) {
            DebugLog(L"Sauvegarde non renommee : %ls", path.c_str());
        }
    });
}

void App::DeleteBackup(const std::wstring& path)
{
    StartBackupFolderTask([path](const std::wstring&) {
        if (!DeleteBackupFile(path)) {
            DebugLog(L"Sauvegarde non supprimee (%lu) : %ls", GetLastError(), path.c_str());
        }
    });
}

void App::StartBackupFolderTask(std::function<void(const std::wstring& folder)> change)
{
    if (settings_.backupFolder.empty() || backupRunning_) {
        return;
    }
    const HWND window = window_;
    const std::wstring folder = settings_.backupFolder;
    std::shared_ptr<Mailbox<BackupReport>> reports = backupReports_;
    backupRunning_ = StartDetached([window, reports, folder, change = std::move(change)] {
        change(folder);
        auto report = std::make_unique<BackupReport>();
        report->backup = false;
        report->listing = ListBackups(folder);
        reports->Post(window, WM_APP_BACKUP_DONE, std::move(report));
    });
}

}  // namespace cadrels
