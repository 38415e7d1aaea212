// The vertical roll of a cadrel to its title bar and back: the window keeps
// the taller of its two states for the whole run and only the clip changes,
// eased, from step to step. Plain values with the clock passed in, so that
// it is tested on any host.
#pragma once

#include "base/PixelGeometry.h"

#include <optional>

namespace cadrels {

class RollAnimation {
public:
    // Starts a run from `from` to `to`; returns the rectangle the window
    // holds until it ends.
    PixelRect Start(const PixelRect& from, const PixelRect& to, int direction, unsigned long long now);
    bool Running() const { return running_; }
    // The clip in client pixels at `now`; none once the run is over.
    std::optional<PixelRect> ClipAt(unsigned long long now) const;
    // Where the window stands when the run ends.
    PixelRect Target() const { return target_; }
    void Stop() { running_ = false; }

private:
    bool running_ = false;
    unsigned long long start_ = 0;
    int direction_ = 0;
    int startHeight_ = 0;
    int maxHeight_ = 0;
    PixelRect target_{};
};

}  // namespace cadrels
