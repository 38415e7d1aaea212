// A hidden top-level window beside the message-only application window:
// message-only windows receive no broadcasts, and the program needs three
// (the taskbar restarted, a system setting changed, the displays changed).
#pragma once

#include "base/WindowClass.h"

#include <windows.h>

#include <functional>

namespace cadrels {

struct BroadcastHandlers {
    std::function<void()> taskbarCreated;
    // `area` is WM_SETTINGCHANGE's text (may be null); valid during the call only.
    std::function<void(UINT action, const wchar_t* area)> settingChanged;
    std::function<void()> displayChanged;
};

class BroadcastWindow : public WindowBase<BroadcastWindow> {
public:
    static WindowClassDesc WindowClass() { return {L"Cadrels.Broadcasts", 0, nullptr}; }

    BroadcastWindow() = default;
    ~BroadcastWindow();
    BroadcastWindow(const BroadcastWindow&) = delete;
    BroadcastWindow& operator=(const BroadcastWindow&) = delete;

    bool Create(HINSTANCE instance, BroadcastHandlers handlers);
    void Destroy();
    HWND Handle() const { return window_; }

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND window_ = nullptr;
    UINT taskbarCreated_ = 0;
    BroadcastHandlers handlers_;
};

}  // namespace cadrels
