#include "gfx/ScreenSample.h"

#include "base/UniqueHandle.h"

#include <cstddef>
#include <cstdint>

namespace cadrels {

std::optional<AverageColour> AverageScreenUnder(HWND window)
{
    RECT bounds{};
    if (window == nullptr || !GetWindowRect(window, &bounds)) {
        return std::nullopt;
    }
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    const bool excluded = IsWindowVisible(window) && SetWindowDisplayAffinity(window, WDA_EXCLUDEFROMCAPTURE);

    std::optional<AverageColour> average;
    HDC screen = GetDC(nullptr);
    if (screen != nullptr) {
        UniqueMemoryDc memory(CreateCompatibleDC(screen));
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = width;
        format.bmiHeader.biHeight = -height;  // top-down
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        UniqueBitmap bitmap(CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (memory && bitmap && bits != nullptr) {
            HGDIOBJ previous = SelectObject(memory.Get(), bitmap.Get());
            if (BitBlt(memory.Get(), 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY | CAPTUREBLT)) {
                GdiFlush();
                const auto* pixels = static_cast<const std::uint8_t*>(bits);
                double sums[3] = {0, 0, 0};
                std::size_t count = 0;
                for (int y = 0; y < height; ++y) {
                    const std::uint8_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4;
                    for (int x = 0; x < width; x += 4) {
                        const std::uint8_t* pixel = row + static_cast<std::size_t>(x) * 4;
                        sums[0] += pixel[2];
                        sums[1] += pixel[1];
                        sums[2] += pixel[0];
                        ++count;
                    }
                }
                const double n = static_cast<double>(count);
                average = AverageColour{sums[0] / n, sums[1] / n, sums[2] / n};
            }
            SelectObject(memory.Get(), previous);
        }
        ReleaseDC(nullptr, screen);
    }
    if (excluded) {
        SetWindowDisplayAffinity(window, WDA_NONE);
    }
    return average;
}

}  // namespace cadrels
