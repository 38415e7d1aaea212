#include "cadrel/QuickLookLoader.h"

#include "base/ComApartment.h"
#include "base/DebugLog.h"
#include "base/UniqueHandle.h"
#include "gfx/IconExtraction.h"
#include "gfx/WicDeclarations.h"
#include "model/PathText.h"

#include <shellapi.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

using Microsoft::WRL::ComPtr;

namespace cadrels {
namespace {

constexpr DWORD StopPatienceMs = 1000;

std::wstring ExtensionOf(const std::wstring& path)
{
    const std::wstring_view name = LastPathComponent(path);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring_view::npos ? std::wstring() : std::wstring(name.substr(dot + 1));
}

// Bits per pixel of a WIC pixel format, 0 when WIC does not know it.
UINT BitsPerPixel(IWICImagingFactory& wic, const WICPixelFormatGUID& format)
{
    ComPtr<IWICComponentInfo> info;
    ComPtr<IWICPixelFormatInfo> pixelInfo;
    UINT bits = 0;
    if (FAILED(wic.CreateComponentInfo(format, info.GetAddressOf())) || FAILED(info.As(&pixelInfo)) ||
        FAILED(pixelInfo->GetBitsPerPixel(&bits))) {
        return 0;
    }
    return bits;
}

// The frame reduced inside its decoder to the smallest size that still
// covers `target`, as a bitmap of its own; null when the decoder cannot
// reduce (most formats other than JPEG) or the reduction would not help.
ComPtr<IWICBitmapSource> ReducedInDecoder(IWICImagingFactory& wic, IWICBitmapFrameDecode& frame, int width, int height,
                                          const DecodeSize& target, int& reduction)
{
    reduction = 1;
    const int wanted = DecoderReductionFor(width, height, target);
    if (wanted == 1) {
        return nullptr;
    }
    ComPtr<IWICBitmapSourceTransform> transform;
    if (FAILED(frame.QueryInterface(IID_IWICBitmapSourceTransform,
                                    reinterpret_cast<void**>(transform.GetAddressOf())))) {
        return nullptr;
    }
    UINT reducedWidth = static_cast<UINT>((width + wanted - 1) / wanted);
    UINT reducedHeight = static_cast<UINT>((height + wanted - 1) / wanted);
    if (FAILED(transform->GetClosestSize(&reducedWidth, &reducedHeight)) ||
        reducedWidth >= static_cast<UINT>(width) || reducedWidth < static_cast<UINT>(target.width) ||
        reducedHeight < static_cast<UINT>(target.height) || reducedWidth == 0 || reducedHeight == 0) {
        return nullptr;
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(transform->GetClosestPixelFormat(&format))) {
        return nullptr;
    }
    const UINT bits = BitsPerPixel(wic, format);
    if (bits == 0) {
        return nullptr;
    }
    const UINT stride = (reducedWidth * bits + 31) / 32 * 4;
    const size_t bytes = size_t{stride} * reducedHeight;
    std::vector<BYTE> buffer(bytes);
    if (FAILED(transform->CopyPixels(nullptr, reducedWidth, reducedHeight, &format, WICBitmapTransformRotate0, stride,
                                     static_cast<UINT>(bytes), buffer.data()))) {
        return nullptr;
    }
    ComPtr<IWICBitmap> bitmap;
    if (FAILED(wic.CreateBitmapFromMemory(reducedWidth, reducedHeight, format, stride, static_cast<UINT>(bytes),
                                          buffer.data(), bitmap.GetAddressOf()))) {
        return nullptr;
    }
    reduction = static_cast<int>((static_cast<UINT>(width) + reducedWidth - 1) / reducedWidth);
    return bitmap;
}

bool CopyPremultiplied(IWICImagingFactory& wic, IWICBitmapSource& source, IconResult& out)
{
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(wic.CreateFormatConverter(converter.GetAddressOf())) ||
        FAILED(converter->Initialize(&source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return false;
    }
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0) {
        return false;
    }
    std::vector<std::uint8_t> pixels(size_t{width} * height * 4);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()), pixels.data()))) {
        return false;
    }
    out.width = width;
    out.height = height;
    out.pixels = std::move(pixels);
    return true;
}

