// Where the dock window goes on the taskbar's monitor, whether a window
// covers a whole monitor, and the backdrop tint averaged from screen pixels.
// Plain values, free of Windows headers.
#pragma once

#include "base/PixelGeometry.h"

#include <cstddef>
#include <cstdint>

namespace cadrels {

// The taskbar's edge as the shell reports it; None when it did not answer.
enum class TaskbarEdge { None, Left, Top, Right, Bottom };

struct DockPlacementInput {
    PixelRect monitor;
    PixelRect work;
    TaskbarEdge edge = TaskbarEdge::None;
    PixelRect taskbar;  // meaningful unless edge is None
    int width = 0;
    int height = 0;
    int distance = 0;  // from the taskbar or the work area's bottom, in pixels
};

// The window's top-left corner: just above a bottom taskbar, just below a
// top one, at the bottom of the work area otherwise; centred on the monitor,
// or on the work area when the taskbar stands at the left or right.
PixelPoint PlaceDock(const DockPlacementInput& input);

// True when `window` covers all of `monitor` (a full-screen game, video or
// presentation); an empty monitor is never covered.
bool CoversMonitor(const PixelRect& window, const PixelRect& monitor);

struct DockTint {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

// The shelf's tint from a top-down 32-bit BGRA image of the screen under the
// dock: every fourth pixel averaged, each channel lightened towards white
// ((average * 0.42 + 147.9) / 255), alpha 0.9. False for an empty image or a
// stride too short for the width.
bool AverageBackdropTint(const std::uint8_t* pixels, int width, int height, std::size_t stride, DockTint& tint);

}  // namespace cadrels
