// The real installer (Cadrels-Setup-<version>.exe, made by makensis) run the
// way users, package managers and the update service run it, checked by what
// it leaves on disk and in the registry: a silent install, an upgrade from an
// older build over a running Cadrels, the update service's download and
// launch of it from the local HTTPS service, and a silent uninstall.
#include "MessageWindow.h"
#include "CadrelsProcess.h"
#include "LocalService.h"
#include "Patience.h"
#include "PointerInput.h"
#include "TestFiles.h"

#include "app/ShellEntries.h"
#include "base/AppMessages.h"
#include "base/HexDigit.h"
#include "base/Sha256.h"
#include "base/UniqueHandle.h"
#include "model/LayoutFile.h"
#include "model/MonitorInfo.h"
#include "online/UpdateService.h"
#include "online/UpdateVersion.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace cadrels::testing {
namespace {

constexpr wchar_t UninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Cadrels";
// What the running program writes for itself and the uninstaller must remove.
constexpr const wchar_t* ShellVerbKeys[] = {
    L"Software\\Classes\\DesktopBackground\\Shell\\Cadrels",
    L"Software\\Classes\\DesktopBackground\\Shell\\CadrelsSearch",
    L"Software\\Classes\\*\\shell\\CadrelsSendTo",
    L"Software\\Classes\\Directory\\shell\\CadrelsSendTo",
};
constexpr DWORD InstallerTimeoutMs = 120000;

std::wstring Variable(const wchar_t* name)
{
    wchar_t value[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    return length > 0 && length < MAX_PATH * 2 ? std::wstring(value) : std::wstring();
}

// A host path (the test runner's variables) as Wine sees it, on drive Z:.
std::wstring WindowsPath(std::wstring path)
{
    if (!path.empty() && path.front() == L'/') {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        path = L"Z:" + path;
    }
    return path;
}

std::wstring InstallFolder()
{
    const std::wstring programs = KnownFolderPath(FOLDERID_UserProgramFiles);
    return (programs.empty() ? KnownFolderPath(FOLDERID_LocalAppData) + L"\\Programs" : programs) + L"\\Cadrels";
}

std::wstring ShortcutPath()
{
    return KnownFolderPath(FOLDERID_Programs) + L"\\Cadrels.lnk";
}

bool KeyExists(const wchar_t* path)
{
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) {
        key.Reset();
        return false;
    }
    return true;
}

std::optional<std::wstring> ReadString(const wchar_t* path, const wchar_t* name)
{
    wchar_t data[1024] = {};
    DWORD bytes = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(data);
}

std::optional<DWORD> ReadDword(const wchar_t* path, const wchar_t* name)
{
    DWORD data = 0;
    DWORD bytes = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_REG_DWORD, nullptr, &data, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return data;
}

// Starts a command line and waits for its process; its exit code, or nothing
// when it could not start or did not end in time.
std::optional<DWORD> RunAndWait(std::wstring commandLine, DWORD timeoutMs = InstallerTimeoutMs)
{
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        return std::nullopt;
    }
    const UniqueHandle process(info.hProcess);
    const UniqueHandle thread(info.hThread);
    if (WaitForSingleObject(process.Get(), Patient(timeoutMs)) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    return code;
}

std::optional<DWORD> RunInstaller(const std::wstring& installer, const std::wstring& switches)
{
    return RunAndWait(L"\"" + installer + L"\" " + switches);
}

// "major.minor.patch" from the file's version resource.
std::wstring FileVersion(const std::wstring& path)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) {
        return {};
    }
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr) {
        return {};
    }
    return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L'.' + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) +
           L'.' + std::to_wstring(HIWORD(fixed->dwFileVersionLS));
}

std::wstring ShortcutTarget(const std::wstring& link)
{
    Microsoft::WRL::ComPtr<IShellLinkW> shellLink;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    wchar_t target[MAX_PATH] = {};
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(shellLink.ReleaseAndGetAddressOf()))) ||
        FAILED(shellLink.As(&file)) || FAILED(file->Load(link.c_str(), STGM_READ)) ||
        FAILED(shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) {
        return {};
    }
    return target;
}