std::wstring TypeName(const std::wstring& path, bool attributesRead, DWORD attributes)
{
    SHFILEINFOW info{};
    UINT flags = SHGFI_TYPENAME;
    DWORD assumed = attributes;
    if (!attributesRead) {
        // A path that is gone still has a type by its extension.
        flags |= SHGFI_USEFILEATTRIBUTES;
        assumed = ExtensionOf(path).empty() ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    }
    if (SHGetFileInfoW(path.c_str(), assumed, &info, sizeof info, flags) == 0) {
        return {};
    }
    return info.szTypeName;
}

std::wstring DateText(const FILETIME& written)
{
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    if (!FileTimeToSystemTime(&written, &universal)) {
        return {};
    }
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
        local = universal;
    }
    wchar_t text[32];
    swprintf(text, 32, L"%02d/%02d/%04d  %02d:%02d", local.wDay, local.wMonth, local.wYear, local.wHour,
             local.wMinute);
    return text;
}

void FillDetails(IWICImagingFactory* wic, const PreviewRequest& request, bool attributesRead,
                 const WIN32_FILE_ATTRIBUTE_DATA& data, PreviewContent& content)
{
    content.mode = PreviewKind::Details;
    content.name = std::wstring(LastPathComponent(request.path));
    const bool folder = attributesRead && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    content.type = TypeName(request.path, attributesRead, data.dwFileAttributes);
    if (attributesRead && !folder) {
        wchar_t size[64] = {};
        const ULONGLONG bytes = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (StrFormatByteSizeW(static_cast<LONGLONG>(bytes), size, 64) != nullptr) {
            content.sizeText = size;
        }
        content.dateText = DateText(data.ftLastWriteTime);
    }
    // The icon code takes care of shells that answer every request with a
    // 1 by 1 image.
    if (wic != nullptr && attributesRead) {
        IconRequest icon{request.path, request.path, request.iconSize};
        ExtractIconImage(*wic, icon, content.image);
    }
}

}  // namespace

std::wstring ReadTextPreview(const std::wstring& path)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {};
    }
    std::string bytes(TextPreviewBytes, '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return {};
    }
    bytes.resize(read);
    return DecodeTextPreview(bytes);
}

bool LoadPreviewImage(IWICImagingFactory& wic, const std::wstring& path, int maxSide, PreviewPicture& picture)
{
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(wic.CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                             decoder.GetAddressOf())) ||
        FAILED(decoder->GetFrame(0, frame.GetAddressOf()))) {
        return false;
    }
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) {
        return false;
    }
    picture.sourceWidth = static_cast<int>(width);
    picture.sourceHeight = static_cast<int>(height);
    const DecodeSize target = PreviewDecodeSize(picture.sourceWidth, picture.sourceHeight, maxSide);

    ComPtr<IWICBitmapSource> source = ReducedInDecoder(wic, *frame.Get(), picture.sourceWidth, picture.sourceHeight,
                                                       target, picture.reduction);
    if (!source) {
        source = frame;
    }
    UINT sourceWidth = 0;
    UINT sourceHeight = 0;
    if (FAILED(source->GetSize(&sourceWidth, &sourceHeight))) {
        return false;
    }
    if (sourceWidth != static_cast<UINT>(target.width) || sourceHeight != static_cast<UINT>(target.height)) {
        ComPtr<IWICBitmapScaler> scaler;
        if (FAILED(wic.CreateBitmapScaler(scaler.GetAddressOf())) ||
            FAILED(scaler->Initialize(source.Get(), static_cast<UINT>(target.width), static_cast<UINT>(target.height),
                                      WICBitmapInterpolationModeFant))) {
            return false;
        }
        source = scaler;
    }
    return CopyPremultiplied(wic, *source.Get(), picture.pixels);
}

