#include "FakeRunningInstance.h"

#include "base/AppMessages.h"
#include "base/WindowProc.h"

#include <chrono>

namespace cadrels::testing {

FakeRunningInstance::FakeRunningInstance(bool withWindow, DWORD windowDelayMs)
{
    mutex_ = CreateMutexW(nullptr, TRUE, SingleInstanceMutexName);
    if (!withWindow) {
        return;
    }
    thread_ = std::thread([this, windowDelayMs] { Pump(windowDelayMs); });
    if (windowDelayMs == 0) {
        std::unique_lock lock(lock_);
        changed_.wait(lock, [this] { return ready_; });
    }
}

FakeRunningInstance::~FakeRunningInstance()
{
    if (thread_.joinable()) {
        {
            std::unique_lock lock(lock_);
            changed_.wait(lock, [this] { return ready_; });
        }
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    if (mutex_ != nullptr) {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
    }
}

void FakeRunningInstance::Pump(DWORD windowDelayMs)
{
    Sleep(windowDelayMs);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ForwardingWndProc<FakeRunningInstance>;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = AppWindowClass;
    RegisterClassExW(&windowClass);
    window_ = CreateWindowExW(0, AppWindowClass, AppWindowTitle, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, this);
    MSG message{};
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // make sure the thread has a queue
    {
        std::lock_guard lock(lock_);
        threadId_ = GetCurrentThreadId();
        ready_ = true;
    }
    changed_.notify_all();
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    DestroyWindow(window_);
}

LRESULT FakeRunningInstance::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA || (message >= WM_APP && message < 0xC000)) {
        ReceivedMessage received{message, 0, 0, {}};
        if (message == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            received.copyDataKind = data->dwData;
            received.copyDataBytes = data->cbData;
            received.copyDataText.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
        }
        {
            std::lock_guard lock(lock_);
            messages_.push_back(std::move(received));
        }
        changed_.notify_all();
        return message == WM_COPYDATA ? TRUE : 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<ReceivedMessage> FakeRunningInstance::Messages() const
{
    std::lock_guard lock(lock_);
    return messages_;
}

bool FakeRunningInstance::WaitForMessages(size_t count, DWORD timeoutMs) const
{
    std::unique_lock lock(lock_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return messages_.size() >= count; });
}

}  // namespace cadrels::testing
