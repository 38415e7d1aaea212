// Shared pieces of the drawing-window tests: a stand-in for the application
// window that collects device-loss reports, message pumping, and pixels read
// back from the screen.
#pragma once

#include "ScreenImage.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace cadrels::testing {

// A message-only window in place of "Cadrels.App" that records the wParam
// of every WM_APP_DEVICE_LOST it receives.
class FakeAppWindow {
public:
    FakeAppWindow();
    ~FakeAppWindow();
    FakeAppWindow(const FakeAppWindow&) = delete;
    FakeAppWindow& operator=(const FakeAppWindow&) = delete;

    HWND Handle() const { return window_; }
    // Every report received or still queued, oldest first; forgets them.
    std::vector<WPARAM> TakeDeviceLost();

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND window_ = nullptr;
    std::vector<WPARAM> reports_;
};

// Dispatches this thread's messages for about `milliseconds`.
void PumpMessages(DWORD milliseconds);

// One screen pixel as red, green, blue.
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

// A rectangle of the screen, read with BitBlt from the screen DC.
class ScreenShot {
public:
    static ScreenShot Take(const RECT& area);

    Rgb At(int x, int y) const;  // relative to the area's top left
    int Width() const { return area_.right - area_.left; }
    int Height() const { return area_.bottom - area_.top; }
    // PNG through WIC; true on success.
    bool SavePng(const std::wstring& path) const;

private:
    RECT area_{};
    ScreenImage image_;
};

bool Near(Rgb actual, Rgb expected, int tolerance);
std::string ToText(Rgb colour);

}  // namespace cadrels::testing
