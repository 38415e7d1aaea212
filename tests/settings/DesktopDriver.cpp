#include "DesktopDriver.h"

#include "Patience.h"
#include "ProcessProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace cadrels::testing {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + Patient(timeoutMs);
    while (!condition()) {
        if (GetTickCount64() >= end) {
            return false;
        }
        Sleep(15);
    }
    return true;
}

std::vector<HWND> ProcessWindows(const wchar_t* className)
{
    return TopLevelWindowsOf(GetCurrentProcessId(), className, true);
}

HWND WaitForNewWindow(const wchar_t* className, const std::vector<HWND>& known, DWORD timeoutMs)
{
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : ProcessWindows(className)) {
                if (std::find(known.begin(), known.end(), window) == known.end()) {
                    result = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return result;
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

void PostMouse(HWND window, UINT message, POINT screen)
{
    POINT client = screen;
    ScreenToClient(window, &client);
    WPARAM keys = 0;
    if (message == WM_LBUTTONDOWN) {
        keys = MK_LBUTTON;
    } else if (message == WM_RBUTTONDOWN) {
        keys = MK_RBUTTON;
    } else if (message == WM_MBUTTONDOWN) {
        keys = MK_MBUTTON;
    }
    PostMessageW(window, message, keys, MAKELPARAM(static_cast<short>(client.x), static_cast<short>(client.y)));
}

void PostClick(HWND window, POINT screen, bool right)
{
    PostMouse(window, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, screen);
    PostMouse(window, right ? WM_RBUTTONUP : WM_LBUTTONUP, screen);
}

void PostKey(HWND window, WPARAM key)
{
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageW(window, WM_KEYUP, key, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
}

namespace {

INPUT AbsoluteMouse(POINT screen, DWORD flags)
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = std::max(2, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    const int height = std::max(2, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x - left, 65535, width - 1);
    input.mi.dy = MulDiv(screen.y - top, 65535, height - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return input;
}

}  // namespace

bool SendPointerTo(POINT screen)
{
    INPUT input = AbsoluteMouse(screen, 0);
    return SendInput(1, &input, sizeof input) == 1;
}

bool SendLeftClick(POINT screen)
{
    INPUT inputs[] = {AbsoluteMouse(screen, 0), AbsoluteMouse(screen, MOUSEEVENTF_LEFTDOWN),
                      AbsoluteMouse(screen, MOUSEEVENTF_LEFTUP)};
    return SendInput(3, inputs, sizeof inputs[0]) == 3;
}

HWND FocusOf(DWORD threadId)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

ScriptThread::ScriptThread(std::function<void()> body, DWORD graceMs) : mainThread_(GetCurrentThreadId())
{
    thread_ = std::thread([this, body = std::move(body), graceMs] {
        body();
        std::unique_lock lock(mutex_);
        if (!returned_.wait_for(lock, std::chrono::milliseconds(graceMs), [this] { return loopReturned_; })) {
            timedOut_ = true;
            PostThreadMessageW(mainThread_, WM_QUIT, 0, 0);
        }
    });
}

ScriptThread::ScriptThread(const wchar_t* className, std::function<void(HWND)> body)
    : ScriptThread([className, body = std::move(body)] {
          const HWND window = WaitForNewWindow(className);
          if (window == nullptr) {
              ADD_FAILURE() << "no window of the class showed";
              return;
          }
          body(window);
      })
{
}

ScriptThread::~ScriptThread()
{
    Finish();
}

bool ScriptThread::Finish()
{
    if (finished_) {
        return timedOut_;
    }
    finished_ = true;
    {
        std::lock_guard lock(mutex_);
        loopReturned_ = true;
    }
    returned_.notify_all();
    thread_.join();
    if (timedOut_) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    return timedOut_;
}

}  // namespace cadrels::testing
