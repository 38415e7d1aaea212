// The application window end to end: latches, timers, pages, send-to
// batches and list files, the theme, and the notification icon.
#include "CadrelsProcess.h"
#include "GeometryExpect.h"
#include "PointerInput.h"
#include "ProcessProbe.h"
#include "TestFiles.h"

#include "base/AppMessages.h"
#include "app/CopyData.h"
#include "model/LayoutFile.h"
#include "model/MonitorInfo.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace cadrels::testing {
namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Counts how often layout.json is written, by watching its temporary file
// being created in the application-data folder.
class LayoutWriteCounter {
public:
    explicit LayoutWriteCounter(const std::wstring& folder)
    {
        directory_ = CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] { Watch(); });
    }
    ~LayoutWriteCounter()
    {
        SetEvent(stop_);
        thread_.join();
        CloseHandle(directory_);
        CloseHandle(stop_);
    }
    int Writes() const { return writes_; }

private:
    void Watch()
    {
        alignas(DWORD) char buffer[16384];
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        for (;;) {
            OVERLAPPED overlapped{};
            overlapped.hEvent = done;
            ResetEvent(done);
            if (!ReadDirectoryChangesW(directory_, buffer, sizeof buffer, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME,
                                       nullptr, &overlapped, nullptr)) {
                break;
            }
            const HANDLE events[] = {stop_, done};
            if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
                CancelIoEx(directory_, &overlapped);
                DWORD ignored = 0;
                GetOverlappedResult(directory_, &overlapped, &ignored, TRUE);
                break;
            }
            DWORD returned = 0;
            if (!GetOverlappedResult(directory_, &overlapped, &returned, FALSE)) {
                break;
            }
            for (size_t offset = 0; returned > 0;) {
                const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + offset);
                const std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
                if (info->Action == FILE_ACTION_ADDED && name == L"layout.json.tmp") {
                    ++writes_;
                }
                if (info->NextEntryOffset == 0) {
                    break;
                }
                offset += info->NextEntryOffset;
            }
        }
        CloseHandle(done);
    }

    HANDLE directory_ = INVALID_HANDLE_VALUE;
    HANDLE stop_ = nullptr;
    std::thread thread_;
    std::atomic<int> writes_{0};
};

class AppWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = AppDataFolder();
        containers_ = ContainerRootFolder();
        ASSERT_TRUE(RemoveTree(folder_));
        ASSERT_TRUE(RemoveTree(containers_));
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        // Not a first run: no welcome prompt unless a test asks for one.
        WriteLayout(R"({"workspaces":[{"id":"{A}","name":"A"}]})");
    }
    void TearDown() override
    {
        app_.EndTest(HasFailure());
        RemoveTree(folder_);
        RemoveTree(containers_);
    }

    void WriteLayout(const std::string& json) { ASSERT_TRUE(WriteBytes(folder_ + L"\\layout.json", json)); }

    void Start(const std::vector<std::wstring>& arguments = {})
    {
        ASSERT_TRUE(app_.Start(arguments));
        ASSERT_TRUE(app_.WaitUntilReady());
        window_ = app_.AppWindow();
        ASSERT_NE(window_, nullptr);
    }

    Settings Layout() const
    {
        Settings settings;
        bool pagesFound = false;
        EXPECT_TRUE(LoadSettingsFile(folder_ + L"\\layout.json", settings, pagesFound));
        return settings;
    }

    // Handled before this returns (a posted message would wait its turn
    // behind sent ones).
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window_, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
        return static_cast<LRESULT>(result);
    }

    LRESULT SendCopyData(ULONG_PTR kind, const std::wstring& text) const
    {
        const std::wstring payload = CopyDataPayload(text);
        COPYDATASTRUCT data{kind, static_cast<DWORD>(payload.size() * sizeof(wchar_t)),
                            const_cast<wchar_t*>(payload.data())};
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 5000, &result);
        return static_cast<LRESULT>(result);
    }

    std::wstring folder_;
    std::wstring containers_;
    CadrelsProcess app_;
    HWND window_ = nullptr;
};

