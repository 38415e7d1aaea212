// The single application object: owns the arrangement, the message-only
// application window and everything that lives for the whole process.
#pragma once

#include "app/BroadcastWindow.h"
#include "app/CommandLine.h"
#include "app/DesktopHooks.h"
#include "app/HostRequest.h"
#include "app/HotkeyBindings.h"
#include "app/PageCadrels.h"
#include "app/PageRequest.h"
#include "app/ScheduleWindow.h"
#include "app/SendToQueue.h"
#include "app/ThemeWatcher.h"
#include "app/TrayIcon.h"
#include "app/WindowHosting.h"
#include "base/Mailbox.h"
#include "base/UniqueHandle.h"
#include "cadrel/Cadrel.h"
#include "cadrel/QuickLook.h"
#include "dock/Dock.h"
#include "fileops/FolderSetWatcher.h"
#include "fileops/OperationState.h"
#include "fileops/UndoEntry.h"
#include "fileops/UndoManager.h"
#include "fileops/UndoMenuTexts.h"
#include "gfx/DeviceRecovery.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/IconCache.h"
#include "gfx/IconResult.h"
#include "model/BackupTask.h"
#include "model/MonitorInfo.h"
#include "model/Records.h"
#include "online/CloudBackup.h"
#include "policy/Policy.h"
#include "sorting/FilingJob.h"
#include "sorting/SortRules.h"
#include "sorting/UndoneFiles.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace cadrels {

class App : private CadrelHost {
public:
    App();
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // The process-wide instance while Run executes, else null.
    static App* Current();

    // Returns the exit code: the WM_QUIT code, or 0 when another instance runs.
    int Run(HINSTANCE instance);

    bool EnsureSingleInstance();
    void Initialize();
    void Save();

    // Pages and snapshots (AppPages.cpp, AppSnapshots.cpp). Those that
    // rebuild or remove cadrels are refused while an operation runs (a menu,
    // a prompt, a drag or a file move).
    void NewPage(const std::wstring& name);
    void RenamePage(int index, const std::wstring& name);
    void DeletePage(int index);
    void SwitchPage(int index);
    // Saves, then writes an automatic snapshot and keeps the ten newest.
    void TakeAutoSnapshot(const std::wstring& name);
    void TakeSnapshot(const std::wstring& name);
    // Replaces the whole arrangement and every preference with the file's and
    // rebuilds the windows; false, with nothing changed, when the file holds
    // no usable arrangement or an operation runs.
    bool RestoreFrom(const std::wstring& path);
    // Backups (AppBackups.cpp). BackupIfDue runs after every save (`force`
    // false) and for "Back up now"; it starts the local backup on a worker
    // and the cloud copy on another and returns whether one started. The
    // results arrive as WM_APP_BACKUP_DONE and WM_APP_CLOUD_BACKUP_DONE.
    bool BackupIfDue(bool force);
    // Where the live cadrels stand, into the active page's layout for this display.
    void CopyLiveGeometry();
    // "Back up now" with its messages.
    void BackUpNow();
    // Asks with the backup's name and date, then restores through RestoreFrom.
    bool RestoreBackup(const BackupEntry& entry);
    // Worker tasks on the backup folder; the list follows in Backups().
    void RefreshBackups();
    void RenameBackup(const std::wstring& path, const std::wstring& newName);
    void DeleteBackup(const std::wstring& path);
    // The backup folder as the last task found it, newest first.
    const std::vector<BackupEntry>& Backups() const { return backups_; }
    // How the last cloud upload ended, for the backup page.
    std::optional<CloudBackupOutcome> LastCloudBackup() const { return lastCloudBackup_; }
    // The safety snapshot taken when the user confirms closing a cadrel.
    void TakeSnapshotBeforeClosingCadrel();
    // `sortAfterwards` false leaves the next sorting pass to the next change
    // in a watched folder.
    void ReloadCadrels(bool sortAfterwards = true);
    void SetTheme(int mode);
    void SetLanguage(int index);
    void ShowWelcome();
    void SortNow();
    // Moves (or copies) paths into a folder of the cadrel, into the type or
    // month subfolder when the cadrel arranges itself (AppArrange.cpp).
    // Returns how many files arrived.
    int MoveIntoCadrelFolder(const Cadrel& cadrel, const std::vector<std::wstring>& paths, bool move,
                             const std::wstring& folder);
    // The "Sort now" of a cadrel that arranges itself by type or by month.
    void ArrangeNow(HWND cadrelWindow);
    // The PC information report in a message box, owned by `owner` if given.
    void ShowPcInfo(HWND owner = nullptr);

