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

std::wstring ReferenceFolder();  // the reference PNGs of the built-in icons
std::wstring OutputFolder();     // the build folder, for pictures a person looks at
std::wstring TempFolder();       // a fresh folder under the user's temporary folder

}  // namespace cadrels::testing