// The Cadrels that owns the application window now, wherever it was started.
DWORD RunningCadrelsProcessId()
{
    const HWND window = FindWindowExW(HWND_MESSAGE, nullptr, AppWindowClass, nullptr);
    DWORD processId = 0;
    if (window != nullptr) {
        GetWindowThreadProcessId(window, &processId);
    }
    return processId;
}

std::wstring ProcessImagePath(DWORD processId)
{
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!process || !QueryFullProcessImageNameW(process.Get(), 0, path, &length)) {
        return {};
    }
    return std::wstring(path, length);
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Asks a Cadrels that this test did not start to save and quit, as the
// installer does, and waits for its process to end.
bool CloseCadrelsStartedElsewhere(DWORD processId)
{
    const UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    const HWND window = FindWindowExW(HWND_MESSAGE, nullptr, AppWindowClass, nullptr);
    if (!process || window == nullptr) {
        return false;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForSingleObject(process.Get(), Patient(20000)) == WAIT_OBJECT_0;
}

CadrelRecord PinnedRecord(const std::string& id, const std::wstring& title)
{
    CadrelRecord record;
    record.id = id;
    record.pinned = true;
    CadrelTab tab;
    tab.title = title;
    tab.folder = L"C:\\windows";
    record.tabs.push_back(tab);
    return record;
}

struct CadrelSummary {
    std::string page;
    std::wstring pageName;
    std::string id;
    std::wstring title;
    CadrelGeom geometry;
};

// What the user arranged, page by page: enough to see that nothing of it was
// lost or reset, without depending on how the program orders its keys.
std::vector<CadrelSummary> Arrangement(const Settings& settings, const std::string& displayKey)
{
    std::vector<CadrelSummary> summary;
    for (const Workspace& page : settings.workspaces) {
        for (const CadrelRecord& cadrel : page.cadrels) {
            CadrelSummary item{page.id, page.name, cadrel.id, cadrel.tabs.empty() ? L"" : cadrel.tabs[0].title, {}};
            const auto layout = page.layouts.find(displayKey);
            if (layout != page.layouts.end()) {
                const auto geometry = layout->second.find(cadrel.id);
                if (geometry != layout->second.end()) {
                    item.geometry = geometry->second;
                }
            }
            summary.push_back(item);
        }
    }
    return summary;
}

// The update service posts its status to a message-only window.
constexpr UINT StatusMessage = WM_APP + 31;

class Installer : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override
    {
        setup_ = WindowsPath(Variable(L"CADRELS_SETUP"));
        version_ = Variable(L"CADRELS_SETUP_VERSION");
        previousSetup_ = WindowsPath(Variable(L"CADRELS_SETUP_PREVIOUS"));
        previousVersion_ = Variable(L"CADRELS_SETUP_PREVIOUS_VERSION");
        ASSERT_TRUE(FileExists(setup_)) << "no installer at CADRELS_SETUP";
        ASSERT_FALSE(version_.empty());
        folder_ = InstallFolder();
        exe_ = folder_ + L"\\Cadrels.exe";
        uninstaller_ = folder_ + L"\\Uninstall.exe";
        appData_ = AppDataFolder();
        ASSERT_TRUE(RemoveTree(appData_));
        ASSERT_TRUE(RemoveTree(ContainerRootFolder()));
        RemoveInstall();
        ASSERT_FALSE(KeyExists(UninstallKey));
        ASSERT_FALSE(FileExists(exe_));
    }

    void TearDown() override
    {
        app_.EndTest(HasFailure());
        if (const DWORD other = RunningCadrelsProcessId()) {
            CloseCadrelsStartedElsewhere(other);
        }
        // Nothing of an install may outlive the test: the catalogue tests
        // list the Start-menu shortcuts, and the Run value starts programs.
        RemoveInstall();
        RemoveTree(appData_);
        RemoveTree(ContainerRootFolder());
    }

    // Whatever an earlier run left, by hand: this must work even when the
    // uninstaller under test does not.
    void RemoveInstall() const
    {
        RemoveTree(folder_);
        DeleteFileW(ShortcutPath().c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, UninstallKey);
        for (const wchar_t* key : ShellVerbKeys) {
            RegDeleteTreeW(HKEY_CURRENT_USER, key);
        }
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName);
    }

    // Starts the installed program under the debug API.
    void StartInstalled()
    {
        ASSERT_TRUE(SetEnvironmentVariableW(L"CADRELS_EXE", exe_.c_str()));
        ASSERT_TRUE(app_.Start());
        SetEnvironmentVariableW(L"CADRELS_EXE", nullptr);
        ASSERT_TRUE(app_.WaitUntilReady());
    }

    void ExpectEntryFor(const std::wstring& version) const
    {
        const std::wstring quotedUninstaller = L"\"" + uninstaller_ + L"\"";
        EXPECT_EQ(ReadString(UninstallKey, L"DisplayName"), L"Cadrels");
        EXPECT_EQ(ReadString(UninstallKey, L"DisplayVersion"), version);
        EXPECT_EQ(ReadString(UninstallKey, L"Publisher"), L"Tarvel");
        EXPECT_EQ(ReadString(UninstallKey, L"DisplayIcon"), exe_ + L",0");
        EXPECT_EQ(ReadString(UninstallKey, L"InstallLocation"), folder_);
        EXPECT_EQ(ReadString(UninstallKey, L"UninstallString"), quotedUninstaller);
        EXPECT_EQ(ReadString(UninstallKey, L"QuietUninstallString"), quotedUninstaller + L" /S");
        EXPECT_EQ(ReadDword(UninstallKey, L"NoModify"), std::optional<DWORD>(1));
        EXPECT_EQ(ReadDword(UninstallKey, L"NoRepair"), std::optional<DWORD>(1));
        // In KiB, the program and the uninstaller together.
        WIN32_FILE_ATTRIBUTE_DATA program{};
        ASSERT_TRUE(GetFileAttributesExW(exe_.c_str(), GetFileExInfoStandard, &program));
        const std::optional<DWORD> size = ReadDword(UninstallKey, L"EstimatedSize");
        ASSERT_TRUE(size.has_value());
        EXPECT_GE(*size, program.nFileSizeLow / 1024);
        EXPECT_LT(*size, program.nFileSizeLow / 1024 + 4096);
    }

    // The values as the registry holds them, for the test log.
    void PrintEntry() const
    {
        for (const wchar_t* name : {L"DisplayName", L"DisplayVersion", L"Publisher", L"DisplayIcon",
                                    L"InstallLocation", L"UninstallString", L"QuietUninstallString"}) {
            std::printf("  %ls = %ls\n", name, ReadString(UninstallKey, name).value_or(L"(absent)").c_str());
        }
        for (const wchar_t* name : {L"EstimatedSize", L"NoModify", L"NoRepair"}) {
            const std::optional<DWORD> value = ReadDword(UninstallKey, name);
            std::printf("  %ls = %s\n", name, value ? std::to_string(*value).c_str() : "(absent)");
        }
    }

    std::wstring setup_, version_, previousSetup_, previousVersion_;
    std::wstring folder_, exe_, uninstaller_, appData_;
    CadrelsProcess app_;
};

