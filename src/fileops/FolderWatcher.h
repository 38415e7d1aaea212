// Watches one folder on a thread of its own and posts a message to a window
// whenever it changes, and once more when the folder comes back after it
// vanished (an unplugged drive, a deleted and re-created folder). It never
// gives up: a folder that cannot be opened is tried again after 500 ms,
// doubling up to 30 s. A cadrel watches its active tab's folder with it.
#pragma once

#include "base/UniqueHandle.h"

#include <windows.h>

#include <string>
#include <thread>

namespace cadrels {

class FolderWatcher {
public:
    FolderWatcher() = default;
    ~FolderWatcher() { Stop(); }
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // Does nothing for an empty folder or when already running (false).
    // Posts `message` with both parameters 0. The folder is copied: the
    // thread never reads its owner's state. Throws std::system_error when the
    // thread cannot start.
    bool Start(const std::wstring& folder, HWND window, UINT message);
    // Signals the stop event and joins; from the owner's thread only.
    void Stop();
    bool Running() const { return thread_.joinable(); }

private:
    static void Watch(std::wstring folder, HWND window, UINT message, HANDLE stop);

    UniqueHandle stop_;
    std::thread thread_;
};

}  // namespace cadrels
