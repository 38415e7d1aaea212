#include "GfxTestSupport.h"

#include "base/AppMessages.h"
#include "base/UniqueHandle.h"
#include "base/WindowProc.h"


#include <cstdio>
#include <cstdlib>
#include <utility>


namespace cadrels::testing {

FakeAppWindow::FakeAppWindow()
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ForwardingWndProc<FakeAppWindow>;
    windowClass.lpszClassName = L"Cadrels.Test.FakeApp";
    RegisterClassExW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, this);
}

LRESULT FakeAppWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP_DEVICE_LOST) {
        reports_.push_back(wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

FakeAppWindow::~FakeAppWindow()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

std::vector<WPARAM> FakeAppWindow::TakeDeviceLost()
{
    MSG message;
    while (PeekMessageW(&message, window_, WM_APP_DEVICE_LOST, WM_APP_DEVICE_LOST, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    return std::exchange(reports_, {});
}

void PumpMessages(DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    } while (GetTickCount64() < end);
}

ScreenShot ScreenShot::Take(const RECT& area)
{
    ScreenShot shot;
    shot.area_ = area;
    shot.image_.Capture(area);
    return shot;
}

Rgb ScreenShot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return {-1, -1, -1};
    }
    const COLORREF pixel = image_.Pixel(area_.left + x, area_.top + y);
    if (pixel == CLR_INVALID) {
        return {-1, -1, -1};
    }
    return {GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)};
}

bool ScreenShot::SavePng(const std::wstring& path) const
{
    return image_.SavePng(path);
}

bool Near(Rgb actual, Rgb expected, int tolerance)
{
    return std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
           std::abs(actual.b - expected.b) <= tolerance;
}

std::string ToText(Rgb colour)
{
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d, %d)", colour.r, colour.g, colour.b);
    return text;
}

}  // namespace cadrels::testing