    // Cadrels of the active page (AppCadrels.cpp, AppCadrelCreation.cpp).
    bool CreateCadrelFromRecord(const CadrelRecord& record, const CadrelGeom& geometry, bool rollUnpinned);
    void NewEmptyCadrel();
    void NewFolderCadrel(int kind);
    void CreateCadrelForFolder(const std::wstring& title, const std::wstring& folder, bool atCursor);
    void NewShapePreset(int shape);
    void AddTabPreset(HWND cadrelWindow, int kind);
    void OnTabTornOff(std::unique_ptr<TornTab> tab);
    void MergeCadrels(Cadrel* source, Cadrel* target);
    void SyncRecordFromCadrel(HWND cadrelWindow);
    void SyncTabsFromCadrel(HWND cadrelWindow);
    // Closing a cadrel asks what becomes of its containers' content
    // (AppCadrelClosing.cpp); ignored while another close or an operation runs.
    void CloseCadrel(HWND cadrelWindow);
    // The cadrel menus' view of the application and their requests to it
    // (AppCadrelMenus.cpp).
    CadrelMenuFacts MenuFacts() const;
    // The administration policy may lock every cadrel in place.
    bool CadrelsLocked() const { return AreCadrelsLocked(); }

    // Shell icons and thumbnails for every window that shows files; null
    // before start-up made it and after shutdown stopped it.
    IconCache* Icons() { return iconCache_.get(); }

    // File moves and their undo (AppUndo.cpp). ExecuteMoves replays pairs:
    // `forward` false for undo (never replacing), true for redo (renaming on
    // collision). MoveFolderContents hands the moves that happened to
    // `recordedMoves` when given, also when the batch failed part-way.
    bool ExecuteMoves(const std::vector<MovePair>& pairs, bool forward);
    bool MoveFolderContents(const std::wstring& folder, const std::wstring& destination,
                            std::vector<MovePair>* recordedMoves);
    void PushUndo(UndoEntry entry);
    // Queues a finished batch for the undo stack from any thread or window.
    void PostMovesDone(UndoEntry entry);
    void Undo();
    // True (and the user told) when the next undo would put files back into
    // a container no cadrel shows any more.
    bool UndoWouldFillAFolderNobodyShows();
    void Redo();
    void RefreshUndoUi();
    const UndoMenuTexts& UndoUi() const { return undoUi_; }
    // While set, sorting waits, and undo, redo, page switches, reloads and
    // cadrel closes are refused or postponed: a file operation, a drag or a
    // prompt is pumping messages on this thread.
    bool OperationRunning() const override { return operation_.Running(); }

    // The application's folder watcher (AppFolderWatch.cpp).
    void StartFolderWatcher();
    void StopFolderWatcher();
    void AddWatchFolder(const std::wstring& path);
    void RemoveWatchFolder(int index);

    // Global shortcuts (AppHotkeys.cpp). RegisterHotkeys runs at start-up
    // and after every change; SetHotkey stores, saves and re-registers.
    void RegisterHotkeys();
    HotkeyBinding EffectiveHotkey(int action) const;
    void SetHotkey(int action, int modifiers, int virtualKey);
    std::wstring HotkeyTextForAction(int action) const;
    // Whether another program held the action's combination at the last
    // registration.
    bool IsHotkeyTaken(int action) const { return takenHotkeys_.IsTaken(action); }
    // Hides or shows every cadrel of the page; not saved.
    void ToggleHidden();
    // A double-click somewhere on the screen, from the desktop hooks, or the
    // desktop icon view's count of selected icons (AppDesktop.cpp).
    void OnDesktopDoubleClick(WPARAM kind, LPARAM value);

