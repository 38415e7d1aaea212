#include "app/App.h"

#include "app/ShellVerbs.h"
#include "base/Activity.h"
#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "base/Failure.h"
#include "base/WindowClass.h"
#include "cadrel/CadrelPlacement.h"
#include "fileops/FileMoves.h"
#include "i18n/StringTable.h"
#include "i18n/SystemLanguage.h"
#include "i18n/TextEncoding.h"
#include "model/ContainerMigration.h"
#include "model/DefaultCadrels.h"
#include "model/FolderMover.h"
#include "model/LayoutFile.h"
#include "model/NewId.h"
#include "model/Theme.h"
#include "online/ServiceRequest.h"
#include "online/UpdateService.h"

#include <ole2.h>

#include <stdexcept>
#include <system_error>

namespace cadrels {
namespace {

App* currentApp = nullptr;

DWORD MillisecondsSinceProcessStart()
{
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        return 0;
    }
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG start = (ULONGLONG{created.dwHighDateTime} << 32) | created.dwLowDateTime;
    const ULONGLONG current = (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    return current > start ? static_cast<DWORD>((current - start) / 10000) : 0;
}

// Every timer of the application window (the hotkey ids are not timers).
constexpr UINT_PTR ApplicationTimers[] = {TimerDeviceRetry, TimerDisplayReconfigure, TimerSort, TimerSendToBatch,
                                          TimerUpdateCheck, TimerHostTracking,       TimerHostReanchor,
                                          TimerQuitAfterInstall, TimerHostWatch,     TimerSaveRetry};

// 2 s after the first failure, doubling to one minute.
UINT SaveRetryDelayMs(int failures)
{
    constexpr UINT first = 2000;
    constexpr UINT longest = 60000;
    UINT delay = first;
    for (int i = 1; i < failures && delay < longest; ++i) {
        delay *= 2;
    }
    return delay < longest ? delay : longest;
}

}  // namespace

App::App()
    : deviceRecovery_(graphics_, DeviceRecovery::Callbacks{
                                     [this](UINT delayMs) { SetTimer(window_, TimerDeviceRetry, delayMs, nullptr); },
                                     [this] {
                                         OnGraphicsRecreated();
                                         cadrels_.RebuildGraphics();
                                         if (dock_) {
                                             dock_->RebuildGraphics();
                                         }
                                     },
                                 }),
      sendTo_([this](const std::vector<std::wstring>& paths, POINT cursor) { FileSentPaths(paths, cursor); },
              operation_),
      hosting_(operation_, WindowHosting::Page{
                               cadrels_,
                               [this](HWND cadrelWindow) { SyncTabsFromCadrel(cadrelWindow); },
                           })
{
}

App::~App() = default;

App* App::Current()
{
    return currentApp;
}

int App::Run(HINSTANCE instance)
{
    instance_ = instance;
    currentApp = this;
    // Cleared on every way out, exceptions included: hooks must never see a dead App.
    struct ClearCurrent {
        ~ClearCurrent() { currentApp = nullptr; }
    } clearCurrent;

    options_ = ParseCommandLine(GetCommandLineW());

    if (!EnsureSingleInstance()) {
        if (!options_.HasWindowOption()) {
            DebugLog(L"Une instance de Cadrels est deja en cours. Arret.");
        }
        return 0;
    }
    DebugLog(L"Cadrels %hs demarre.", RunningVersionText());

    // Fails with ERROR_ACCESS_DENIED when the manifest already made the process
    // per-monitor aware, which is the normal case; the call covers launches
    // whose manifest was stripped.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    CreateAppWindow();
    sendTo_.SetWindow(window_);
    scheduleWindow_.SetWindow(window_);
    CADRELS_CHECK(OleInitialize(nullptr));
    graphics_.Create();
    CreateIconCache();

    Initialize();
    // After the layout is loaded: registering before would give the
    // defaults to actions the user has rebound or cleared.
    RegisterHotkeys();
    hosting_.InstallWindowEventHooks();
    desktopHooks_.Start(window_);
    ApplyPolicyCadrelOverrides();
    SyncDock();

    tray_.Add(window_, WM_APP_TRAYICON, instance_, TrayTooltip(BrandName()));
    WriteShellVerbs();
    StartThemeWatcher();
    StartFolderWatcher();
    PostMessageW(window_, WM_APP_SORT_SOON, 0, 0);
    PostStartupRequests();
    StartUpdates();

    MSG message{};
    RunMessageLoop(message);
    Shutdown();
    return static_cast<int>(message.wParam);
}

void App::CreateAppWindow()
{
    reportActivityMessage_ = RegisterWindowMessageW(ReportActivityMessageName);
    const HINSTANCE module = RegisterWindowClass({AppWindowClass}, ForwardingWndProc<App>, instance_);
    window_ = module == nullptr ? nullptr
                                : CreateWindowExW(0, AppWindowClass, AppWindowTitle, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                  nullptr, module, this);
    if (window_ == nullptr) {
        throw std::runtime_error("Creation de la fenetre-message impossible");
    }
    // Broadcasts never reach a message-only window; this one hears them for it.
    broadcasts_.Create(instance_, BroadcastHandlers{
                                      [this] { OnTaskbarCreated(); },
                                      [this](UINT action, const wchar_t* area) { OnSettingChange(action, area); },
                                      [this] { PostMessageW(window_, WM_APP_DISPLAY_CHANGED, 0, 0); },
                                  });
}

void App::StartThemeWatcher()
{
    if (!stopEvent_) {
        stopEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!stopEvent_) {
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                    "Creation de l'evenement d'arret impossible");
        }
    }
    // std::thread throws std::system_error when the thread cannot start.
    themeWatcher_.Start(window_, stopEvent_.Get());
}