TEST_F(AppWindow, ABurstOfSaveRequestsWritesTheLayoutOnce)
{
    Start();
    LayoutWriteCounter counter(folder_);
    Sleep(200);
    // One burst, as a drag produces it: the thread is held while the requests
    // queue up, or it would save between two of them.
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(window_, nullptr));
    ASSERT_NE(thread, nullptr);
    ASSERT_NE(SuspendThread(thread), static_cast<DWORD>(-1));
    for (int i = 0; i < 10; ++i) {
        PostMessageW(window_, WM_APP_SAVE_SOON, 0, 0);
    }
    ResumeThread(thread);
    CloseHandle(thread);
    Sleep(700);
    EXPECT_EQ(counter.Writes(), 1);

    // A request after the save went out is a new write.
    PostMessageW(window_, WM_APP_SAVE_SOON, 0, 0);
    Sleep(700);
    EXPECT_EQ(counter.Writes(), 2);
}

// A wheel turned over a cadrel changes its zoom notch by notch: the changes
// of one burst are saved once, not written and flushed one by one.
TEST_F(AppWindow, ABurstOfCadrelChangesIsSavedOnce)
{
    WriteLayout(R"({"workspaces":[{"id":"{A}","name":"A","cadrels":[{"id":"{ONE}","tabs":[{"title":"t",)"
                R"("folder":"C:\\windows"}],"pinned":1}]}]})");
    Start();
    HWND cadrel = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<HWND> cadrels = app_.TopLevelWindows(L"Cadrels.Cadrel");
        cadrel = cadrels.empty() ? nullptr : cadrels.front();
        return cadrel != nullptr;
    }));
    LayoutWriteCounter counter(folder_);
    Sleep(200);
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(window_, nullptr));
    ASSERT_NE(thread, nullptr);
    ASSERT_NE(SuspendThread(thread), static_cast<DWORD>(-1));
    for (int i = 0; i < 5; ++i) {
        PostMessageW(window_, WM_APP_CADREL_CHANGED, reinterpret_cast<WPARAM>(cadrel), 0);
        PostMessageW(window_, WM_APP_CADREL_TABS_CHANGED, reinterpret_cast<WPARAM>(cadrel), 0);
    }
    ResumeThread(thread);
    CloseHandle(thread);
    Sleep(700);
    EXPECT_EQ(counter.Writes(), 1);
}

