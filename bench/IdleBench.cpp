// What the running program costs while nobody uses it: the time from process
// start to the message loop, and the private memory, CPU time, window
// messages and timers it uses over a minute of idleness after a first start
// (the welcome guide open). Then the same minute twice more on the
// arrangement that start left, once as it is and once with the dock shown
// and the pointer away from it: the dock must cost nothing while idle.
#include "CadrelsProcess.h"
#include "ProcessProbe.h"
#include "TestFiles.h"
#include "model/LayoutFile.h"
#include "model/Records.h"

#include <tlhelp32.h>

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

double CpuSeconds(HANDLE process)
{
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

unsigned StartupMilliseconds(const cadrels::testing::CadrelsProcess& process)
{
    for (const std::wstring& line : process.Lines()) {
        const size_t open = line.find(L"Boucle de messages en marche (");
        if (open != std::wstring::npos) {
            return static_cast<unsigned>(std::wcstoul(line.c_str() + open + 30, nullptr, 10));
        }
    }
    return 0;
}

int ThreadCount(DWORD processId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == processId ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

struct IdleFigures {
    double cpuSeconds = 0;
    unsigned long long timers = 0;
    bool reported = false;
};

// Starts the program on what the app-data folder holds, lets it settle and
// watches it for a minute with the pointer in the top left corner.
bool MeasureIdle(const char* title, IdleFigures& figures)
{
    constexpr DWORD SettleMs = 5000;
    constexpr DWORD IdleMs = 60000;
    std::printf("-- %s\n", title);
    SetCursorPos(5, 5);
    cadrels::testing::CadrelsProcess app;
    if (!app.Start() || !app.WaitUntilReady(60000)) {
        std::printf("Cadrels did not start\n");
        return false;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.ProcessId());
    std::printf("process start to message loop: %u ms\n", StartupMilliseconds(app));
    Sleep(SettleMs);
    const SIZE_T memoryBefore = cadrels::testing::PrivateBytes(app.ProcessId());
    const double cpuBefore = CpuSeconds(process);
    const int threadsBefore = ThreadCount(app.ProcessId());
    const auto activityBefore = app.ReportActivity();
    Sleep(IdleMs);
    const auto activityAfter = app.ReportActivity();
    const SIZE_T memoryAfter = cadrels::testing::PrivateBytes(app.ProcessId());
    const double cpuAfter = CpuSeconds(process);
    const int threadsAfter = ThreadCount(app.ProcessId());
    std::printf("private bytes after start-up: %.1f MiB\n", static_cast<double>(memoryBefore) / (1024.0 * 1024.0));
    std::printf("private bytes after 60 s idle: %.1f MiB (%+lld bytes)\n",
                static_cast<double>(memoryAfter) / (1024.0 * 1024.0),
                static_cast<long long>(memoryAfter) - static_cast<long long>(memoryBefore));
    figures.cpuSeconds = cpuAfter - cpuBefore;
    std::printf("CPU time during 60 s idle: %.3f s (%.3f %% of one core)\n", figures.cpuSeconds,
                figures.cpuSeconds / 60.0 * 100.0);
    if (activityBefore && activityAfter) {
        // The second report's own message is one of those seen.
        figures.timers = activityAfter->timers - activityBefore->timers;
        figures.reported = true;
        std::printf("window messages during 60 s idle: %llu handled, %llu taken from the queue (timers: %llu)\n",
                    activityAfter->messages - activityBefore->messages - 1,
                    activityAfter->retrieved - activityBefore->retrieved - 1, figures.timers);
    } else {
        std::printf("window messages during 60 s idle: the application window did not report\n");
    }
    std::printf("threads: %d after start-up, %d after 60 s idle\n", threadsBefore, threadsAfter);
    const bool dockShown = app.CountLines(L"Dock cree") > 0;
    std::printf("dock: %s\n", dockShown ? "shown" : "absent");
    CloseHandle(process);
    app.Quit();
    return true;
}

bool SetShowDock(bool show)
{
    cadrels::Settings settings;
    bool pagesFound = false;
    if (!cadrels::LoadSettingsFile(cadrels::testing::AppDataFolder() + L"\\layout.json", settings, pagesFound)) {
        return false;
    }
    settings.showDock = show;
    return cadrels::SaveLayout(settings);
}

}  // namespace

int main()
{
    cadrels::testing::RemoveTree(cadrels::testing::AppDataFolder());
    cadrels::testing::RemoveTree(cadrels::testing::ContainerRootFolder());
    IdleFigures first;
    if (!MeasureIdle("first start (welcome guide open)", first)) {
        return 1;
    }
    IdleFigures baseline;
    IdleFigures withDock;
    if (!SetShowDock(false) || !MeasureIdle("second start, dock off (baseline)", baseline)) {
        std::printf("the layout the first start left could not be read or the program did not start\n");
        return 1;
    }
    if (!SetShowDock(true) || !MeasureIdle("third start, dock shown, pointer away", withDock)) {
        std::printf("the layout could not be changed or the program did not start\n");
        return 1;
    }
    std::printf("idle CPU over 60 s: baseline %.3f s, with the dock %.3f s (%+.3f s); timers %llu and %llu\n",
                baseline.cpuSeconds, withDock.cpuSeconds, withDock.cpuSeconds - baseline.cpuSeconds, baseline.timers,
                withDock.timers);
    return 0;
}
