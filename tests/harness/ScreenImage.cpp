#include "ScreenImage.h"

#include "Patience.h"

#include "base/UniqueHandle.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <utility>
#include <cstdio>

namespace cadrels::testing {

bool ScreenImage::Capture()
{
    RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return Capture(screen);
}

bool ScreenImage::Capture(const RECT& area)
{
    bounds_ = area;
    pixels_.clear();
    const int width = bounds_.right - bounds_.left;
    const int height = bounds_.bottom - bounds_.top;

    ScreenDc screen;
    UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || bits == nullptr) {
        return false;
    }
    {
        const SelectedObject selected(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), bounds_.left, bounds_.top,
                    SRCCOPY | CAPTUREBLT)) {
            return false;
        }
    }
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    pixels_.assign(source, source + static_cast<size_t>(width) * static_cast<size_t>(height));
    for (std::uint32_t& pixel : pixels_) {
        pixel &= 0x00FFFFFF;
    }
    return true;
}

COLORREF ScreenImage::Pixel(int x, int y) const
{
    if (x < bounds_.left || x >= bounds_.right || y < bounds_.top || y >= bounds_.bottom || pixels_.empty()) {
        return CLR_INVALID;
    }
    const size_t width = static_cast<size_t>(bounds_.right - bounds_.left);
    const std::uint32_t value =
        pixels_[static_cast<size_t>(y - bounds_.top) * width + static_cast<size_t>(x - bounds_.left)];
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

bool ScreenImage::SaveBmp(const std::wstring& path) const
{
    return SaveBmp(path, bounds_);
}

bool ScreenImage::SaveBmp(const std::wstring& path, const RECT& area) const
{
    RECT clipped{};
    if (!IntersectRect(&clipped, &area, &bounds_)) {
        return false;
    }
    const int width = clipped.right - clipped.left;
    const int height = clipped.bottom - clipped.top;
    const size_t stride = static_cast<size_t>(bounds_.right - bounds_.left);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const DWORD imageBytes = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + imageBytes;

    FILE* out = _wfopen(path.c_str(), L"wb");
    if (out == nullptr) {
        return false;
    }
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1;
    for (int y = clipped.top; written && y < clipped.bottom; ++y) {
        const std::uint32_t* row =
            pixels_.data() + static_cast<size_t>(y - bounds_.top) * stride + static_cast<size_t>(clipped.left - bounds_.left);
        written = std::fwrite(row, 4, static_cast<size_t>(width), out) == static_cast<size_t>(width);
    }
    return std::fclose(out) == 0 && written;
}

bool ScreenImage::SavePng(const std::wstring& path) const
{
    using Microsoft::WRL::ComPtr;
    if (pixels_.empty()) {
        return false;
    }
    const int width = bounds_.right - bounds_.left;
    const int height = bounds_.bottom - bounds_.top;
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool saved = false;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapEncoder> encoder;
        ComPtr<IWICBitmapFrameEncode> frame;
        WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
        saved = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_PPV_ARGS(factory.GetAddressOf()))) &&
                SUCCEEDED(factory->CreateStream(stream.GetAddressOf())) &&
                SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
                SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.GetAddressOf())) &&
                SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
                SUCCEEDED(encoder->CreateNewFrame(frame.GetAddressOf(), nullptr)) &&
                SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->SetSize(width, height)) &&
                SUCCEEDED(frame->SetPixelFormat(&format)) &&
                SUCCEEDED(frame->WritePixels(height, width * 4, static_cast<UINT>(pixels_.size() * 4),
                                             reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels_.data())))) &&
                SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    return saved;
}

bool CaptureSettled(ScreenImage& image, DWORD timeoutMs)
{
    return CaptureSettled(image, [](const ScreenImage&) { return true; }, timeoutMs);
}

bool CaptureSettled(ScreenImage& image, const std::function<bool(const ScreenImage&)>& shows, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + Patient(timeoutMs);
    if (!image.Capture()) {
        return false;
    }
    while (GetTickCount64() < end) {
        Sleep(250);
        ScreenImage next;
        if (!next.Capture()) {
            return false;
        }
        const bool settled = next.SameAs(image) && shows(next);
        image = std::move(next);
        if (settled) {
            return true;
        }
    }
    return false;
}

}  // namespace cadrels::testing
