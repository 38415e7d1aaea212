// Watches the system's light/dark setting on a worker thread and tells the
// application window when it changes.
#pragma once

#include <windows.h>

#include <thread>

namespace cadrels {

class ThemeWatcher {
public:
    ThemeWatcher() = default;
    ~ThemeWatcher();
    ThemeWatcher(const ThemeWatcher&) = delete;
    ThemeWatcher& operator=(const ThemeWatcher&) = delete;

    // Posts WM_APP_SYSTEM_THEME_CHANGED to `window` on every change until
    // `stopEvent` (manual reset) is signalled; the event must outlive this
    // object, which signals it itself when destroyed while still running.
    // Throws std::system_error when the thread cannot be started.
    void Start(HWND window, HANDLE stopEvent);
    bool Running() const { return thread_.joinable(); }
    // The stop event must be signalled first.
    void Join();

private:
    std::thread thread_;
    HANDLE stopEvent_ = nullptr;
};

}  // namespace cadrels
