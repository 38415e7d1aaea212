// Small pixel and file-name rules of icon extraction. Free of Windows headers.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace cadrels {

// True when no pixel has any alpha: what a bitmap without an alpha channel
// looks like after a conversion that trusted its (unused) fourth byte.
bool AllAlphaZero(const std::vector<std::uint8_t>& bgra);

struct PixelSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The size of a `width` by `height` picture scaled to fit a `side` square,
// proportions kept, never enlarged, never below 1 pixel on either side.
PixelSize FitWithin(std::uint32_t width, std::uint32_t height, std::uint32_t side);

// Pictures that WIC decodes on every system: PNG, JPEG, BMP, GIF, TIFF, ICO
// (by extension, in any case).
bool IsPictureFile(std::wstring_view path);

}  // namespace cadrels