// Another program holding the layout file makes a save fail; it is tried
// again on its own, without waiting for the next change, until it lands.
TEST_F(AppWindow, AFailedSaveIsTriedAgainUntilItLands)
{
    Start();
    const std::wstring path = folder_ + L"\\layout.json";
    ASSERT_TRUE(WaitFor([&] { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    PostMessageW(window_, WM_APP_SAVE_SOON, 0, 0);
    const bool failed = app_.WaitForLine(L"Sauvegarde de la disposition ECHOUEE (1 fois)", 5000);
    const bool triedAgain = failed && app_.WaitForLine(L"Sauvegarde de la disposition ECHOUEE (2 fois)", 10000);
    CloseHandle(held);
    ASSERT_TRUE(failed);
    ASSERT_TRUE(triedAgain) << "tried again with no request";
    EXPECT_TRUE(app_.WaitForLine(L"Disposition enregistree apres 2 echec(s).", 15000));
    EXPECT_FALSE(Layout().workspaces.empty());
}

TEST_F(AppWindow, ADisplayChangeIsAppliedSixHundredMillisecondsAfterTheLastNotice)
{
    Start();
    constexpr wchar_t Applied[] = L"Reconfiguration d'ecran appliquee (empreinte mise a jour).";
    const auto start = Clock::now();
    PostMessageW(window_, WM_APP_DISPLAY_CHANGED, 0, 0);
    Sleep(300);
    PostMessageW(window_, WM_APP_DISPLAY_CHANGED, 0, 0);
    ASSERT_TRUE(app_.WaitForLine(Applied, 5000));
    const long long elapsed = MillisecondsSince(start);
    // A floor only: a loaded machine can make the wait longer, never shorter.
    EXPECT_GE(elapsed, 850) << "the second notice restarts the wait";
    Sleep(800);
    EXPECT_EQ(app_.CountLines(Applied), 1u) << "both notices are one reconfiguration";
}

TEST_F(AppWindow, NextAndPreviousPageShortcutsWrapAround)
{
    WriteLayout(R"({"activeWorkspace":1,"workspaces":[{"id":"{A}","name":"A"},{"id":"{B}","name":"B"},
        {"id":"{C}","name":"C"}]})");
    Start();
    auto pressAndRead = [&](int hotkey) {
        Send(WM_HOTKEY, static_cast<WPARAM>(hotkey));
        return Layout().activeWorkspace;
    };
    EXPECT_EQ(pressAndRead(HotkeyIdFirst + 8), 2);
    EXPECT_EQ(pressAndRead(HotkeyIdFirst + 8), 0) << "next from the last page is the first";
    EXPECT_EQ(pressAndRead(HotkeyIdFirst + 9), 2) << "previous from the first page is the last";
    EXPECT_EQ(pressAndRead(HotkeyIdFirst + 9), 1);
    EXPECT_EQ(Layout().workspaces.size(), 3u);
}

TEST_F(AppWindow, ASwitchedToPageGetsAPlaceForEachCadrelOnThisDisplay)
{
    WriteLayout(R"({"workspaces":[{"id":"{A}","name":"A"},{"id":"{B}","name":"B","cadrels":[
        {"id":"{SEEN}","tabs":[{"title":"t","folder":"C:\\windows"}]},
        {"id":"{NEW}","tabs":[{"title":"u","folder":"C:\\windows"}]}],
        "layouts":{"OTHER|1x1@96":{"{SEEN}":{"monitor":"unplugged","x":0.5,"y":0.25,"w":0.2,"h":0.3}}}}]})");
    Start();
    Send(WM_HOTKEY, HotkeyIdFirst + 8);
    const Settings settings = Layout();
    ASSERT_EQ(settings.activeWorkspace, 1);
    const std::vector<MonitorInfo> monitors = EnumerateMonitors();
    const auto& here = settings.workspaces[1].layouts.at(DisplayKey(monitors));
    ASSERT_EQ(here.size(), 2u);
    const CadrelGeom& seen = here.at("{SEEN}");
    EXPECT_DOUBLE_EQ(seen.x, 0.5) << "taken from the other display";
    EXPECT_DOUBLE_EQ(seen.h, 0.3);
    EXPECT_EQ(seen.monitor, PrimaryMonitor(monitors)->id) << "its monitor is not connected";
    EXPECT_EQ(here.at("{NEW}").monitor, PrimaryMonitor(monitors)->id) << "a new placement";
    EXPECT_EQ(settings.workspaces[1].layouts.count("OTHER|1x1@96"), 1u) << "the other display keeps its own";
}

