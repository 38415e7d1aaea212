// Watches one folder on a thread of its own and posts a message to a window
// whenever it changes, and once more when the folder comes back after it
// vanished (an unplugged drive, a deleted and re-created folder). It never
// gives up: a folder that cannot be opened is tried again after 500 ms,
// doubling up to 30 s. A cadrel watches its active tab's folder with it.
#pragma once

#include "base/DetachedThread.h"
#include "base/UniqueHandle.h"

#include <windows.h>

#include <functional>
#include <string>

namespace cadrels {

class FolderWatcher {
public:
    FolderWatcher() = default;
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // Does nothing for an empty folder or when already running (false).
    // Posts `message` with both parameters 0. The folder is copied: the
    // thread never reads its owner's state. Throws std::system_error when the
    // thread cannot start.
    bool Start(const std::wstring& folder, HWND window, UINT message);
    // Signals the stop event and lets the thread go without waiting for it:
    // a thread stuck opening a folder on a share that no longer answers
    // must not hold up a tab switch or the exit. The thread owns copies of
    // all it uses, and a notice it may still post is a harmless extra
    // listing. From the owner's thread only.
    void Stop();
    bool Running() const { return thread_.Running(); }

    // Runs on the watcher thread before each attempt to open the folder.
    // For tests: it stands in for an open that hangs.
    static void SetOpenHookForTests(std::function<void()> hook);

private:
    static void Watch(std::wstring folder, HWND window, UINT message, UniqueHandle stop);

    DetachedThread thread_;
};

}  // namespace cadrels
