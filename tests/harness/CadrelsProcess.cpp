#include "CadrelsProcess.h"

#include "Patience.h"

#include "ProcessProbe.h"

#include <algorithm>
#include <cwchar>
#include <chrono>

namespace cadrels::testing {
namespace {

std::wstring QuoteArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

}  // namespace

std::wstring CadrelsExePath()
{
    wchar_t value[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableW(L"CADRELS_EXE", value, MAX_PATH * 2);
    if (length > 0 && length < MAX_PATH * 2) {
        std::wstring path = value;
        if (!path.empty() && path.front() == L'/') {
            std::replace(path.begin(), path.end(), L'/', L'\\');
            path = L"Z:" + path;
        }
        return path;
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.resize(path.find_last_of(L'\\') + 1);
    return path + L"Cadrels.exe";
}

CadrelsProcess::~CadrelsProcess()
{
    if (Running()) {
        Kill();
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool CadrelsProcess::Start(const std::vector<std::wstring>& arguments)
{
    std::wstring commandLine = QuoteArgument(CadrelsExePath());
    for (const std::wstring& argument : arguments) {
        commandLine += L' ';
        commandLine += QuoteArgument(argument);
    }
    thread_ = std::thread([this, commandLine] { DebugLoop(commandLine); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return startDone_; });
    return started_;
}

void CadrelsProcess::DebugLoop(std::wstring commandLine)
{
    // The debug events of a process go to the thread that created it, so this
    // thread both starts the program and pumps its events until it exits.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const BOOL created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                                        DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &info);
    {
        std::lock_guard lock(mutex_);
        startDone_ = true;
        started_ = created != FALSE;
        if (created) {
            processId_ = info.dwProcessId;
            processHandle_ = info.hProcess;
        }
    }
    changed_.notify_all();
    if (!created) {
        return;
    }
    CloseHandle(info.hThread);

    for (;;) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, 200)) {
            continue;
        }
        DWORD continueStatus = DBG_CONTINUE;
        bool done = false;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile) {
                CloseHandle(event.u.CreateProcessInfo.hFile);
            }
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile) {
                CloseHandle(event.u.LoadDll.hFile);
            }
            break;
        case OUTPUT_DEBUG_STRING_EVENT:
            AddDebugString(info.hProcess, event.u.DebugString);
            break;
        case EXCEPTION_DEBUG_EVENT:
            // The loader's initial breakpoint is ours to swallow; every other
            // exception goes back to the program's own handlers.
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                continueStatus = DBG_EXCEPTION_NOT_HANDLED;
            }
            break;
        case EXIT_PROCESS_DEBUG_EVENT: {
            std::lock_guard lock(mutex_);
            exitCode_ = event.u.ExitProcess.dwExitCode;
            done = true;
            break;
        }
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
        if (done) {
            break;
        }
    }
    WaitForSingleObject(info.hProcess, 5000);
    {
        std::lock_guard lock(mutex_);
        exited_ = true;
        processHandle_ = nullptr;
    }
    CloseHandle(info.hProcess);
    changed_.notify_all();
}

void CadrelsProcess::AddDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info)
{
    const size_t length = info.nDebugStringLength;
    if (length == 0 || length > 65536) {
        return;
    }
    std::wstring text;
    SIZE_T read = 0;
    if (info.fUnicode) {
        std::wstring buffer(length, L'\0');
        if (!ReadProcessMemory(process, info.lpDebugStringData, buffer.data(), length * sizeof(wchar_t), &read)) {
            return;
        }
        text = buffer.c_str();
    } else {
        std::string buffer(length, '\0');
        if (!ReadProcessMemory(process, info.lpDebugStringData, buffer.data(), length, &read)) {
            return;
        }
        const std::string narrow = buffer.c_str();
        const int needed = MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), nullptr, 0);
        text.resize(static_cast<size_t>(needed));
        MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), text.data(), needed);
    }
    constexpr std::wstring_view Prefix = L"[Cadrels] ";
    if (text.rfind(Prefix, 0) != 0) {
        return;
    }
    text.erase(0, Prefix.size());
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) {
        text.pop_back();
    }
    {
        std::lock_guard lock(mutex_);
        lines_.push_back(std::move(text));
    }
    changed_.notify_all();
}

