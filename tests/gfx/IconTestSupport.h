// Pieces the icon tests share: a message-only window that counts the
// messages it is sent, pixel images read and written through WIC, and the
// folders the icon tests read from and write to.
#pragma once

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <vector>

namespace cadrels::testing {

class CountingWindow {
public:
    explicit CountingWindow(UINT message);
    ~CountingWindow();
    CountingWindow(const CountingWindow&) = delete;
    CountingWindow& operator=(const CountingWindow&) = delete;

    HWND Handle() const { return window_; }
    int Count() const { return count_; }
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    UINT message_;
    HWND window_ = nullptr;
    int count_ = 0;
};

// Premultiplied BGRA, top row first.
struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;
};

Microsoft::WRL::ComPtr<IWICImagingFactory> MakeWicFactory();
bool LoadPng(IWICImagingFactory& wic, const std::wstring& path, Image& image);
bool SavePng(IWICImagingFactory& wic, const std::wstring& path, const Image& image);

// How far two renderings of one icon are apart. Edges are antialiased
// differently by every rasteriser, so the comparison is also on 6 by 6
// blocks: a wrong colour, gradient direction, fill rule or misplaced glyph
// changes whole blocks, a different edge does not.
struct IconDifference {
    double meanPixel = 0.0;   // mean absolute difference per channel, 0..255
    double worstBlock = 0.0;  // largest mean difference of a block's average colour
};
constexpr std::uint32_t IconSide = 48;
// Different antialiasing stays below these bounds; a wrong drawing does not.
constexpr double MaxIconMeanPixel = 7.0;
constexpr double MaxIconWorstBlock = 30.0;
// Both images IconSide square.
IconDifference CompareIcons(const Image& a, const Image& b);
inline bool IconsMatch(const IconDifference& d)
{
    return d.meanPixel <= MaxIconMeanPixel && d.worstBlock <= MaxIconWorstBlock;
}

std::wstring ReferenceFolder();  // the reference PNGs of the built-in icons
std::wstring OutputFolder();     // the build folder, for pictures a person looks at
std::wstring TempFolder();       // a fresh folder under the user's temporary folder

}  // namespace cadrels::testing