TEST_F(Installer, SilentInstallWritesProgramShortcutAndUninstallEntry)
{
    ASSERT_EQ(RunInstaller(setup_, L"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART"), std::optional<DWORD>(0));

    EXPECT_TRUE(FileExists(exe_));
    EXPECT_TRUE(FileExists(uninstaller_));
    EXPECT_EQ(FileVersion(exe_), version_);
    EXPECT_TRUE(SamePath(ShortcutTarget(ShortcutPath()), exe_)) << ShortcutTarget(ShortcutPath());
    ExpectEntryFor(version_);
    PrintEntry();
    // Installing touches nothing of the user's arrangement, nor starts the program.
    EXPECT_FALSE(FolderExists(appData_));
    EXPECT_EQ(RunningCadrelsProcessId(), 0u);
}

TEST_F(Installer, ProgressOnlyInstallAsksNothing)
{
    // Only the progress page shows, and it closes by itself.
    ASSERT_EQ(RunInstaller(setup_, L"/SILENT /SUPPRESSMSGBOXES /NORESTART"), std::optional<DWORD>(0));
    EXPECT_EQ(FileVersion(exe_), version_);
    EXPECT_EQ(ReadString(UninstallKey, L"DisplayVersion"), version_);
}

// A Cadrels that never answers: the installer waits its limit, then stops
// without writing anything, and leaves the program alone.
TEST_F(Installer, InstallStopsWhenRunningCadrelsDoesNotQuit)
{
    WNDCLASSEXW windowClass{sizeof windowClass};
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        return message == WM_CLOSE ? 0 : DefWindowProcW(window, message, wParam, lParam);
    };
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = AppWindowClass;
    ASSERT_NE(RegisterClassExW(&windowClass), 0);
    const HWND stubborn = CreateWindowExW(0, AppWindowClass, AppWindowTitle, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          windowClass.hInstance, nullptr);
    ASSERT_NE(stubborn, nullptr);

    const std::optional<DWORD> code =
        RunInstaller(setup_, L"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS /RESTARTAPPLICATIONS");
    EXPECT_EQ(code, std::optional<DWORD>(3));
    EXPECT_FALSE(FileExists(exe_));
    EXPECT_FALSE(KeyExists(UninstallKey));
    EXPECT_TRUE(IsWindow(stubborn));
    DestroyWindow(stubborn);
    UnregisterClassW(AppWindowClass, windowClass.hInstance);
}

