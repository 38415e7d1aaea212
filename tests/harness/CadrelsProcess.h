// Starts the real Cadrels.exe under the Windows debug API, so a test can read
// its diagnostic lines (OutputDebugStringW), find its windows and end it.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace cadrels::testing {

// The program under test: the CADRELS_EXE variable the test runner sets
// (a host path, mapped to the Z: drive), else Cadrels.exe beside the test.
std::wstring CadrelsExePath();

// Everything a message box says: its static texts, each followed by a line
// feed.
std::wstring MessageBoxText(HWND box);

class CadrelsProcess {
public:
    CadrelsProcess() = default;
    ~CadrelsProcess();
    CadrelsProcess(const CadrelsProcess&) = delete;
    CadrelsProcess& operator=(const CadrelsProcess&) = delete;

    // Starts Cadrels.exe with the arguments (each quoted when it needs it).
    bool Start(const std::vector<std::wstring>& arguments = {});

    // Diagnostic lines without the "[Cadrels] " prefix and the line feed.
    std::vector<std::wstring> Lines() const;
    size_t CountLines(std::wstring_view fragment) const;
    // Waits until `count` lines containing the fragment were written.
    bool WaitForLine(std::wstring_view fragment, DWORD timeoutMs, size_t count = 1) const;
    // Waits for the line App writes when its message loop runs.
    bool WaitUntilReady(DWORD timeoutMs = 20000) const;

    // Messages and timers the program's windows have seen since start, as the
    // application window reports them when asked; nothing when it does not
    // answer. Asking costs one message.
    struct Activity {
        unsigned long long messages = 0;   // window-procedure entries
        unsigned long long retrieved = 0;  // messages taken from the queue
        unsigned long long timers = 0;
    };
    std::optional<Activity> ReportActivity(DWORD timeoutMs = 5000) const;

    // The "Cadrels.App" message-only window of this process.
    HWND AppWindow() const;
    // Visible or hidden top-level windows of this process with that class.
    std::vector<HWND> TopLevelWindows(const wchar_t* className) const;
    // The first visible message box of this process to appear within the
    // time (stretched by the patience factor); null when none came.
    HWND WaitForMessageBox(DWORD timeoutMs = 5000) const;

    // Posts WM_QUIT to the application thread (the normal shutdown path) and
    // waits for the exit code.
    std::optional<DWORD> Quit(DWORD timeoutMs = 15000);
    // For a test's tear-down: prints the program's lines when the test
    // failed, then quits it if it still runs.
    void EndTest(bool failed);
    std::optional<DWORD> WaitForExit(DWORD timeoutMs) const;
    bool Running() const;
    void Kill();
    DWORD ProcessId() const { return processId_; }

private:
    void DebugLoop(std::wstring commandLine);
    void AddDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info);

    std::thread thread_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::wstring> lines_;
    bool startDone_ = false;
    bool started_ = false;
    bool exited_ = false;
    DWORD exitCode_ = 0;
    DWORD processId_ = 0;
    HANDLE processHandle_ = nullptr;  // owned by the debug loop thread until exit
};

}  // namespace cadrels::testing
