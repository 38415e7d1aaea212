// Shell icons and thumbnails as device bitmaps, answered without waiting:
// a miss queues one request for the workers and shows the latest bitmap of
// the same path (another size) or nothing until the answer arrives through
// the receiver's mailbox. Main thread only, apart from the workers.
#pragma once

#include "base/Mailbox.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/IconCacheStore.h"
#include "gfx/IconResult.h"
#include "gfx/IconWorkers.h"

#include <windows.h>
#include <d2d1_1.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>

namespace cadrels {

class IconCache {
public:
    static constexpr size_t DefaultCapacity = 512;
    // A key drawn this recently is never evicted: several tall cadrels can
    // show more icons than the capacity, and evicting what the frames draw
    // would ask the shell for the same icons again and again.
    static constexpr std::uint64_t DrawnKeysKeptMs = 2000;

    // Answers are posted as `message` to `receiver`, whose handler takes
    // them from `results` and calls OnIconReady.
    IconCache(GraphicsDevice& device, HWND receiver, UINT message, Mailbox<IconResult>& results,
              size_t capacity = DefaultCapacity, IconWorkers::Extractor extract = {});
    ~IconCache();
    IconCache(const IconCache&) = delete;
    IconCache& operator=(const IconCache&) = delete;

    // Starts the workers; throws std::system_error when a thread cannot start.
    void Start();
    // Joins the workers; later misses are not requested.
    void Stop();

    // The bitmap to draw for (path, size), or null for the placeholder.
    // Never blocks: a miss costs one queue insertion.
    ID2D1Bitmap* Get(const std::wstring& path, int size);
    void OnIconReady(const IconResult& result);
    // After the device was re-created: every bitmap belonged to the old one.
    void DropDeviceBitmaps();

    const IconCacheStore<Microsoft::WRL::ComPtr<ID2D1Bitmap>>& Store() const { return store_; }

private:
    Microsoft::WRL::ComPtr<ID2D1Bitmap> CreateDeviceBitmap(const IconResult& result) const;

    GraphicsDevice& device_;
    IconCacheStore<Microsoft::WRL::ComPtr<ID2D1Bitmap>> store_;
    IconWorkers workers_;
    bool stopped_ = false;
};

}  // namespace cadrels