TEST_F(Installer, UpgradeOverRunningCadrelsKeepsArrangementAndRestartsIt)
{
    ASSERT_TRUE(FileExists(previousSetup_)) << "no older installer at CADRELS_SETUP_PREVIOUS";
    ASSERT_EQ(RunInstaller(previousSetup_, L"/S"), std::optional<DWORD>(0));
    ASSERT_EQ(FileVersion(exe_), previousVersion_);
    ASSERT_EQ(ReadString(UninstallKey, L"DisplayVersion"), previousVersion_);

    // The user's own arrangement: two pages of named, placed cadrels, and a
    // file of theirs beside the layout.
    const std::vector<MonitorInfo> monitors = EnumerateMonitors();
    ASSERT_FALSE(monitors.empty());
    const std::string key = DisplayKey(monitors);
    const std::string monitor = PrimaryMonitor(monitors)->id;
    Settings settings;
    settings.workspaces.clear();
    for (const auto& [pageId, pageName, cadrelId, title, x] :
         {std::tuple{"{7A1D0000-0000-4000-8000-000000000001}", L"Travail", "{7A1D0000-0000-4000-8000-0000000000C1}",
                     L"Factures 2026", 0.08},
          std::tuple{"{7A1D0000-0000-4000-8000-000000000002}", L"Maison", "{7A1D0000-0000-4000-8000-0000000000C2}",
                     L"Recettes", 0.52}}) {
        Workspace page;
        page.id = pageId;
        page.name = pageName;
        page.cadrels.push_back(PinnedRecord(cadrelId, title));
        page.layouts[key][cadrelId] = CadrelGeom{monitor, x, 0.12, 0.3, 0.35, false};
        settings.workspaces.push_back(page);
    }
    ASSERT_TRUE(CreateDirectoryW(appData_.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(appData_ + L"\\layout.json", SerializeSettings(settings)));
    const std::string ownFile = "not the installer's\r\n";
    ASSERT_TRUE(WriteBytes(appData_ + L"\\notes-de-l-utilisateur.txt", ownFile));

    ASSERT_NO_FATAL_FAILURE(StartInstalled());
    ASSERT_TRUE(app_.WaitForLine(L"Cadrels " + previousVersion_ + L" demarre.", 5000));
    Settings before;
    bool pagesFound = false;
    ASSERT_TRUE(LoadSettingsFile(appData_ + L"\\layout.json", before, pagesFound));
    ASSERT_EQ(before.workspaces.size(), 2u);

    // As the update service starts it.
    const DWORD started = GetTickCount();
    ASSERT_EQ(RunInstaller(setup_, L"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS /RESTARTAPPLICATIONS"),
              std::optional<DWORD>(0));
    std::printf("  upgrade installer ran for %lu ms\n", static_cast<unsigned long>(GetTickCount() - started));

    // It asked the running one to save and quit, and that one did, on its own.
    EXPECT_EQ(app_.WaitForExit(Patient(10000)), std::optional<DWORD>(0));
    // Right away, or once a running operation is over.
    EXPECT_EQ(app_.CountLines(L"Fermeture demandee : "), 1u);

    EXPECT_EQ(FileVersion(exe_), version_);
    ExpectEntryFor(version_);
    EXPECT_TRUE(SamePath(ShortcutTarget(ShortcutPath()), exe_));

    // Started again, from the installed place.
    DWORD restarted = 0;
    EXPECT_TRUE(WaitFor([&] { return (restarted = RunningCadrelsProcessId()) != 0; }, 20000));
    if (restarted != 0) {
        EXPECT_NE(restarted, app_.ProcessId());
        EXPECT_TRUE(SamePath(ProcessImagePath(restarted), exe_)) << ProcessImagePath(restarted);
        EXPECT_TRUE(CloseCadrelsStartedElsewhere(restarted));
    }

    Settings after;
    ASSERT_TRUE(LoadSettingsFile(appData_ + L"\\layout.json", after, pagesFound));
    const std::vector<CadrelSummary> expected = Arrangement(settings, key);
    const std::vector<CadrelSummary> seen = Arrangement(after, key);
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(seen[i].page, expected[i].page);
        EXPECT_EQ(seen[i].pageName, expected[i].pageName);
        EXPECT_EQ(seen[i].id, expected[i].id);
        EXPECT_EQ(seen[i].title, expected[i].title);
        EXPECT_NEAR(seen[i].geometry.x, expected[i].geometry.x, 0.01);
        EXPECT_NEAR(seen[i].geometry.y, expected[i].geometry.y, 0.01);
        EXPECT_NEAR(seen[i].geometry.w, expected[i].geometry.w, 0.01);
        EXPECT_NEAR(seen[i].geometry.h, expected[i].geometry.h, 0.01);
    }
    EXPECT_EQ(ReadBytes(appData_ + L"\\notes-de-l-utilisateur.txt"), ownFile);
}

