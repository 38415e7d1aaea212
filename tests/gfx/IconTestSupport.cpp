#include "IconTestSupport.h"

#include "base/WindowProc.h"

#include <objbase.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using Microsoft::WRL::ComPtr;

namespace cadrels::testing {

CountingWindow::CountingWindow(UINT message) : message_(message)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ForwardingWndProc<CountingWindow>;
    windowClass.lpszClassName = L"Cadrels.Test.IconReceiver";
    RegisterClassExW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, this);
}

CountingWindow::~CountingWindow()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

LRESULT CountingWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == message_) {
        ++count_;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

ComPtr<IWICImagingFactory> MakeWicFactory()
{
    ComPtr<IWICImagingFactory> wic;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(wic.GetAddressOf()));
    return wic;
}

bool LoadPng(IWICImagingFactory& wic, const std::wstring& path, Image& image)
{
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(wic.CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnLoad,
                                             decoder.GetAddressOf())) ||
        FAILED(decoder->GetFrame(0, frame.GetAddressOf())) || FAILED(wic.CreateFormatConverter(converter.GetAddressOf())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return false;
    }
    UINT width = 0, height = 0;
    converter->GetSize(&width, &height);
    image.width = width;
    image.height = height;
    image.pixels.assign(size_t{width} * height * 4, 0);
    return SUCCEEDED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(image.pixels.size()), image.pixels.data()));
}

bool SavePng(IWICImagingFactory& wic, const std::wstring& path, const Image& image)
{
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(wic.CreateStream(stream.GetAddressOf())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(wic.CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.GetAddressOf())) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.GetAddressOf(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(image.width, image.height))) {
        return false;
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppPBGRA;
    if (FAILED(frame->SetPixelFormat(&format))) {
        return false;
    }
    ComPtr<IWICBitmap> bitmap;
    if (FAILED(wic.CreateBitmapFromMemory(image.width, image.height, GUID_WICPixelFormat32bppPBGRA, image.width * 4,
                                          static_cast<UINT>(image.pixels.size()),
                                          const_cast<BYTE*>(image.pixels.data()), bitmap.GetAddressOf())) ||
        FAILED(frame->WriteSource(bitmap.Get(), nullptr))) {
        return false;
    }
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

std::wstring ReferenceFolder()
{
    return CADRELS_ICON_REFERENCE_DIR;
}

std::wstring OutputFolder()
{
    return CADRELS_TEST_OUTPUT_DIR;
}

std::wstring TempFolder()
{
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    std::wstring folder = std::wstring(base) + L"cadrels-icons-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(GetTickCount());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

IconDifference CompareIcons(const Image& a, const Image& b)
{
    constexpr std::uint32_t Block = 6;
    IconDifference difference;
    double total = 0.0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        total += std::abs(int{a.pixels[i]} - int{b.pixels[i]});
    }
    difference.meanPixel = total / static_cast<double>(a.pixels.size());
    for (std::uint32_t by = 0; by < IconSide; by += Block) {
        for (std::uint32_t bx = 0; bx < IconSide; bx += Block) {
            double sums[2][4] = {};
            for (std::uint32_t y = by; y < by + Block; ++y) {
                for (std::uint32_t x = bx; x < bx + Block; ++x) {
                    const size_t at = (size_t{y} * IconSide + x) * 4;
                    for (int c = 0; c < 4; ++c) {
                        sums[0][c] += a.pixels[at + c];
                        sums[1][c] += b.pixels[at + c];
                    }
                }
            }
            double block = 0.0;
            for (int c = 0; c < 4; ++c) {
                block += std::abs(sums[0][c] - sums[1][c]) / (Block * Block);
            }
            difference.worstBlock = std::max(difference.worstBlock, block / 4.0);
        }
    }
    return difference;
}

}  // namespace cadrels::testing