// The taskbar moved while Cadrels was not running: the display key differs,
// and the arrangement comes from the same monitor under the key used last.
TEST_F(AppWindow, AtStartUpAChangedDisplayKeyKeepsTheArrangement)
{
    const std::vector<MonitorInfo> monitors = EnumerateMonitors();
    ASSERT_FALSE(monitors.empty());
    const std::string monitor = PrimaryMonitor(monitors)->id;
    std::string layout = R"({"recentDisplays":["TASKBAR-LEFT","TASKBAR-TOP"],"workspaces":[{"id":"{A}","name":"A",
        "cadrels":[{"id":"{ONE}","tabs":[{"title":"t","folder":"C:\\windows"}]},
                   {"id":"{TWO}","tabs":[{"title":"u","folder":"C:\\windows"}]},
                   {"id":"{NEW}","tabs":[{"title":"v","folder":"C:\\windows"}]}],
        "layouts":{
          "TASKBAR-TOP":{"{ONE}":{"monitor":"MON","x":0.11,"y":0.2,"w":0.2,"h":0.3},
                         "{TWO}":{"monitor":"MON","x":0.61,"y":0.2,"w":0.2,"h":0.3}},
          "TASKBAR-LEFT":{"{ONE}":{"monitor":"MON","x":0.12,"y":0.2,"w":0.2,"h":0.3}}}}]})";
    std::string escaped;
    for (char c : monitor) {
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    for (size_t at = layout.find("MON"); at != std::string::npos; at = layout.find("MON", at + escaped.size())) {
        layout.replace(at, 3, escaped);
    }
    WriteLayout(layout);
    Start();
    const Settings settings = Layout();
    const auto& here = settings.workspaces[0].layouts.at(DisplayKey(monitors));
    const MonitorInfo& primary = *PrimaryMonitor(monitors);
    // Saved from the live windows: whole pixels.
    ExpectGeometryWithinAPixel(here.at("{ONE}"), CadrelGeom{monitor, 0.12, 0.2, 0.2, 0.3, false}, primary);
    ExpectGeometryWithinAPixel(here.at("{TWO}"), CadrelGeom{monitor, 0.61, 0.2, 0.2, 0.3, false}, primary);
    EXPECT_NE(here.at("{NEW}").x, 0.11) << "only what has no geometry anywhere is cascaded";
    ASSERT_FALSE(settings.recentDisplays.empty());
    EXPECT_EQ(settings.recentDisplays.front(), DisplayKey(monitors)) << "this display is now the newest";

    // A work-area change while running counts as a display change.
    constexpr wchar_t Applied[] = L"Reconfiguration d'ecran appliquee (empreinte mise a jour).";
    const std::vector<HWND> broadcast = app_.TopLevelWindows(L"Cadrels.Broadcasts");
    ASSERT_EQ(broadcast.size(), 1u);
    for (HWND window : broadcast) {
        SendMessageTimeoutW(window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0, SMTO_NORMAL, 2000, nullptr);
    }
    EXPECT_TRUE(app_.WaitForLine(Applied, 5000));
}

TEST_F(AppWindow, PathsSentTogetherFormOneBatchAndALateOneStartsAnother)
{
    Start();
    // What the processes the shell starts, one per selected file, forward
    // to the running program, arriving together. (Starting four processes
    // here would make "together" depend on how busy the machine is; the
    // late path below comes through a real process.)
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(SendCopyData(CopyDataSendToPath, L"C:\\envoi\\fichier" + std::to_wstring(i) + L".txt"), TRUE);
    }
    ASSERT_TRUE(app_.WaitForLine(L"Envoi vers une cadrel : lot de", 5000));
    EXPECT_EQ(app_.CountLines(L"Envoi vers une cadrel : lot de 4 chemin(s)"), 1u);
    // The batch's menu of destinations is open: a path sent now would wait
    // for it. Closing it files nothing.
    ASSERT_TRUE(app_.WaitForLine(L"Envoi vers une cadrel : menu de", 5000));
    HWND menu = nullptr;
    for (int i = 0; i < 100 && menu == nullptr; ++i) {
        const std::vector<HWND> menus = app_.TopLevelWindows(L"Cadrels.DarkMenu");
        menu = menus.empty() ? nullptr : menus.front();
        Sleep(menu == nullptr ? 50 : 0);
    }
    ASSERT_NE(menu, nullptr);
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(2000);
    CadrelsProcess late;
    ASSERT_TRUE(late.Start({L"--send-to-path", L"C:\\envoi\\tardif.txt"}));
    EXPECT_EQ(late.WaitForExit(20000), std::optional<DWORD>(0));
    ASSERT_TRUE(app_.WaitForLine(L"Envoi vers une cadrel : lot de 1 chemin(s)", 5000));
    EXPECT_EQ(app_.CountLines(L"Envoi vers une cadrel : lot de"), 2u);
}

