// The application's folder watcher: one thread watching the Desktop and the
// user's extra folders, posting a message to the application window whenever
// any of them changes. A folder whose watch fails (a drive unplugged, the
// folder deleted) is dropped alone and tried again with the growing delay of
// the cadrel watcher; the others keep being watched.
#pragma once

#include "base/DetachedThread.h"
#include "base/UniqueHandle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace cadrels {

class FolderSetWatcher {
public:
    FolderSetWatcher() = default;
    FolderSetWatcher(const FolderSetWatcher&) = delete;
    FolderSetWatcher& operator=(const FolderSetWatcher&) = delete;

    // Watches the first MaxWatchedFolders folders and posts `message` (both
    // parameters 0) on every change, and when a dropped folder comes back.
    // Does nothing when running or for an empty list (false). Throws
    // std::system_error when the thread cannot start.
    bool Start(std::vector<std::wstring> folders, HWND window, UINT message);
    // Signals the stop event without waiting for the thread, which may be
    // stuck opening a folder on a share that no longer answers.
    void Stop();
    bool Running() const { return thread_.Running(); }

private:
    static void Watch(std::vector<std::wstring> folders, HWND window, UINT message, UniqueHandle stopEvent);

    DetachedThread thread_;
};

}  // namespace cadrels
