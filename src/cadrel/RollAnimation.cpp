#include "cadrel/RollAnimation.h"

#include "cadrel/CadrelGeometry.h"

#include <algorithm>

namespace cadrels {

PixelRect RollAnimation::Start(const PixelRect& from, const PixelRect& to, int direction, unsigned long long now)
{
    running_ = true;
    start_ = now;
    direction_ = direction;
    startHeight_ = from.Height();
    maxHeight_ = std::max(from.Height(), to.Height());
    target_ = to;
    // Unfolding up, the bar is at the bottom and stays where it is.
    const int top = direction == UnfoldUp ? to.bottom - maxHeight_ : to.top;
    return RectFromSize(to.left, top, to.Width(), maxHeight_);
}

std::optional<PixelRect> RollAnimation::ClipAt(unsigned long long now) const
{
    const unsigned long long elapsed = now > start_ ? now - start_ : 0;
    if (!running_ || elapsed >= static_cast<unsigned long long>(RollAnimationMs)) {
        return std::nullopt;
    }
    return AnimationClip(direction_, target_.Width(), maxHeight_,
                         AnimatedHeight(startHeight_, target_.Height(), elapsed));
}

}  // namespace cadrels
