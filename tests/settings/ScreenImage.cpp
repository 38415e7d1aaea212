#include "ScreenImage.h"

#include "app/UniqueHandle.h"

#include <algorithm>
#include <cstdio>

namespace cadrels::testing {

bool ScreenImage::Capture()
{
    bounds_ = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    bounds_.right = bounds_.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    bounds_.bottom = bounds_.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
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
        if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), bounds_.left, bounds_.top, SRCCOPY)) {
            return false;
        }
    }
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    pixels_.assign(source, source + static_cast<size_t>(width) * static_cast<size_t>(height));
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

}  // namespace cadrels::testing