PreviewContent LoadPreviewContent(IWICImagingFactory* wic, const PreviewRequest& request)
{
    PreviewContent content;
    content.session = request.session;
    content.index = request.index;
    content.path = request.path;
    content.name = std::wstring(LastPathComponent(request.path));

    WIN32_FILE_ATTRIBUTE_DATA data{};
    const bool attributesRead = GetFileAttributesExW(request.path.c_str(), GetFileExInfoStandard, &data) != FALSE;
    const bool folder = attributesRead && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const PreviewKind kind = folder ? PreviewKind::Details : PreviewKindForExtension(ExtensionOf(request.path));

    if (kind == PreviewKind::Picture && wic != nullptr) {
        PreviewPicture picture;
        if (LoadPreviewImage(*wic, request.path, request.maxSide, picture)) {
            DebugLog(L"Apercu rapide : image %ls decodee en %ux%u (source %dx%d, reduction 1/%d).",
                     content.name.c_str(), picture.pixels.width, picture.pixels.height, picture.sourceWidth,
                     picture.sourceHeight, picture.reduction);
            content.mode = PreviewKind::Picture;
            content.image = std::move(picture.pixels);
            content.pictureWidth = picture.sourceWidth;
            content.pictureHeight = picture.sourceHeight;
            return content;
        }
        DebugLog(L"Apercu rapide : image %ls illisible, vue des details.", content.name.c_str());
    }
    if (kind == PreviewKind::Text) {
        content.text = ReadTextPreview(request.path);
        if (!content.text.empty()) {
            content.mode = PreviewKind::Text;
            return content;
        }
    }
    FillDetails(wic, request, attributesRead, data, content);
    return content;
}

PreviewLoader::PreviewLoader(std::shared_ptr<Outbox> outbox) : shared_(std::make_shared<Shared>())
{
    shared_->outbox = std::move(outbox);
}

PreviewLoader::~PreviewLoader()
{
    Stop();
}

bool PreviewLoader::Want(HWND receiver, UINT message, std::vector<PreviewRequest> requests)
{
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->stop) {
            return false;
        }
        shared_->receiver = receiver;
        shared_->message = message;
        shared_->queue.assign(std::make_move_iterator(requests.begin()), std::make_move_iterator(requests.end()));
    }
    if (!thread_.joinable()) {
        try {
            shared_->running = true;
            thread_ = std::thread(Run, shared_);
        } catch (const std::system_error&) {
            shared_->running = false;
            DebugLog(L"Apercu rapide : le fil de lecture ne demarre pas.");
            return false;
        }
    }
    shared_->wake.notify_one();
    return true;
}

void PreviewLoader::Forget()
{
    std::lock_guard lock(shared_->mutex);
    shared_->queue.clear();
}

void PreviewLoader::Stop()
{
    if (!thread_.joinable()) {
        return;
    }
    bool ended = false;
    {
        std::unique_lock lock(shared_->mutex);
        shared_->stop = true;
        shared_->queue.clear();
        shared_->wake.notify_all();
        ended = shared_->ended.wait_for(lock, std::chrono::milliseconds(StopPatienceMs),
                                        [this] { return !shared_->running; });
    }
    if (ended) {
        thread_.join();
    } else {
        DebugLog(L"Apercu rapide : lecture encore en cours a l'arret, elle finira seule.");
        thread_.detach();
    }
}

void PreviewLoader::Run(std::shared_ptr<Shared> shared)
{
    {
        const ComApartment apartment;
        ComPtr<IWICImagingFactory> wic;
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(wic.GetAddressOf()))) &&
            FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(wic.GetAddressOf())))) {
            DebugLog(L"Apercu rapide : fabrique WIC indisponible, details seulement.");
        }
        for (;;) {
            PreviewRequest request;
            {
                std::unique_lock lock(shared->mutex);
                shared->wake.wait(lock, [&] { return shared->stop || !shared->queue.empty(); });
                if (shared->stop) {
                    break;
                }
                request = std::move(shared->queue.front());
                shared->queue.pop_front();
            }
            auto content = std::make_unique<PreviewContent>(LoadPreviewContent(wic.Get(), request));
            // Under the lock Stop takes: nothing is posted after it set the flag.
            std::lock_guard lock(shared->mutex);
            if (shared->stop) {
                break;
            }
            shared->outbox->Post(shared->receiver, shared->message, std::move(content));
        }
    }
    // The factory and the apartment are gone: only now has the thread ended for Stop.
    std::lock_guard lock(shared->mutex);
    shared->running = false;
    shared->ended.notify_all();
}

}  // namespace cadrels
