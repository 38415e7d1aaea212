#include "fileops/FolderWatcher.h"

#include "fileops/DirectoryWatch.h"
#include "fileops/WatchPlan.h"

#include <mutex>
#include <system_error>

namespace cadrels {
namespace {

std::mutex openHookLock;
std::function<void()> openHook;

void RunOpenHook()
{
    std::function<void()> hook;
    {
        std::lock_guard lock(openHookLock);
        hook = openHook;
    }
    if (hook) {
        hook();
    }
}

constexpr DWORD CadrelFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                               FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                               FILE_NOTIFY_CHANGE_LAST_WRITE;

// Waits `ms` on the stop event; true when it was signalled.
bool StopSignalled(HANDLE stop, DWORD ms)
{
    return WaitForSingleObject(stop, ms) != WAIT_TIMEOUT;
}

}  // namespace

bool FolderWatcher::Start(const std::wstring& folder, HWND window, UINT message)
{
    if (folder.empty() || Running()) {
        return false;
    }
    return thread_.Start([folder, window, message](UniqueHandle stop) {
        Watch(folder, window, message, std::move(stop));
    });
}

void FolderWatcher::Stop()
{
    thread_.Stop();
}

void FolderWatcher::SetOpenHookForTests(std::function<void()> hook)
{
    std::lock_guard lock(openHookLock);
    openHook = std::move(hook);
}

void FolderWatcher::Watch(std::wstring folder, HWND window, UINT message, UniqueHandle stopEvent)
{
    const HANDLE stop = stopEvent.Get();
    DirectoryWatch watch;
    DWORD retryDelay = FirstRetryDelayMs;
    bool firstAttempt = true;
    while (!StopSignalled(stop, 0)) {
        RunOpenHook();
        if (StopSignalled(stop, 0)) {
            return;
        }
        if (!watch.Open(folder)) {
            firstAttempt = false;
            if (StopSignalled(stop, retryDelay)) {
                return;
            }
            retryDelay = NextRetryDelay(retryDelay);
            continue;
        }
        if (!firstAttempt) {
            PostMessageW(window, message, 0, 0);  // the folder came back
        }
        firstAttempt = false;
        for (;;) {
            if (!watch.Request(CadrelFilter)) {
                break;
            }
            const HANDLE events[] = {stop, watch.Event()};
            DWORD woken = WAIT_TIMEOUT;
            while (woken == WAIT_TIMEOUT && watch.StillAt(folder)) {
                woken = WaitForMultipleObjects(2, events, FALSE, FolderRecheckMs);
            }
            if (woken == WAIT_OBJECT_0) {
                return;  // the watch cancels its request as it goes
            }
            if (woken == WAIT_TIMEOUT) {
                PostMessageW(window, message, 0, 0);  // the folder went away
                break;
            }
            if (woken != WAIT_OBJECT_0 + 1 || !watch.Completed()) {
                break;
            }
            PostMessageW(window, message, 0, 0);
        }
        watch.Close();
        retryDelay = FirstRetryDelayMs;
        if (StopSignalled(stop, RewatchPauseMs)) {
            return;
        }
    }
}

}  // namespace cadrels
