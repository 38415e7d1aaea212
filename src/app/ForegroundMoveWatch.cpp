#include "app/ForegroundMoveWatch.h"

namespace cadrels {

ForegroundMove ForegroundMoveWatch::Observe(const ForegroundSample& sample, bool following)
{
    ForegroundMove seen = ForegroundMove::None;
    if (sample.buttonDown && !pressSeen_ && sample.movable) {
        // The poll may come after the window already moved a little: its
        // rectangle before the press is the one of the previous poll.
        pressSeen_ = true;
        pressWindow_ = sample.window;
        pressRect_ = sample.window == watched_ ? watchedRect_ : sample.rect;
    }
    if (!following && sample.movable && sample.buttonDown && sample.window == watched_ &&
        sample.rect != watchedRect_) {
        seen = ForegroundMove::Started;
    }
    if (!sample.buttonDown && pressSeen_) {
        pressSeen_ = false;
        if (!following && pressWindow_ == sample.window && sample.movable && sample.rect != pressRect_) {
            seen = ForegroundMove::Ended;
        }
    }
    watched_ = sample.movable ? sample.window : 0;
    watchedRect_ = sample.rect;
    return seen;
}

}  // namespace cadrels