std::string Utf16Bytes(std::wstring_view text)
{
    std::string bytes;
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

TEST_F(AppWindow, ListFilesAreReadAndDeletedOnlyFromTheTempFolderWithTheRightName)
{
    Start();
    wchar_t tempBuffer[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, tempBuffer);
    const std::wstring temp = tempBuffer;
    const std::wstring elsewhere = MakeTempFolder(L"ailleurs");
    const std::string content = "\xFF\xFE" + Utf16Bytes(L"C:\\a.txt\r\nD:\\dossier é\\b.txt\r\n") + "\x41";

    const std::wstring wrongFolder = elsewhere + L"\\cdr-liste.tmp";
    const std::wstring wrongPrefix = temp + L"liste-cdr.tmp";
    const std::wstring oneByte = temp + L"cdr-un-octet.tmp";
    const std::wstring good = temp + L"cdr-bonne.tmp";
    ASSERT_TRUE(WriteBytes(wrongFolder, content));
    ASSERT_TRUE(WriteBytes(wrongPrefix, content));
    ASSERT_TRUE(WriteBytes(oneByte, "x"));
    ASSERT_TRUE(WriteBytes(good, content));

    for (const std::wstring& path : {wrongFolder, wrongPrefix, oneByte}) {
        EXPECT_EQ(SendCopyData(CopyDataSendToList, path), TRUE);
    }
    Sleep(500);
    EXPECT_TRUE(FileExists(wrongFolder)) << "outside the temp folder: left alone";
    EXPECT_TRUE(FileExists(wrongPrefix)) << "without the prefix: left alone";
    EXPECT_FALSE(FileExists(oneByte)) << "too small, but the right name: deleted";
    EXPECT_EQ(app_.CountLines(L"Envoi vers une cadrel : lot de"), 0u) << "nothing was read from them";

    EXPECT_EQ(SendCopyData(CopyDataSendToList, good), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Envoi vers une cadrel : D:\\dossier é\\b.txt", 5000));
    EXPECT_EQ(app_.CountLines(L"Envoi vers une cadrel : lot de 2 chemin(s)"), 1u);
    EXPECT_EQ(app_.CountLines(L"Envoi vers une cadrel : C:\\a.txt"), 1u);
    EXPECT_FALSE(FileExists(good));
    DeleteFileW(wrongPrefix.c_str());
    RemoveTree(elsewhere);
}

TEST_F(AppWindow, ForwardedListPathsAreFreedAfterUse)
{
    Start();
    // Refused list files (not in the temp folder) still travel as heap copies.
    const std::wstring path(300, L'x');
    // Sent messages go before posted ones, so back-to-back sends would pile
    // every copy up in the mailbox at once; draining it every 500 (a posted
    // report is handled after everything posted before it) measures leaks,
    // not the heap's high-water mark. A first round lets the heap and the
    // start-up work settle.
    const auto sendRound = [&] {
        for (int i = 0; i < 10000; ++i) {
            SendCopyData(CopyDataSendToList, path);
            if (i % 500 == 499) {
                ASSERT_TRUE(app_.ReportActivity());
            }
        }
    };
    sendRound();
    Sleep(500);
    const SIZE_T before = PrivateBytes(app_.ProcessId());
    sendRound();
    Sleep(500);
    const SIZE_T after = PrivateBytes(app_.ProcessId());
    ASSERT_GT(before, 0u);
    // 10,000 leaked copies would be more than 6 MB.
    EXPECT_LT(after, before + 512 * 1024) << "before " << before << " after " << after;
}

// Any process on the desktop can post to "Cadrels.App". No application
// message may take its parameters for a pointer it owns, or for a choice it
// applies without checking.
TEST_F(AppWindow, StrayApplicationMessagesFromAnotherProcessAreHarmless)
{
    Start();
    const Settings before = Layout();
    const LPARAM junk[] = {static_cast<LPARAM>(0xDEADBEEF), 0x12345678, -1, 99};
    for (UINT n = 1; n <= 63; ++n) {
        if (WM_APP + n == WM_APP_WELCOME || WM_APP + n == WM_APP_BACKUP_NOW) {
            continue;  // the guide and "back up now" open by design, and carry nothing
        }
        for (LPARAM value : junk) {
            PostMessageW(window_, WM_APP + n, static_cast<WPARAM>(value), value);
        }
    }
    // Everything posted before this is handled once it returns.
    EXPECT_EQ(Send(WM_NULL), 0);
    Sleep(300);
    ASSERT_TRUE(app_.Running());
    EXPECT_EQ(Send(WM_NULL), 0) << "still answering";
    EXPECT_EQ(app_.CountLines(L"Envoi vers une cadrel"), 0u) << "no list file came with the messages";
    const Settings after = Layout();
    EXPECT_EQ(after.language, before.language) << "an index out of range changes nothing";
    EXPECT_EQ(after.theme, before.theme);

    // A real list file still arrives through the mailbox afterwards.
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring list = std::wstring(temp) + L"cdr-apres.tmp";
    ASSERT_TRUE(WriteBytes(list, "\xFF\xFE" + Utf16Bytes(L"C:\\apres.txt")));
    EXPECT_EQ(SendCopyData(CopyDataSendToList, list), TRUE);
    EXPECT_TRUE(app_.WaitForLine(L"Envoi vers une cadrel : C:\\apres.txt", 5000));
}

// Nothing wakes an idle program: no timer, no polling, no message, once the
// start-up work (the first sorting pass, the update check) is done.
TEST_F(AppWindow, AnIdleProgramSeesNoMessages)
{
    Start();
    Sleep(2000);
    const auto before = app_.ReportActivity();
    ASSERT_TRUE(before);
    Sleep(3000);
    const auto after = app_.ReportActivity();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->messages - before->messages, 1u) << "only the report request itself";
    EXPECT_EQ(after->retrieved - before->retrieved, 1u) << "only the report request itself";
    EXPECT_EQ(after->timers, before->timers);
    EXPECT_GT(before->messages, 0u) << "the counts do count";
}

class Personalize {
public:
    Personalize()
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                        nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    }
    ~Personalize()
    {
        RegDeleteValueW(key_, L"AppsUseLightTheme");
        RegCloseKey(key_);
    }
    void SetLight(DWORD value)
    {
        RegSetValueExW(key_, L"AppsUseLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }

private:
    HKEY key_ = nullptr;
};

// The watcher registers for changes on its own thread shortly after start-up,
// so a first change is repeated until it is seen.
bool ToggleUntilLine(Personalize& personalize, const CadrelsProcess& process, const wchar_t* line)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        personalize.SetLight(attempt % 2 == 0 ? 1 : 0);
        if (process.WaitForLine(line, 250)) {
            return true;
        }
    }
    return false;
}

