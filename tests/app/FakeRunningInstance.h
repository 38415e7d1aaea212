// Stands in for a running Cadrels: owns the single-instance mutex and,
// optionally, a "Cadrels.App" message-only window that records what a second
// instance sends it.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cadrels::testing {

struct ReceivedMessage {
    UINT message;
    ULONG_PTR copyDataKind;    // WM_COPYDATA only
    DWORD copyDataBytes;       // WM_COPYDATA only
    std::wstring copyDataText; // WM_COPYDATA only, as sent (terminator included)
};

class FakeRunningInstance {
public:
    // With a window, it appears `windowDelayMs` after construction, as the
    // window of an instance still starting would.
    explicit FakeRunningInstance(bool withWindow, DWORD windowDelayMs = 0);
    ~FakeRunningInstance();

    std::vector<ReceivedMessage> Messages() const;
    bool WaitForMessages(size_t count, DWORD timeoutMs) const;

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Pump(DWORD windowDelayMs);

    HANDLE mutex_ = nullptr;
    std::thread thread_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    mutable std::mutex lock_;
    mutable std::condition_variable changed_;
    bool ready_ = false;
    std::vector<ReceivedMessage> messages_;
};

}  // namespace cadrels::testing
