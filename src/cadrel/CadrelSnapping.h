// Where a cadrel lands while the user moves or resizes it: snapped to its
// monitor's work area, its neighbours and the grid, and kept reachable on its
// monitor. Plain values and a work-area lookup handed in, so that it is
// tested on any host.
#pragma once

#include "cadrel/CadrelGeometry.h"

#include <functional>
#include <optional>
#include <vector>

namespace cadrels {

// The work area of the monitor nearest to a rectangle, when there is one.
using WorkAreaLookup = std::function<std::optional<PixelRect>(const PixelRect&)>;

class CadrelSnapping {
public:
    explicit CadrelSnapping(WorkAreaLookup workArea);

    // `edges`: the work area's and the neighbours' edges attract; a grid
    // step below 1 means no grid.
    void Configure(bool edges, int gridStep);
    // Only edge snapping looks at the neighbours.
    bool UsesNeighbours() const { return edges_; }
    // Taken once per move or resize: the neighbours do not move meanwhile.
    void SetNeighbours(std::vector<PixelRect> neighbours) { neighbours_ = std::move(neighbours); }

    // `free`: the user holds Alt and moves or resizes without snapping.
    PixelPoint Move(const PixelRect& proposed, bool free, int direction, const CadrelMetrics& metrics,
                    unsigned dpi) const;
    PixelRect Resize(const PixelRect& proposed, int edges, bool free, const CadrelMetrics& metrics,
                     unsigned dpi) const;
    // A top-left that keeps a window of that size reachable on its monitor.
    PixelPoint Fit(PixelPoint proposed, int width, int height, int direction, const CadrelMetrics& metrics) const;

private:
    bool Snaps(bool free) const { return !free && (edges_ || gridStep_ > 0); }
    std::optional<SnapLines> LinesNear(const PixelRect& rect) const;

    WorkAreaLookup workArea_;
    bool edges_ = true;
    int gridStep_ = 0;
    std::vector<PixelRect> neighbours_;
};

}  // namespace cadrels