TEST_F(AppWindow, TheSystemThemeIsFollowedOnlyInSystemMode)
{
    Personalize personalize;
    personalize.SetLight(0);
    WriteLayout(R"({"theme":1,"workspaces":[{"id":"{A}"}]})");
    Start();
    EXPECT_TRUE(ToggleUntilLine(personalize, app_, L"Theme systeme modifie, ignore (theme choisi : 1)."));
    personalize.SetLight(1);
    Sleep(500);
    EXPECT_EQ(app_.CountLines(L"Theme systeme applique"), 0u) << "a chosen dark theme stays dark";
    ASSERT_EQ(app_.Quit(), std::optional<DWORD>(0));
    EXPECT_EQ(Layout().theme, 1) << "nothing was saved over the choice";

    WriteLayout(R"({"theme":0,"workspaces":[{"id":"{A}"}]})");
    personalize.SetLight(0);
    CadrelsProcess system;
    ASSERT_TRUE(system.Start());
    ASSERT_TRUE(system.WaitUntilReady());
    ASSERT_TRUE(ToggleUntilLine(personalize, system, L"Theme systeme applique : clair."));
    personalize.SetLight(0);
    EXPECT_TRUE(system.WaitForLine(L"Theme systeme applique : sombre.", 10000)) << "the flip follows";
    EXPECT_EQ(system.Quit(), std::optional<DWORD>(0));
}

