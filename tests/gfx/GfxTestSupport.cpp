#include "GfxTestSupport.h"

#include "app/AppMessages.h"
#include "app/UniqueHandle.h"
#include "app/WindowProc.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

using Microsoft::WRL::ComPtr;

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
    shot.width_ = area.right - area.left;
    shot.height_ = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width_;
    info.bmiHeader.biHeight = -shot.height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScreenDc screen;
    UniqueBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
    if (!bitmap || !memory) {
        return shot;
    }
    {
        SelectedObject selected(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, shot.width_, shot.height_, screen.Get(), area.left, area.top, SRCCOPY | CAPTUREBLT);
        GdiFlush();
    }
    const auto* source = static_cast<const std::uint32_t*>(bits);
    shot.pixels_.assign(source, source + static_cast<size_t>(shot.width_) * shot.height_);
    for (std::uint32_t& pixel : shot.pixels_) {
        pixel &= 0x00FFFFFF;
    }
    return shot;
}

Rgb ScreenShot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || pixels_.empty()) {
        return {-1, -1, -1};
    }
    const std::uint32_t pixel = pixels_[static_cast<size_t>(y) * width_ + x];
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
}

bool ScreenShot::SavePng(const std::wstring& path) const
{
    if (pixels_.empty()) {
        return false;
    }
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    const bool saved =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(factory.GetAddressOf()))) &&
        SUCCEEDED(factory->CreateStream(stream.GetAddressOf())) &&
        SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.GetAddressOf())) &&
        SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(frame.GetAddressOf(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(width_, height_)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
        SUCCEEDED(frame->WritePixels(height_, width_ * 4, static_cast<UINT>(pixels_.size() * 4),
                                     reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels_.data())))) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    frame.Reset();
    encoder.Reset();
    stream.Reset();
    factory.Reset();
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    return saved;
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
