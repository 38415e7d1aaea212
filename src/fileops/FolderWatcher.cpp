#include "fileops/FolderWatcher.h"

#include "fileops/DirectoryWatch.h"
#include "fileops/WatchPlan.h"

#include <system_error>

namespace cadrels {
namespace {

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
    stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stop_) {
        return false;
    }
    try {
        thread_ = std::thread(Watch, folder, window, message, stop_.Get());
    } catch (const std::system_error&) {
        stop_.Reset();
        throw;
    }
    return true;
}

void FolderWatcher::Stop()
{
    if (thread_.joinable()) {
        SetEvent(stop_.Get());
        thread_.join();
    }
    stop_.Reset();
}

void FolderWatcher::Watch(std::wstring folder, HWND window, UINT message, HANDLE stop)
{
    DirectoryWatch watch;
    DWORD retryDelay = FirstRetryDelayMs;
    bool firstAttempt = true;
    while (!StopSignalled(stop, 0)) {
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
