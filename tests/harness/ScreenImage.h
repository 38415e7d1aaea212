// A copy of the screen as it stands (all of it, or a rectangle), read pixel
// by pixel and saved as BMP or PNG.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cadrels::testing {

class ScreenImage {
public:
    // Copies the whole virtual screen through the screen DC.
    bool Capture();
    // Copies one rectangle of it, in screen coordinates.
    bool Capture(const RECT& area);

    // COLORREF of a screen point; CLR_INVALID outside the capture.
    COLORREF Pixel(int x, int y) const;
    COLORREF Pixel(POINT point) const { return Pixel(point.x, point.y); }

    // A 32-bit top-down BMP of the capture, or of `area` of it.
    bool SaveBmp(const std::wstring& path) const;
    bool SaveBmp(const std::wstring& path, const RECT& area) const;
    // The whole capture as PNG, through WIC.
    bool SavePng(const std::wstring& path) const;

    bool SameAs(const ScreenImage& other) const
    {
        return EqualRect(&bounds_, &other.bounds_) && pixels_ == other.pixels_;
    }

private:
    RECT bounds_{};
    std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, top row first
};

// Captures the whole screen until two captures a quarter of a second apart
// are the same: whatever was still arriving (icons, a redraw, an animation)
// has been drawn. False when the screen never came to rest.
bool CaptureSettled(ScreenImage& image, DWORD timeoutMs = 10000);
// The same, once the capture also shows what is awaited: a change that
// starts late would otherwise find a screen still at rest before it.
bool CaptureSettled(ScreenImage& image, const std::function<bool(const ScreenImage&)>& shows,
                    DWORD timeoutMs = 10000);

}  // namespace cadrels::testing
