#include "app/App.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "base/Failure.h"
#include "base/WindowProc.h"
#include "cadrel/CadrelPlacement.h"
#include "i18n/StringTable.h"
#include "model/ContainerMigration.h"
#include "model/DefaultCadrels.h"
#include "model/LayoutFile.h"
#include "model/NewId.h"
#include "model/Theme.h"

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
                                          TimerQuitAfterInstall};

}  // namespace

App::App()
    : deviceRecovery_(graphics_, DeviceRecovery::Callbacks{
                                     [this](UINT delayMs) { SetTimer(window_, TimerDeviceRetry, delayMs, nullptr); },
                                     [this] { RebuildCadrelGraphics(); },
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

    // Fails with ERROR_ACCESS_DENIED when the manifest already made the process
    // per-monitor aware, which is the normal case; the call covers launches
    // whose manifest was stripped.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    CreateAppWindow();
    CADRELS_CHECK(OleInitialize(nullptr));
    graphics_.Create();

    Initialize();

    tray_.Add(window_, WM_APP_TRAYICON, instance_, TrayTooltip(BrandName()));
    StartThemeWatcher();
    PostMessageW(window_, WM_APP_SORT_SOON, 0, 0);
    PostStartupRequests();

    MSG message{};
    RunMessageLoop(message);
    Shutdown();
    return static_cast<int>(message.wParam);
}

void App::CreateAppWindow()
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ForwardingWndProc<App>;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = AppWindowClass;
    // A second registration in the same process fails harmlessly.
    RegisterClassExW(&windowClass);

    window_ = CreateWindowExW(0, AppWindowClass, AppWindowTitle, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              instance_, this);
    if (window_ == nullptr) {
        throw std::runtime_error("Creation de la fenetre-message impossible");
    }
    // Broadcasts never reach a message-only window; this one hears them for it.
    broadcasts_.Create(instance_, BroadcastHandlers{
                                      [this] { OnTaskbarCreated(); },
                                      [this](const wchar_t* area) { OnSettingChange(area); },
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
    if (settings_.workspaces.empty()) {
        Workspace page;
        page.id = NewId();
        page.name = Tr(4);
        settings_.workspaces.push_back(std::move(page));
        settings_.activeWorkspace = 0;
    }

    SetUiLanguage(settings_.language);
    ApplyTheme(settings_.theme);
    SetAccent(settings_.accent);
    SetCadrelBackground(settings_.cadrelBg);

    if (!firstRun_) {
        MigrateContainers(settings_);
        if (ClaimContainers(settings_)) {
            SaveLayout(settings_);
        }
    }

    Workspace& page = settings_.workspaces[static_cast<size_t>(settings_.activeWorkspace)];
    if (page.cadrels.empty() && firstRun_) {
        CreateDefaultCadrels(page, monitors_, displayKey_);
    }
    if (page.cadrels.empty()) {
        AddEmptyCadrel(page, displayKey_, CascadePlacement(monitors_, cascadeCount_++));
    }
    std::map<std::string, CadrelGeom>& geometries = page.layouts[displayKey_];
    for (const CadrelRecord& record : page.cadrels) {
        if (geometries.find(record.id) == geometries.end()) {
            geometries[record.id] = CascadePlacement(monitors_, cascadeCount_++);
        }
    }
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
    if (!options_.sendToList.empty()) {
        PostMessageW(window_, WM_APP_SEND_TO_LIST, 0,
                     reinterpret_cast<LPARAM>(new std::wstring(options_.sendToList)));
    }
    if (!options_.sendToPath.empty()) {
        QueueSendToPath(options_.sendToPath);
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
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void App::Save()
{
    savePending_ = false;
    CopyCadrelGeometry();
    SaveLayout(settings_);
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
    Save();

    if (stopEvent_) {
        SetEvent(stopEvent_.Get());
    }
    themeWatcher_.Join();
    stopEvent_.Reset();

    // All of them, not just the hosting one: a pending sort or send-to batch
    // must not run after the final save or hold up the exit with a menu.
    KillApplicationTimers();

    // Messages posted during teardown are handled before the windows go.
    for (int pass = 0; pass < 15; ++pass) {
        MSG pending{};
        while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&pending);
            DispatchMessageW(&pending);
        }
        Sleep(10);
    }

    DestroyAllCadrels();
    tornTabs_.TakeAll();
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