bool TrayIconPresent(HWND window)
{
    // A modify that changes nothing succeeds exactly when the icon exists.
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof probe;
    probe.hWnd = window;
    probe.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

TEST_F(AppWindow, TheTrayIconLivesWithTheProcessAndReturnsAfterTheTaskbarRestarts)
{
    Start();
    EXPECT_TRUE(TrayIconPresent(window_));

    // What an Explorer restart does: every icon gone, then "TaskbarCreated".
    NOTIFYICONDATAW remove{};
    remove.cbSize = sizeof remove;
    remove.hWnd = window_;
    remove.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &remove));
    EXPECT_FALSE(TrayIconPresent(window_));
    const std::vector<HWND> broadcasts = app_.TopLevelWindows(L"Cadrels.Broadcasts");
    ASSERT_EQ(broadcasts.size(), 1u);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(broadcasts[0], RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_NORMAL, 5000, &result);
    EXPECT_TRUE(TrayIconPresent(window_));

    ASSERT_EQ(app_.Quit(), std::optional<DWORD>(0));
    EXPECT_FALSE(TrayIconPresent(window_)) << "removed at exit";
}

// A batch's menu and moves would run inside the open menu's own loop: the
// batch waits until the menu has closed.
TEST_F(AppWindow, PathsSentWhileAMenuIsOpenWaitUntilItCloses)
{
    Start();
    PostMessageW(window_, WM_APP_TRAYICON, 1, WM_RBUTTONUP);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<HWND> menus = app_.TopLevelWindows(L"Cadrels.DarkMenu");
        menu = menus.empty() ? nullptr : menus.front();
        return menu != nullptr;
    }));
    EXPECT_EQ(SendCopyData(CopyDataSendToPath, L"C:\\envoi\\pendant.txt"), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Chemins envoyes en attente : une operation est en cours.", 5000));
    EXPECT_EQ(app_.CountLines(L"Envoi vers une cadrel : lot de"), 0u);
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(menu); }));
    ASSERT_TRUE(app_.WaitForLine(L"Envoi vers une cadrel : lot de 1 chemin(s)", 5000));
    EXPECT_EQ(app_.CountLines(L"Chemins envoyes en attente"), 1u) << "said once, not at every look";
}

TEST_F(AppWindow, QuitWhilePromptsAndBatchesArePendingEndsPromptlyAndFilesNothing)
{
    Start();
    PostMessageW(window_, WM_APP_WELCOME, 0, 0);
    std::vector<HWND> prompts;
    for (int i = 0; i < 50 && prompts.empty(); ++i) {
        Sleep(100);
        prompts = app_.TopLevelWindows(L"Cadrels.DarkPrompt");
    }
    ASSERT_EQ(prompts.size(), 1u) << "the welcome prompt is open";
    EXPECT_EQ(SendCopyData(CopyDataSendToPath, L"C:\\en-attente.txt"), TRUE);
    PostMessageW(window_, WM_APP_WELCOME, 0, 0);
    // WM_QUIT reaches the prompt's own loop, which hands it on to the program.
    EXPECT_EQ(app_.Quit(), std::optional<DWORD>(0));
    EXPECT_EQ(app_.CountLines(L"Envoi vers une cadrel"), 0u) << "the pending batch was not filed after the end";
}

TEST_F(AppWindow, TheTrayMenuOpensOnARightClick)
{
    Start();
    PostMessageW(window_, WM_APP_TRAYICON, 1, WM_RBUTTONUP);
    std::vector<HWND> menus;
    for (int i = 0; i < 50 && menus.empty(); ++i) {
        Sleep(100);
        menus = app_.TopLevelWindows(L"Cadrels.DarkMenu");
    }
    ASSERT_EQ(menus.size(), 1u);
    PostMessageW(menus[0], WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < 50 && !menus.empty(); ++i) {
        Sleep(100);
        menus = app_.TopLevelWindows(L"Cadrels.DarkMenu");
    }
    EXPECT_TRUE(menus.empty()) << "Esc closes it";
    EXPECT_TRUE(app_.Running());
}

TEST_F(AppWindow, TheGraphicsDeviceIsRecreatedOnceForOneLoss)
{
    Start();
    EXPECT_EQ(app_.CountLines(L"Presentation des fenetres"), 1u) << "the presenter is named once at start";
    Send(WM_APP_DEVICE_LOST);
    ASSERT_TRUE(app_.WaitForLine(L"Device recree avec succes.", 10000));
    EXPECT_EQ(app_.CountLines(L"Recreation du device. Raison de retrait"), 1u);
    EXPECT_TRUE(app_.Running());
}

}  // namespace
}  // namespace cadrels::testing
