#include "gfx/IconPixels.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <string>

namespace cadrels {

bool AllAlphaZero(const std::vector<std::uint8_t>& bgra)
{
    for (size_t i = 3; i < bgra.size(); i += 4) {
        if (bgra[i] != 0) {
            return false;
        }
    }
    return true;
}

PixelSize FitWithin(std::uint32_t width, std::uint32_t height, std::uint32_t side)
{
    if (width == 0 || height == 0 || side == 0) {
        return {};
    }
    if (width <= side && height <= side) {
        return {width, height};
    }
    const double scale = static_cast<double>(side) / std::max(width, height);
    const auto scaled = [scale](std::uint32_t length) {
        return std::max<std::uint32_t>(1, static_cast<std::uint32_t>(length * scale + 0.5));
    };
    return {std::min(scaled(width), side), std::min(scaled(height), side)};
}

bool IsPictureFile(std::wstring_view path)
{
    const size_t dot = path.rfind(L'.');
    const size_t slash = path.find_last_of(L"\\/");
    if (dot == std::wstring_view::npos || (slash != std::wstring_view::npos && dot < slash)) {
        return false;
    }
    std::wstring extension(path.substr(dot + 1));
    for (wchar_t& c : extension) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    static constexpr std::array<std::wstring_view, 8> Pictures = {L"png", L"jpg", L"jpeg", L"bmp",
                                                                 L"gif", L"tif", L"tiff", L"ico"};
    return std::find(Pictures.begin(), Pictures.end(), extension) != Pictures.end();
}

}  // namespace cadrels
