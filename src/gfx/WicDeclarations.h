// Declarations from the Windows SDK that the MinGW-w64 WIC header lacks,
// taken from the public documentation.
#pragma once

#include <guiddef.h>
#include <unknwn.h>
#include <wincodec.h>

namespace cadrels {

// IWICBitmapSourceTransform (wincodec.h): a decoder that scales, flips or
// converts while it decodes, as the JPEG decoder does by 1/2, 1/4 and 1/8.
inline constexpr GUID IID_IWICBitmapSourceTransform = {
    0x3b16811b, 0x6a43, 0x4ec9, {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};

struct IWICBitmapSourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format, WICBitmapTransformOptions transform,
                                                 UINT stride, UINT bufferSize, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};

}  // namespace cadrels
