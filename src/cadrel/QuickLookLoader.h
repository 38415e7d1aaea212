// What the preview shows of one path, read off the main thread: the decoded
// picture, the beginning of a text file, or the details rows with the shell's
// icon. One worker thread with its own COM apartment and WIC factory takes the
// wanted paths newest first; its answers travel through the receiver's
// mailbox, and the posted message carries nothing.
#pragma once

#include "base/Mailbox.h"
#include "cadrel/QuickLookRules.h"
#include "gfx/IconResult.h"

#include <windows.h>
#include <wincodec.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cadrels {

// The file's first bytes as text (DecodeTextPreview); empty when the file
// cannot be read, is empty or is not text.
std::wstring ReadTextPreview(const std::wstring& path);

struct PreviewPicture {
    IconResult pixels;        // premultiplied BGRA at the decoded size
    int sourceWidth = 0;      // the picture's own size
    int sourceHeight = 0;
    int reduction = 1;        // what the decoder itself scaled by (1, 2, 4, 8)
};

// Frame 0 of a picture file, decoded no larger than maxSide on either side
// (maxSide <= 0: full size). A JPEG is first reduced inside its decoder when
// it offers that, then the Fant scaler takes it to the exact size. False when
// any step fails.
bool LoadPreviewImage(IWICImagingFactory& wic, const std::wstring& path, int maxSide, PreviewPicture& picture);

struct PreviewRequest {
    std::uint64_t session = 0;
    int index = 0;
    std::wstring path;
    int maxSide = 0;   // the window's larger side
    int iconSize = 0;  // the details view's icon side, in pixels
};

struct PreviewContent {
    std::uint64_t session = 0;
    int index = 0;
    std::wstring path;
    PreviewKind mode = PreviewKind::Details;
    // Mode picture: the picture; mode details: the icon, possibly none.
    IconResult image;
    int pictureWidth = 0;  // the source picture's size, 0 when none was decoded
    int pictureHeight = 0;
    std::wstring text;
    std::wstring name, type, sizeText, dateText;
};

// Everything LoadCurrent used to do for one path, on the calling thread.
PreviewContent LoadPreviewContent(IWICImagingFactory* wic, const PreviewRequest& request);

class PreviewLoader {
public:
    using Outbox = Mailbox<PreviewContent>;

    explicit PreviewLoader(std::shared_ptr<Outbox> outbox);
    ~PreviewLoader();
    PreviewLoader(const PreviewLoader&) = delete;
    PreviewLoader& operator=(const PreviewLoader&) = delete;

    // Replaces every waiting request with these, first one first; each
    // answer is announced to `receiver` by `message`. Starts the thread on
    // first use; false when it cannot start.
    bool Want(HWND receiver, UINT message, std::vector<PreviewRequest> requests);
    // Forgets the waiting requests (the one being read still answers).
    void Forget();
    // Ends the thread: waits a moment, then lets go of one stuck in a slow
    // decoder so that the exit never hangs on it.
    void Stop();

private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        std::deque<PreviewRequest> queue;
        HWND receiver = nullptr;
        UINT message = 0;
        bool stop = false;
        std::shared_ptr<Outbox> outbox;
        std::condition_variable ended;
        bool running = false;
    };
    static void Run(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace cadrels
