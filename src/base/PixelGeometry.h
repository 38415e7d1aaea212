// Rectangles and points in whole pixels, as windows and monitors are placed.
// Plain values, free of Windows headers.
#pragma once

namespace cadrels {

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

inline PixelRect RectFromSize(int x, int y, int width, int height)
{
    return {x, y, x + width, y + height};
}

// A DPI as a factor of the 96 DPI that sizes are designed at; an unknown DPI
// (0) counts as 96.
constexpr float DpiScale(unsigned dpi)
{
    return dpi == 0 ? 1.0f : static_cast<float>(dpi) / 96.0f;
}

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

}  // namespace cadrels