    // The dock (AppDock.cpp): exists exactly while showDock is on.
    void SyncDock();
    Dock* CurrentDock() const { return dock_.get(); }

    // Quick look (AppQuickLook.cpp): `window` a cadrel window or null for
    // the one under the cursor, `index` an item or -1 for the first selected.
    void ShowQuickLook(HWND window, int index);
    bool QuickLookOpen() const { return quickLook_ && quickLook_->IsOpen(); }

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // What every live cadrel asks of the application (AppCadrelMenus.cpp).
    bool PolicyLocksCadrels() const override;
    bool PolicyLocksZoom() const override;
    int DropIntoFolder(const Cadrel& target, const std::vector<std::wstring>& paths, bool move,
                       const std::wstring& folder) override;
    OperationState::Scope BeginOperation() override;
    void TabTornOff(std::unique_ptr<TornTab> tab) override;
    std::vector<RECT> NeighbourRects(const Cadrel& self) const override;
    HostedAppsStore* HostedApps() override;
    std::vector<HWND> HostedEverywhere() const override;
    CadrelMenuFacts FactsForMenus() const override;
    bool HostedElsewhere(HWND window) const override;
    void HostInActiveTab(Cadrel& cadrel, HWND window) override;
    void ReleaseFromActiveTab(Cadrel& cadrel) override;
    void ArrangeCadrelNow(HWND cadrelWindow) override;
    void RecordMoves(UndoEntry entry) override;
    IconCache* IconsForCadrels() override;

    void CreateAppWindow();
    void StartThemeWatcher();
    void PostStartupRequests();
    void RunMessageLoop(MSG& message);
    void Shutdown();
    void KillApplicationTimers();
    void UnregisterHotkeys();

    // Message handlers.
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    void OnTimer(UINT_PTR id);
    void OnTrayIcon(UINT mouseMessage);
    void OnHotkey(int id);
    void OnDisplayReconfigureTimer();
    void OnSettingChange(UINT action, const wchar_t* area);
    void OnSystemThemeChanged();
    void OnTaskbarCreated();
    void OnReportActivity();
    void OnIconReady();
    void OnIconsRefresh();
    void OnPageRequest();

    // The filing pass (AppSorting.cpp); FileFolder returns the files moved.
    // The filing pass's worker ended (AppSorting.cpp).
    void OnFilingDone();
    void FinishFiling();
    void RememberUndoneFiles(const UndoEntry& undone);
    // The send-to menu and the move of one batch (AppSendTo.cpp); sendTo_
    // hands the batches over one at a time.
    void FileSentPaths(const std::vector<std::wstring>& paths, POINT cursor);

    // Requests of the dock (AppDock.cpp).
    void OnDockChanged();
    void OnToggleLaunchpad();
    void OnShowSettingsRequest();
    void DestroyDock();

    // Icons (AppIcons.cpp).
    void CreateIconCache();
    void StopIconCache();
    void OnGraphicsRecreated();
    void OnMovesDone();

    // Gives every cadrel of the page without geometry for the current display
    // one: borrowed from another display configuration, else the cascade.
    void PlaceCadrelsWithoutGeometry(Workspace& page);

    bool StartCloudBackup(const BackupTime& now);
    void StartBackupFolderTask(std::function<void(const std::wstring& folder)> change);
    // The listed entry of a backup file, else the file's own.
    BackupEntry BackupEntryOf(const std::wstring& path) const;
    void OnBackupDone();
    void OnCloudBackupDone();
    void ShowBackupBox(const std::wstring& text, UINT icon);

    void StartUpdates();
    void OnUpdateCheckTimer();
    void OnUpdateStatus();
    void OnQuitAfterInstallTimer();
    // WM_CLOSE on the application window: another process (the installer,
    // before it replaces the program) asks this one to save and quit.
    void OnCloseRequest();