std::vector<std::wstring> CadrelsProcess::Lines() const
{
    std::lock_guard lock(mutex_);
    return lines_;
}

size_t CadrelsProcess::CountLines(std::wstring_view fragment) const
{
    std::lock_guard lock(mutex_);
    return static_cast<size_t>(std::count_if(lines_.begin(), lines_.end(), [&](const std::wstring& line) {
        return line.find(fragment) != std::wstring::npos;
    }));
}

bool CadrelsProcess::WaitForLine(std::wstring_view fragment, DWORD timeoutMs, size_t count) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(Patient(timeoutMs)), [&] {
        const auto matches = std::count_if(lines_.begin(), lines_.end(), [&](const std::wstring& line) {
            return line.find(fragment) != std::wstring::npos;
        });
        return static_cast<size_t>(matches) >= count;
    });
}

bool CadrelsProcess::WaitUntilReady(DWORD timeoutMs) const
{
    return WaitForLine(L"Boucle de messages en marche", timeoutMs);
}

HWND CadrelsProcess::AppWindow() const
{
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, window, L"Cadrels.App", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId_) {
            return window;
        }
    }
    return nullptr;
}

std::optional<CadrelsProcess::Activity> CadrelsProcess::ReportActivity(DWORD timeoutMs) const
{
    constexpr std::wstring_view Prefix = L"Activite : ";
    const size_t before = CountLines(Prefix);
    HWND window = AppWindow();
    if (window == nullptr ||
        !PostMessageW(window, RegisterWindowMessageW(L"Cadrels.ReportActivity"), 0, 0) ||
        !WaitForLine(Prefix, timeoutMs, before + 1)) {
        return std::nullopt;
    }
    std::wstring last;
    for (const std::wstring& line : Lines()) {
        if (line.find(Prefix) != std::wstring::npos) {
            last = line;
        }
    }
    Activity activity;
    if (swscanf(last.c_str() + last.find(Prefix) + Prefix.size(), L"%llu messages, %llu retires, %llu minuteries",
                &activity.messages, &activity.retrieved, &activity.timers) != 3) {
        return std::nullopt;
    }
    return activity;
}

std::wstring MessageBoxText(HWND box)
{
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        if (_wcsicmp(className, L"Static") == 0) {
            wchar_t line[1024] = {};
            GetWindowTextW(child, line, 1024);
            text += std::wstring(line) + L"\n";
        }
    }
    return text;
}

HWND CadrelsProcess::WaitForMessageBox(DWORD timeoutMs) const
{
    const ULONGLONG giveUp = GetTickCount64() + Patient(timeoutMs);
    do {
        for (HWND window : TopLevelWindows(L"#32770")) {
            if (IsWindowVisible(window)) {
                return window;
            }
        }
        Sleep(20);
    } while (GetTickCount64() < giveUp);
    return nullptr;
}

std::vector<HWND> CadrelsProcess::TopLevelWindows(const wchar_t* className) const
{
    return TopLevelWindowsOf(processId_, className, false);
}

std::optional<DWORD> CadrelsProcess::Quit(DWORD timeoutMs)
{
    HWND window = AppWindow();
    if (window == nullptr) {
        return std::nullopt;
    }
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    PostThreadMessageW(thread, WM_QUIT, 0, 0);
    return WaitForExit(timeoutMs);
}

void CadrelsProcess::EndTest(bool failed)
{
    if (failed) {
        for (const std::wstring& line : Lines()) {
            std::wprintf(L"  [Cadrels] %ls\n", line.c_str());
        }
    }
    if (Running()) {
        Quit();
    }
}

std::optional<DWORD> CadrelsProcess::WaitForExit(DWORD timeoutMs) const
{
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return exited_ || !started_; })) {
        return std::nullopt;
    }
    if (!started_) {
        return std::nullopt;
    }
    return exitCode_;
}

bool CadrelsProcess::Running() const
{
    std::lock_guard lock(mutex_);
    return started_ && !exited_;
}

void CadrelsProcess::Kill()
{
    {
        std::lock_guard lock(mutex_);
        if (!started_ || exited_ || processHandle_ == nullptr) {
            return;
        }
        TerminateProcess(processHandle_, 99);
    }
    WaitForExit(10000);
}

}  // namespace cadrels::testing
