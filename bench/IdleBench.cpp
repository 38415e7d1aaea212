// What the running program costs while nobody uses it: the time from process
// start to the message loop, and the private memory, CPU time, window
// messages and timers it uses over a minute of idleness after a first start
// (the welcome guide open).
#include "CadrelsProcess.h"
#include "ProcessProbe.h"
#include "TestFiles.h"

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

}  // namespace

int main()
{
    constexpr DWORD SettleMs = 5000;
    constexpr DWORD IdleMs = 60000;
    cadrels::testing::RemoveTree(cadrels::testing::AppDataFolder());
    cadrels::testing::RemoveTree(cadrels::testing::ContainerRootFolder());
    cadrels::testing::CadrelsProcess app;
    if (!app.Start() || !app.WaitUntilReady(60000)) {
        std::printf("Cadrels did not start\n");
        return 1;
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
    std::printf("CPU time during 60 s idle: %.3f s (%.3f %% of one core)\n", cpuAfter - cpuBefore,
                (cpuAfter - cpuBefore) / 60.0 * 100.0);
    if (activityBefore && activityAfter) {
        // The second report's own message is one of those seen.
        std::printf("window messages during 60 s idle: %llu handled, %llu taken from the queue (timers: %llu)\n",
                    activityAfter->messages - activityBefore->messages - 1,
                    activityAfter->retrieved - activityBefore->retrieved - 1,
                    activityAfter->timers - activityBefore->timers);
    } else {
        std::printf("window messages during 60 s idle: the application window did not report\n");
    }
    std::printf("threads: %d after start-up, %d after 60 s idle\n", threadsBefore, threadsAfter);
    CloseHandle(process);
    app.Quit();
    return 0;
}