void App::Initialize()
{
    monitors_ = EnumerateMonitors();
    displayKey_ = DisplayKey(monitors_);

    firstRun_ = !LoadLayout(settings_);
    if (firstRun_) {
        // A first start speaks the language of Windows when it is one of
        // ours; a stored language, or the policy's, always wins.
        const std::string locale = SystemUiLocaleName();
        const int language = LanguageIndexForLocale(locale);
        if (language >= 0) {
            settings_.language = language;
        }
        DebugLog(L"Premier demarrage : langue de Windows %ls, langue choisie %ls.",
                 locale.empty() ? L"inconnue" : Utf8ToWide(locale).c_str(),
                 Utf8ToWide(LanguageCode(settings_.language)).c_str());
    }

    SetUiLanguage(settings_.language);
    ApplyTheme(settings_.theme);
    SetAccent(settings_.accent);
    SetCadrelBackground(settings_.cadrelBg);

    ApplyPolicyOverrides();

    // Named once the language is settled.
    if (settings_.workspaces.empty()) {
        Workspace page;
        page.id = NewId();
        page.name = Tr(TextId::Desktop);
        settings_.workspaces.push_back(std::move(page));
        settings_.activeWorkspace = 0;
    }

    SetFolderMover(MoveFolderThroughEngine);
    if (!firstRun_) {
        MigrateContainers(settings_);
        if (ClaimContainers(settings_)) {
            SaveLayout(settings_);
        }
    }

    MergePolicyCadrels();

    Workspace& page = settings_.workspaces[static_cast<size_t>(settings_.activeWorkspace)];
    if (page.cadrels.empty() && firstRun_) {
        CreateDefaultCadrels(page, monitors_, displayKey_);
    }
    if (page.cadrels.empty()) {
        AddEmptyCadrel(page, displayKey_, cadrels_.NextCascade(monitors_));
    }
    PlaceCadrelsWithoutGeometry(page);
    hosting_.Open(window_);
    BuildPageCadrels(true);

    Save();
    if (firstRun_) {
        PostMessageW(window_, WM_APP_WELCOME, 0, 0);
    }
}

