// Drives the menus and prompts as a user would while their modal loops run
// on the test's main thread: a script thread finds their windows and posts
// input to them, and a watchdog ends a loop that the script failed to end.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace cadrels::testing {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// Visible top-level windows of this process with the class.
std::vector<HWND> ProcessWindows(const wchar_t* className);

// The first visible window of the class that is not in `known`, or null
// after the timeout.
HWND WaitForNewWindow(const wchar_t* className, const std::vector<HWND>& known = {}, DWORD timeoutMs = 5000);

RECT WindowRect(HWND window);

// Posts a mouse message to `window` for a point given in screen coordinates,
// as Windows delivers it to a window that holds the capture.
void PostMouse(HWND window, UINT message, POINT screen);
// A press and a release of the left (or right) button.
void PostClick(HWND window, POINT screen, bool right = false);
// WM_KEYDOWN then WM_KEYUP.
void PostKey(HWND window, WPARAM key);

// Real input through SendInput: moves the pointer to a screen point, and
// presses and releases the left button there.
bool SendPointerTo(POINT screen);
bool SendLeftClick(POINT screen);

// The window that has the keyboard focus on the given thread.
HWND FocusOf(DWORD threadId);

class ScriptThread {
public:
    // Starts `body` on its own thread. If the modal loop has not returned
    // `graceMs` after the body ended, WM_QUIT is posted to the creating
    // thread to end it.
    explicit ScriptThread(std::function<void()> body, DWORD graceMs = 8000);
    // The same for a script that starts once a window of the class shows;
    // the test fails when none shows.
    ScriptThread(const wchar_t* className, std::function<void(HWND)> body);
    ~ScriptThread();
    ScriptThread(const ScriptThread&) = delete;
    ScriptThread& operator=(const ScriptThread&) = delete;

    // Called once the modal loop returned: joins the script and removes the
    // watchdog's WM_QUIT. True when the watchdog had to end the loop.
    bool Finish();

    DWORD MainThreadId() const { return mainThread_; }

private:
    DWORD mainThread_;
    std::mutex mutex_;
    std::condition_variable returned_;
    bool loopReturned_ = false;
    bool timedOut_ = false;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace cadrels::testing
