// How big a window's drawing surface is for a given client area.
#pragma once

#include <windows.h>

#include <algorithm>
#include <optional>

namespace cadrels {

// Direct3D 11 textures (and so composition surfaces) stop at 16384 pixels.
inline constexpr int MaxSurfaceSide = 16384;

struct SurfaceExtent {
    UINT width = 0;
    UINT height = 0;
    bool operator==(const SurfaceExtent&) const = default;
};

// No surface for an empty client area; otherwise each side within 1..16384.
inline std::optional<SurfaceExtent> SurfaceExtentFor(int clientWidth, int clientHeight)
{
    if (clientWidth <= 0 || clientHeight <= 0) {
        return std::nullopt;
    }
    return SurfaceExtent{static_cast<UINT>(std::clamp(clientWidth, 1, MaxSurfaceSide)),
                         static_cast<UINT>(std::clamp(clientHeight, 1, MaxSurfaceSide))};
}

}  // namespace cadrels