    void OnCloseCadrel(HWND cadrelWindow);
    void OnCadrelDragging(HWND cadrelWindow, LPARAM packedPoint);
    void OnCadrelDropped(HWND cadrelWindow, LPARAM packedPoint);

    Workspace& ActivePage();
    CadrelRecord* FindRecord(const std::string& id);
    void BuildPageCadrels(bool rollUnpinned);
    void DestroyAllCadrels();
    std::wstring PickFolder();

    void ShowTrayMenu();
    std::wstring BrandName() const;

    // The administrator's policy at start-up (AppPolicy.cpp).
    void ApplyPolicyOverrides();
    void MergePolicyCadrels();
    void ApplyPolicyCadrelOverrides();

    HINSTANCE instance_ = nullptr;
    GraphicsDevice graphics_;
    DeviceRecovery deviceRecovery_;
    HWND window_ = nullptr;
    UINT reportActivityMessage_ = 0;
    BroadcastWindow broadcasts_;
    TrayIcon tray_;
    UniqueHandle singleInstanceMutex_;
    CommandLineOptions options_;
    SendToQueue sendTo_;
    // Objects handed to the main thread wait here; the messages only signal.
    Mailbox<IconResult> iconResults_;
    // After the mailbox: destroyed first, its workers joined before the
    // mailbox they post into goes.
    std::unique_ptr<IconCache> iconCache_;

    Settings settings_;
    std::vector<MonitorInfo> monitors_;
    std::string displayKey_;

    // One queued save, one waiting sorting pass, one queued icon refresh
    // and one display reconfiguration at a time.
    ScheduleWindow scheduleWindow_;
    AppSchedule schedule_{scheduleWindow_};
    OperationState operation_;
    bool hidden_ = false;
    bool shuttingDown_ = false;
    // Failed layout saves in a row; the retry timer runs while it is not 0.
    int saveFailures_ = 0;
    bool firstRun_ = false;
    bool welcomeOpen_ = false;

    UndoManager undo_{operation_, CreateMoveEngine};
    // Files an undo put back; the filing pass leaves them there.
    UndoneFiles undoneFiles_;
    UndoMenuTexts undoUi_;
    Mailbox<UndoEntry> movesDone_;
    // The filing pass running on its worker, and the operation it holds.
    std::thread filingWorker_;
    std::optional<OperationState::Scope> filingScope_;
    std::shared_ptr<Mailbox<FilingOutcome>> filingOutcomes_ = std::make_shared<Mailbox<FilingOutcome>>();
    FolderSetWatcher folderWatcher_;

    TakenHotkeys takenHotkeys_;

    UniqueHandle stopEvent_;
    ThemeWatcher themeWatcher_;

    // The live cadrels of the active page.
    PageCadrels cadrels_;
    // Page and snapshot operations asked through WM_COPYDATA, waiting for
    // WM_APP_PAGE_REQUEST.
    Mailbox<PageRequest> pageRequests_;

    std::unique_ptr<Dock> dock_;
    // Made at the first preview, kept until shutdown; its window exists
    // only while a preview is open.
    std::unique_ptr<QuickLook> quickLook_;

    // Shared with the detached backup threads: one that ends after App
    // posts into a mailbox nobody reads, to a window that is gone.
    std::shared_ptr<Mailbox<BackupReport>> backupReports_ = std::make_shared<Mailbox<BackupReport>>();
    std::shared_ptr<Mailbox<CloudBackupReport>> cloudReports_ = std::make_shared<Mailbox<CloudBackupReport>>();
    bool backupRunning_ = false;
    bool cloudBackupRunning_ = false;
    bool cloudNoAccountLogged_ = false;
    std::vector<BackupEntry> backups_;
    std::optional<CloudBackupOutcome> lastCloudBackup_;

    // Other applications' windows hosted in the cadrels.
    WindowHosting hosting_;
    DesktopHooks desktopHooks_;
};

}  // namespace cadrels
