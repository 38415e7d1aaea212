#include "app/BroadcastWindow.h"

namespace cadrels {

BroadcastWindow::~BroadcastWindow()
{
    Destroy();
}

bool BroadcastWindow::Create(HINSTANCE instance, BroadcastHandlers handlers)
{
    handlers_ = std::move(handlers);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    // Never shown; a tool window so that it never reaches the taskbar.
    window_ = CreateOwnWindow(instance, WS_EX_TOOLWINDOW, L"", WS_POPUP, 0, 0, 0, 0);
    if (window_ != nullptr && taskbarCreated_ != 0) {
        // An elevated process would otherwise not hear from a non-elevated shell.
        ChangeWindowMessageFilterEx(window_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
    }
    return window_ != nullptr;
}

void BroadcastWindow::Destroy()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

LRESULT BroadcastWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        if (handlers_.taskbarCreated) {
            handlers_.taskbarCreated();
        }
        return 0;
    }
    switch (message) {
    case WM_SETTINGCHANGE:
        if (handlers_.settingChanged) {
            handlers_.settingChanged(static_cast<UINT>(wParam), reinterpret_cast<const wchar_t*>(lParam));
        }
        return 0;
    case WM_DISPLAYCHANGE:
        if (handlers_.displayChanged) {
            handlers_.displayChanged();
        }
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace cadrels
