// The polling safety net's view of another application's window being moved,
// for systems where the window-event hooks never fire. A move shows as the
// foreground window's rectangle changing while the button is held or, where
// the system drags only an outline, as a rectangle that changed over a press
// once the button is released. Plain values only, so the rule is tested on
// any host.
#pragma once

#include "base/PixelGeometry.h"

#include <cstdint>

namespace cadrels {

// What one poll saw of the foreground window.
struct ForegroundSample {
    std::uintptr_t window = 0;
    PixelRect rect;
    // Another process's window whose rectangle could be read.
    bool movable = false;
    bool buttonDown = false;
};

enum class ForegroundMove { None, Started, Ended };

class ForegroundMoveWatch {
public:
    // One poll; `following` tells whether a move is already being followed
    // (a hook or an earlier poll reported its start).
    ForegroundMove Observe(const ForegroundSample& sample, bool following);

    // A move ended another way (a hook, the tracking timer): the press that
    // began it must not end it a second time.
    void EndPress() { pressSeen_ = false; }

    // Polling starts again after a pause: the window seen before the pause
    // tells nothing about the one in front now.
    void ForgetForeground() { watched_ = 0; }

private:
    // The foreground window and its rectangle when the button went down.
    bool pressSeen_ = false;
    std::uintptr_t pressWindow_ = 0;
    PixelRect pressRect_;
    // The movable foreground window of the previous poll and its rectangle.
    std::uintptr_t watched_ = 0;
    PixelRect watchedRect_;
};

}  // namespace cadrels
