#include "PreviewFiles.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <vector>

namespace cadrels::testing {

using Microsoft::WRL::ComPtr;

bool WriteSolidJpeg(const std::wstring& path, UINT width, UINT height, COLORREF colour)
{
    // Whatever apartment the thread already has will do for the encoder.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ComPtr<IWICImagingFactory> wic;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&wic))) ||
        FAILED(wic->CreateStream(&stream)) || FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(wic->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &options)) || FAILED(frame->Initialize(options.Get())) ||
        FAILED(frame->SetSize(width, height))) {
        return false;
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) {
        return false;
    }
    constexpr UINT Band = 100;
    const UINT stride = width * 3;
    std::vector<BYTE> rows(size_t{stride} * Band);
    for (size_t i = 0; i + 2 < rows.size(); i += 3) {
        rows[i] = GetBValue(colour);
        rows[i + 1] = GetGValue(colour);
        rows[i + 2] = GetRValue(colour);
    }
    for (UINT done = 0; done < height; done += Band) {
        const UINT lines = std::min(Band, height - done);
        if (FAILED(frame->WritePixels(lines, stride, stride * lines, rows.data()))) {
            return false;
        }
    }
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace cadrels::testing
