#include "gfx/IconExtraction.h"

#include "model/AtomicFile.h"
#include "base/Failure.h"
#include "base/UniqueHandle.h"
#include "gfx/IconPixels.h"

#include <commctrl.h>
#include <commoncontrols.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace cadrels {
namespace {

constexpr int ImageFactoryAttempts = 8;
constexpr DWORD ImageFactoryRetryMs = 50;

HRESULT CopyToResult(IWICImagingFactory& wic, IWICBitmapSource& source, IconResult& result)
{
    ComPtr<IWICFormatConverter> converter;
    CADRELS_RETURN_IF_FAILED(wic.CreateFormatConverter(converter.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(converter->Initialize(&source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                                   nullptr, 0.0, WICBitmapPaletteTypeCustom));
    UINT width = 0;
    UINT height = 0;
    CADRELS_RETURN_IF_FAILED(converter->GetSize(&width, &height));
    if (width == 0 || height == 0) {
        return E_FAIL;
    }
    std::vector<std::uint8_t> pixels(size_t{width} * height * 4);
    CADRELS_RETURN_IF_FAILED(
        converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()), pixels.data()));
    result.width = width;
    result.height = height;
    result.pixels = std::move(pixels);
    return S_OK;
}

HRESULT ConvertBitmapWith(IWICImagingFactory& wic, HBITMAP bitmap, WICBitmapAlphaChannelOption alpha,
                          IconResult& result)
{
    ComPtr<IWICBitmap> source;
    CADRELS_RETURN_IF_FAILED(wic.CreateBitmapFromHBITMAP(bitmap, nullptr, alpha, source.ReleaseAndGetAddressOf()));
    return CopyToResult(wic, *source.Get(), result);
}

bool ConvertIcon(IWICImagingFactory& wic, HICON icon, IconResult& result)
{
    ComPtr<IWICBitmap> source;
    if (FAILED(wic.CreateBitmapFromHICON(icon, source.ReleaseAndGetAddressOf()))) {
        return false;
    }
    return SUCCEEDED(CopyToResult(wic, *source.Get(), result));
}

void ClearImage(IconResult& result)
{
    result.width = 0;
    result.height = 0;
    result.pixels.clear();
}

// The shell's own thumbnail or icon. Some shells answer S_OK with a 1 by 1
// bitmap for everything; that is no image, on any system.
bool FromImageFactory(IWICImagingFactory& wic, const IconRequest& request, IconResult& result)
{
    ComPtr<IShellItemImageFactory> factory;
    if (FAILED(SHCreateItemFromParsingName(request.path.c_str(), nullptr, IID_PPV_ARGS(factory.GetAddressOf())))) {
        return false;
    }
    UniqueBitmap bitmap;
    for (int attempt = 0; attempt < ImageFactoryAttempts; ++attempt) {
        const HRESULT hr = factory->GetImage(SIZE{request.size, request.size}, SIIGBF_BIGGERSIZEOK, bitmap.Put());
        if (hr != E_PENDING) {
            if (FAILED(hr)) {
                bitmap.Reset();
            }
            break;
        }
        // A thumbnail still being made by its extractor: worth a short wait.
        bitmap.Reset();
        Sleep(ImageFactoryRetryMs);
    }
    if (!bitmap) {
        return false;
    }
    BITMAP info{};
    if (GetObjectW(bitmap.Get(), sizeof info, &info) == 0 || info.bmWidth <= 1 || std::abs(info.bmHeight) <= 1) {
        return false;
    }
    return ConvertBitmap(wic, bitmap.Get(), result);
}

// The system image list's icon at 48 pixels where the shell has one,
// where SHGFI_ICON alone stops at 32.
bool FromSystemImageList(IWICImagingFactory& wic, const IconRequest& request, IconResult& result)
{
    SHFILEINFOW info{};
    if (SHGetFileInfoW(request.path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX) == 0) {
        return false;
    }
    // Not the 256-pixel list: it pads icons drawn smaller with transparency.
    const int list = request.size > 32 ? SHIL_EXTRALARGE : SHIL_LARGE;
    ComPtr<IImageList> images;
    if (FAILED(SHGetImageList(list, IID_PPV_ARGS(images.GetAddressOf())))) {
        return false;
    }
    UniqueIcon icon;
    if (FAILED(images->GetIcon(info.iIcon, ILD_TRANSPARENT, icon.Put())) || !icon) {
        return false;
    }
    return ConvertIcon(wic, icon.Get(), result);
}

bool FromFileIcon(IWICImagingFactory& wic, const IconRequest& request, IconResult& result)
{
    SHFILEINFOW info{};
    if (SHGetFileInfoW(request.path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON) == 0 ||
        info.hIcon == nullptr) {
        return false;
    }
    const UniqueIcon icon(info.hIcon);
    return ConvertIcon(wic, icon.Get(), result);
}

}  // namespace

bool ConvertBitmap(IWICImagingFactory& wic, HBITMAP bitmap, IconResult& result)
{
    // The shell's bitmaps are premultiplied; read as straight alpha they
    // would be premultiplied again on the way to the device, darkening every
    // soft edge. A codec without the premultiplied reading takes them as
    // straight alpha.
    if (FAILED(ConvertBitmapWith(wic, bitmap, WICBitmapUsePremultipliedAlpha, result)) &&
        FAILED(ConvertBitmapWith(wic, bitmap, WICBitmapUseAlpha, result))) {
        ClearImage(result);
        return false;
    }
    if (AllAlphaZero(result.pixels) && FAILED(ConvertBitmapWith(wic, bitmap, WICBitmapIgnoreAlpha, result))) {
        ClearImage(result);
        return false;
    }
    return true;
}

bool DecodePicture(IWICImagingFactory& wic, const wchar_t* path, int size, IconResult& result)
{
    if (size <= 0) {
        return false;
    }
    // Picture paths come from data (a dock image, an item in a cadrel): the
    // file is read by our own open, identification-level only, rather than
    // by WIC's, and decoded from memory. The decoder reads from these bytes
    // until the pixels are copied out.
    std::string bytes;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    if (!ReadFileBytes(path, MaxReadableFileBytes, bytes) || FAILED(wic.CreateStream(stream.GetAddressOf())) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
        FAILED(wic.CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                           decoder.GetAddressOf()))) {
        return false;
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(decoder->GetFrame(0, frame.GetAddressOf())) || FAILED(frame->GetSize(&width, &height))) {
        return false;
    }
    const PixelSize fitted = FitWithin(width, height, static_cast<std::uint32_t>(size));
    if (fitted.width == 0) {
        return false;
    }
    ComPtr<IWICBitmapScaler> scaler;
    if (FAILED(wic.CreateBitmapScaler(scaler.GetAddressOf())) ||
        FAILED(scaler->Initialize(frame.Get(), fitted.width, fitted.height, WICBitmapInterpolationModeFant)) ||
        FAILED(CopyToResult(wic, *scaler.Get(), result))) {
        ClearImage(result);
        return false;
    }
    return true;
}

void ExtractIconImage(IWICImagingFactory& wic, const IconRequest& request, IconResult& result)
{
    if (request.path.empty() || request.size <= 0) {
        return;
    }
    if (FromImageFactory(wic, request, result)) {
        return;
    }
    if (IsPictureFile(request.path) && DecodePicture(wic, request.path.c_str(), request.size, result)) {
        return;
    }
    if (FromSystemImageList(wic, request, result)) {
        return;
    }
    FromFileIcon(wic, request, result);
}

}  // namespace cadrels
