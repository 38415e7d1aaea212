#include "gfx/IconCache.h"

namespace cadrels {

IconCache::IconCache(GraphicsDevice& device, HWND receiver, UINT message, Mailbox<IconResult>& results,
                     size_t capacity, IconWorkers::Extractor extract)
    : device_(device), store_(capacity, DrawnKeysKeptMs), workers_(receiver, message, results, std::move(extract))
{
}

IconCache::~IconCache()
{
    Stop();
}

void IconCache::Start()
{
    workers_.Start();
}

void IconCache::Stop()
{
    stopped_ = true;
    workers_.Stop();
}

ID2D1Bitmap* IconCache::Get(const std::wstring& path, int size)
{
    for (const std::wstring& lost : workers_.TakeUndelivered()) {
        store_.Abandon(lost);
    }
    const int asked = IconRequestSize(size);
    auto answer = store_.Get(path, asked, GetTickCount64());
    if (answer.request && !stopped_) {
        workers_.Enqueue(std::move(answer.key), path, asked);
    }
    // The store keeps a reference until the entry is evicted, which only an
    // answer (OnIconReady) or DropDeviceBitmaps does: the pointer holds for
    // the frame being drawn.
    return answer.bitmap.Get();
}

Microsoft::WRL::ComPtr<ID2D1Bitmap> IconCache::CreateDeviceBitmap(const IconResult& result) const
{
    Microsoft::WRL::ComPtr<ID2D1Bitmap> bitmap;
    ID2D1DeviceContext* context = device_.D2DContext();
    if (context == nullptr || !result.HasImage()) {
        return bitmap;
    }
    const D2D1_BITMAP_PROPERTIES properties =
        D2D1::BitmapProperties(D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
    if (FAILED(context->CreateBitmap(D2D1::SizeU(result.width, result.height), result.pixels.data(), result.width * 4,
                                     &properties, bitmap.GetAddressOf()))) {
        bitmap.Reset();
    }
    return bitmap;
}

void IconCache::OnIconReady(const IconResult& result)
{
    store_.Store(result.key, CreateDeviceBitmap(result), GetTickCount64());
}

void IconCache::DropDeviceBitmaps()
{
    store_.DropBitmaps();
}

}  // namespace cadrels