void App::PostStartupRequests()
{
    if (options_.menu) {
        PostMessageW(window_, WM_APP_SHOW_MENU, 0, 0);
    }
    if (options_.settings) {
        PostMessageW(window_, WM_APP_SHOW_SETTINGS, 0, 0);
    }
    if (options_.search) {
        PostMessageW(window_, WM_APP_FILE_SEARCH, 0, 0);
    }
    if (options_.backup) {
        PostMessageW(window_, WM_APP_BACKUP_NOW, 0, 0);
    }
    if (!options_.sendToList.empty()) {
        sendTo_.PostList(options_.sendToList);
    }
    if (!options_.sendToPath.empty()) {
        sendTo_.QueuePath(options_.sendToPath);
    }
}

void App::RunMessageLoop(MSG& message)
{
    DebugLog(L"Boucle de messages en marche (%lu ms apres le lancement).", MillisecondsSinceProcessStart());
    BOOL result;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (result == -1) {
            message.wParam = 0;
            break;
        }
        NoteRetrievedMessage(message.message);
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void App::CopyLiveGeometry()
{
    // While the display is being reconfigured the windows may be in transit.
    if (!schedule_.DisplayInTransit() && !settings_.workspaces.empty()) {
        cadrels_.CopyGeometry(monitors_, ActivePage().layouts[displayKey_]);
    }
}

void App::Save()
{
    schedule_.SaveStarted();
    CopyLiveGeometry();
    if (!schedule_.DisplayInTransit()) {
        NoteDisplayUsed(settings_.recentDisplays, displayKey_);
    }
    if (SaveLayout(settings_)) {
        if (saveFailures_ > 0) {
            KillTimer(window_, TimerSaveRetry);
            DebugLog(L"Disposition enregistree apres %d echec(s).", saveFailures_);
            saveFailures_ = 0;
        }
        // Not at shutdown: the process ends before a worker could finish,
        // and a backup cut short leaves only a temporary file.
        if (!shuttingDown_) {
            BackupIfDue(false);
        }
        return;
    }
    ++saveFailures_;
    if (shuttingDown_) {
        DebugLog(L"Sauvegarde de la disposition ECHOUEE a la fermeture ; l'ancienne reste en place.");
        return;
    }
    const UINT delay = SaveRetryDelayMs(saveFailures_);
    DebugLog(L"Sauvegarde de la disposition ECHOUEE (%d fois) ; l'ancienne reste en place, nouvel essai dans %u ms.",
             saveFailures_, delay);
    SetTimer(window_, TimerSaveRetry, delay, nullptr);
}

void App::KillApplicationTimers()
{
    for (UINT_PTR timer : ApplicationTimers) {
        KillTimer(window_, timer);
    }
}

void App::Shutdown()
{
    // From here on, nothing may start a menu, a prompt or a file operation.
    shuttingDown_ = true;
    hosting_.BeginShutdown();
    sendTo_.BeginShutdown();
    FinishFiling();
    Save();
    // A check or download still running finishes on its own thread and then
    // drops its result: nothing may post to the window or start an installer
    // from here on.
    CloseUpdateService();

    if (stopEvent_) {
        SetEvent(stopEvent_.Get());
    }
    themeWatcher_.Join();
    stopEvent_.Reset();
    StopFolderWatcher();
    // Joined before the window and COM go: no worker may post or extract
    // after this.
    StopIconCache();

    desktopHooks_.Stop();
    hosting_.RemoveWindowEventHooks();
    // All of them, not just the hosting one: a pending sort or send-to batch
    // must not run after the final save or hold up the exit with a menu.
    KillApplicationTimers();
    UnregisterHotkeys();
    // The applications stay running, minimized, where they were before.
    hosting_.ReleaseHostedWindowsAtExit();

    // Messages posted during teardown are handled before the windows go.
    for (int pass = 0; pass < 15; ++pass) {
        MSG pending{};
        while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&pending);
            DispatchMessageW(&pending);
        }
        Sleep(10);
    }

    // Its reader is joined before COM goes.
    quickLook_.reset();
    DestroyDock();
    DestroyAllCadrels();
    cadrels_.TornTabs().TakeAll();
    tray_.Remove();
    broadcasts_.Destroy();
    if (window_ != nullptr) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
    OleUninitialize();
    if (singleInstanceMutex_) {
        ReleaseMutex(singleInstanceMutex_.Get());
        singleInstanceMutex_.Reset();
    }
}

}  // namespace cadrels
