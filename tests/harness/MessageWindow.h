// A message-only window for a test thread: the code under test posts its
// notices to it, and the test pumps until the one it waits for arrives.
#pragma once

#include <windows.h>

#include "Patience.h"

namespace cadrels::testing {

class MessageWindow {
public:
    MessageWindow() : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr))
    {
    }
    ~MessageWindow() { DestroyWindow(window_); }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND Get() const { return window_; }

    // Pumps until `message` arrives; false after the time-out.
    bool WaitFor(UINT message, DWORD timeoutMs) const
    {
        const ULONGLONG end = GetTickCount64() + Patient(timeoutMs);
        for (;;) {
            MSG msg{};
            while (PeekMessageW(&msg, window_, 0, 0, PM_REMOVE)) {
                if (msg.message == message) {
                    return true;
                }
                DispatchMessageW(&msg);
            }
            const ULONGLONG now = GetTickCount64();
            if (now >= end) {
                return false;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_POSTMESSAGE);
        }
    }

private:
    HWND window_;
};

}  // namespace cadrels::testing
