// The low-level mouse and keyboard hooks that watch the whole desktop: the
// mouse hook turns two quick presses into WM_APP_DESKTOP_DBLCLICK, the
// keyboard hook turns Space over a cadrel with a selection into
// WM_APP_QUICK_LOOK. Both run on a thread of their own with its own message
// loop: Windows silently removes a low-level hook whose procedure does not
// return in time, and the main thread is sometimes held by a modal shell
// dialog or a long paint. The procedures compare numbers, read what the main
// thread published (window properties) and post; nothing else.
#pragma once

#include <windows.h>

#include <thread>

namespace cadrels {

class DesktopHooks {
public:
    DesktopHooks() = default;
    ~DesktopHooks() { Stop(); }
    DesktopHooks(const DesktopHooks&) = delete;
    DesktopHooks& operator=(const DesktopHooks&) = delete;

    // Starts the thread and installs both hooks, posting to `appWindow`. A
    // hook that cannot be installed leaves its feature inert (logged).
    void Start(HWND appWindow);
    // Removes the mouse hook, then the keyboard hook, and ends the thread.
    void Stop();

    bool MouseHooked() const { return mouseHooked_; }
    bool KeyboardHooked() const { return keyboardHooked_; }

private:
    void Run(HANDLE ready);

    std::thread thread_;
    DWORD threadId_ = 0;
    bool mouseHooked_ = false;
    bool keyboardHooked_ = false;
};

}  // namespace cadrels
