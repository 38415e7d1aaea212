// The icon cache: created at start-up, fed by its workers through the
// application's mailbox, emptied of device bitmaps after a device
// re-creation, and stopped before the window and COM go.
#include "app/App.h"

#include "base/AppMessages.h"

namespace cadrels {

void App::CreateIconCache()
{
    iconCache_ = std::make_unique<IconCache>(graphics_, window_, WM_APP_ICON_READY, iconResults_);
    // std::thread throws std::system_error when a worker cannot start.
    iconCache_->Start();
}

void App::StopIconCache()
{
    if (iconCache_) {
        iconCache_->Stop();
    }
    // Answers that arrived after the last message was handled are dropped
    // with the cache.
    iconResults_.TakeAll();
}

// The message carries nothing: every answer waiting in the mailbox is taken,
// so a burst of answers costs one refresh, and a message that finds the
// mailbox empty (an earlier one took its answer, or another process sent
// it) does nothing.
void App::OnIconReady()
{
    bool any = false;
    while (std::unique_ptr<IconResult> result = iconResults_.Take()) {
        if (iconCache_) {
            iconCache_->OnIconReady(*result);
            any = true;
        }
    }
    if (any) {
        schedule_.IconsArrived();
    }
}

void App::OnGraphicsRecreated()
{
    if (iconCache_) {
        iconCache_->DropDeviceBitmaps();
    }
}

}  // namespace cadrels