// The update service's path end to end from the download on: the local
// service publishes the real newer installer and a manifest signed with its
// test key; the service checks, downloads, verifies and starts the installer
// with its switches; the installer closes the running older Cadrels,
// replaces it and starts the new version. The program itself cannot be the
// one asking yet: nothing in it calls StartUpdateInstall until the settings
// window's update page exists, so the service runs here in the test.
TEST_F(Installer, UpdateServiceDownloadsAndStartsInstallerThatReplacesRunningCadrels)
{
    LocalService service;
    ASSERT_TRUE(service.Open()) << "the local service is not running (local-service.sh start)";
    ASSERT_TRUE(FileExists(previousSetup_));
    ASSERT_EQ(RunInstaller(previousSetup_, L"/S"), std::optional<DWORD>(0));
    ASSERT_NO_FATAL_FAILURE(StartInstalled());
    ASSERT_TRUE(app_.WaitForLine(L"Cadrels " + previousVersion_ + L" demarre.", 5000));

    const std::string installer = ReadBytes(setup_);
    ASSERT_GT(installer.size(), 100000u);
    Sha256Digest digest{};
    ASSERT_TRUE(Sha256Of(installer, digest));
    const std::wstring prefix = UniquePrefix();
    const std::wstring installerPath = prefix + L"/Cadrels-Setup-" + version_ + L".exe";
    ASSERT_TRUE(service.Publish(installerPath, installer));
    const std::wstring url = service.Url(installerPath);
    const std::string manifest = "{\"version\":\"" + std::string(version_.begin(), version_.end()) + "\",\"url\":\"" +
                                 std::string(url.begin(), url.end()) + "\",\"notes\":\"\",\"sha256\":\"" +
                                 HexLower(digest.data(), digest.size()) + "\",\"mandatory\":0}";
    ASSERT_TRUE(service.PublishSigned(prefix + L"/update", manifest));

    UpdateConfig config;
    config.service.origin = service.Origin();
    config.manifestPath = prefix + L"/update";
    config.signaturePath = prefix + L"/update.sig";
    config.publicKey = service.TestKey();
    config.running = ParseVersion(std::string(previousVersion_.begin(), previousVersion_.end()));
    config.runningText = previousVersion_;
    const std::wstring downloads = MakeTempFolder(L"update");
    config.temporaryRoot = downloads;
    MessageWindow window;
    UpdateService updates(config);
    ASSERT_TRUE(updates.StartCheck(window.Get(), StatusMessage));
    ASSERT_TRUE(window.WaitFor(StatusMessage, 20000));
    ASSERT_TRUE(updates.Status().updateAvailable) << updates.Status().checkFailedText;
    ASSERT_EQ(updates.Status().newVersion, version_);

    const ULONGLONG started = GetTickCount64();
    ASSERT_TRUE(updates.StartInstall(window.Get(), StatusMessage));
    ASSERT_TRUE(window.WaitFor(StatusMessage, 60000));
    const UpdateStatusRecord status = updates.Status();
    ASSERT_TRUE(status.launched) << status.stateText;
    const ULONGLONG launched = GetTickCount64();

    EXPECT_EQ(app_.WaitForExit(Patient(40000)), std::optional<DWORD>(0));
    // Right away, or once a running operation is over.
    EXPECT_EQ(app_.CountLines(L"Fermeture demandee : "), 1u);
    const ULONGLONG closed = GetTickCount64();
    DWORD restarted = 0;
    EXPECT_TRUE(WaitFor(
        [&] {
            restarted = RunningCadrelsProcessId();
            return restarted != 0 && restarted != app_.ProcessId();
        },
        30000));
    const ULONGLONG running = GetTickCount64();
    std::printf("  update: downloaded, verified and launched in %llu ms, old version gone after %llu ms, "
                "new version running after %llu ms\n",
                launched - started, closed - started, running - started);
    EXPECT_EQ(FileVersion(exe_), version_);
    EXPECT_EQ(ReadString(UninstallKey, L"DisplayVersion"), version_);
    if (restarted != 0) {
        EXPECT_TRUE(SamePath(ProcessImagePath(restarted), exe_)) << ProcessImagePath(restarted);
        EXPECT_TRUE(CloseCadrelsStartedElsewhere(restarted));
    }
    service.Unpublish(installerPath);
    service.Unpublish(prefix + L"/update");
    service.Unpublish(prefix + L"/update.sig");
    // The installer may still be ending; its folder is the user's temporary one.
    RemoveTree(downloads);
}

