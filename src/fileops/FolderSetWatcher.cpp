#include "fileops/FolderSetWatcher.h"

#include "base/DebugLog.h"
#include "fileops/DirectoryWatch.h"
#include "fileops/WatchPlan.h"

#include <algorithm>
#include <memory>
#include <system_error>

namespace cadrels {
namespace {

constexpr DWORD ApplicationFilter =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;

struct Slot {
    std::wstring folder;
    DirectoryWatch watch;
    ULONGLONG retryAt = 0;
    DWORD retryDelay = FirstRetryDelayMs;
};

bool Arm(Slot& slot)
{
    return slot.watch.Open(slot.folder) && slot.watch.Request(ApplicationFilter);
}

void Drop(Slot& slot, ULONGLONG now)
{
    slot.watch.Close();
    slot.retryDelay = FirstRetryDelayMs;
    slot.retryAt = now + RewatchPauseMs;
    DebugLog(L"Dossier surveille perdu, nouvel essai plus tard : %s", slot.folder.c_str());
}

}  // namespace

bool FolderSetWatcher::Start(std::vector<std::wstring> folders, HWND window, UINT message)
{
    if (folders.empty() || Running()) {
        return false;
    }
    return thread_.Start([folders = std::move(folders), window, message](UniqueHandle stop) mutable {
        Watch(std::move(folders), window, message, std::move(stop));
    });
}

void FolderSetWatcher::Stop()
{
    thread_.Stop();
}

void FolderSetWatcher::Watch(std::vector<std::wstring> folders, HWND window, UINT message, UniqueHandle stopEvent)
{
    const HANDLE stop = stopEvent.Get();
    folders.resize(std::min(folders.size(), MaxWatchedFolders));
    std::vector<std::unique_ptr<Slot>> slots;
    const ULONGLONG start = GetTickCount64();
    for (std::wstring& folder : folders) {
        auto slot = std::make_unique<Slot>();
        slot->folder = std::move(folder);
        if (!Arm(*slot)) {
            Drop(*slot, start);
        }
        slots.push_back(std::move(slot));
    }

    ULONGLONG nextRecheck = start + FolderRecheckMs;
    std::vector<HANDLE> handles;
    std::vector<Slot*> watched;  // watched[i] answers handles[i + 1]
    for (;;) {
        handles.assign(1, stop);
        watched.clear();
        const ULONGLONG now = GetTickCount64();
        ULONGLONG nextRetry = nextRecheck;
        for (const auto& slot : slots) {
            if (slot->watch.IsOpen()) {
                handles.push_back(slot->watch.Event());
                watched.push_back(slot.get());
            } else {
                nextRetry = std::min(nextRetry, slot->retryAt);
            }
        }
        const DWORD timeout = static_cast<DWORD>(nextRetry > now ? nextRetry - now : 0);
        const DWORD woken =
            WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, timeout);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) {
            break;
        }
        if (woken == WAIT_TIMEOUT) {
            const ULONGLONG retryNow = GetTickCount64();
            if (retryNow >= nextRecheck) {
                nextRecheck = retryNow + FolderRecheckMs;
                for (const auto& slot : slots) {
                    if (slot->watch.IsOpen() && !slot->watch.StillAt(slot->folder)) {
                        Drop(*slot, retryNow);
                        PostMessageW(window, message, 0, 0);
                    }
                }
            }
            for (const auto& slot : slots) {
                if (slot->watch.IsOpen() || slot->retryAt > retryNow) {
                    continue;
                }
                if (Arm(*slot)) {
                    DebugLog(L"Dossier surveille de nouveau : %s", slot->folder.c_str());
                    // What arrived while it was away has not been sorted.
                    PostMessageW(window, message, 0, 0);
                } else {
                    slot->watch.Close();
                    slot->retryAt = retryNow + slot->retryDelay;
                    slot->retryDelay = NextRetryDelay(slot->retryDelay);
                }
            }
            continue;
        }
        const DWORD index = woken - WAIT_OBJECT_0 - 1;
        if (index >= watched.size()) {
            break;
        }
        Slot& slot = *watched[index];
        if (!slot.watch.Completed()) {
            Drop(slot, GetTickCount64());
            continue;
        }
        PostMessageW(window, message, 0, 0);
        // A folder deleted under our open handle would stay pending deletion
        // (and its name taken) for as long as we hold it.
        if (!slot.watch.StillAt(slot.folder) || !slot.watch.Request(ApplicationFilter)) {
            Drop(slot, GetTickCount64());
        }
    }
    // Each slot's watch cancels its request, waits for it and closes.
}

}  // namespace cadrels