TEST_F(Installer, SilentUninstallRemovesWhatWasWrittenAndKeepsArrangement)
{
    ASSERT_EQ(RunInstaller(setup_, L"/S"), std::optional<DWORD>(0));
    // The installed program writes its shell verbs when it starts; the Run
    // value is the one it writes when the user asks to start with Windows.
    ASSERT_NO_FATAL_FAILURE(StartInstalled());
    for (const wchar_t* key : ShellVerbKeys) {
        const std::wstring command = std::wstring(key) + L"\\command";
        EXPECT_TRUE(WaitFor([&] { return ReadString(command.c_str(), nullptr).has_value(); }, 10000)) << key;
        EXPECT_NE(ReadString(command.c_str(), nullptr).value_or(L"").find(exe_), std::wstring::npos) << key;
    }
    EXPECT_EQ(app_.Quit(), std::optional<DWORD>(0));
    const std::wstring run = RunValueData(exe_);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName, REG_SZ, run.c_str(),
                              static_cast<DWORD>((run.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ASSERT_TRUE(FileExists(appData_ + L"\\layout.json"));
    const std::string layout = ReadBytes(appData_ + L"\\layout.json");

    // Run as package managers run it: the quiet command the entry gives. The
    // uninstaller hands its work to a copy of itself and returns at once.
    const std::optional<std::wstring> quiet = ReadString(UninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(quiet.has_value());
    ASSERT_EQ(RunAndWait(*quiet), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitFor([&] { return !KeyExists(UninstallKey) && !FileExists(uninstaller_); }, 60000));

    EXPECT_FALSE(KeyExists(UninstallKey));
    EXPECT_FALSE(FileExists(exe_));
    EXPECT_FALSE(FileExists(uninstaller_));
    EXPECT_FALSE(FolderExists(folder_));
    EXPECT_FALSE(FileExists(ShortcutPath()));
    for (const wchar_t* key : ShellVerbKeys) {
        EXPECT_FALSE(KeyExists(key)) << key;
    }
    EXPECT_FALSE(ReadString(RunKeyPath, RunValueName).has_value());
    // A silent uninstall never removes the arrangement.
    EXPECT_EQ(ReadBytes(appData_ + L"\\layout.json"), layout);
}

}  // namespace
}  // namespace cadrels::testing
