#include "cadrel/CadrelSnapping.h"

#include <utility>

namespace cadrels {

CadrelSnapping::CadrelSnapping(WorkAreaLookup workArea) : workArea_(std::move(workArea)) {}

void CadrelSnapping::Configure(bool edges, int gridStep)
{
    edges_ = edges;
    gridStep_ = gridStep < 1 ? 0 : gridStep;
}

std::optional<SnapLines> CadrelSnapping::LinesNear(const PixelRect& rect) const
{
    const std::optional<PixelRect> work = workArea_(rect);
    if (!work) {
        return std::nullopt;
    }
    return CollectSnapLines(*work, edges_, neighbours_);
}

PixelPoint CadrelSnapping::Move(const PixelRect& proposed, bool free, int direction, const CadrelMetrics& metrics,
                                unsigned dpi) const
{
    PixelPoint position{proposed.left, proposed.top};
    if (Snaps(free)) {
        if (const std::optional<SnapLines> lines = LinesNear(proposed)) {
            position = SnapMove(proposed, *lines, SnapReachFor(gridStep_, dpi));
        }
    }
    return Fit(position, proposed.Width(), proposed.Height(), direction, metrics);
}

PixelRect CadrelSnapping::Resize(const PixelRect& proposed, int edges, bool free, const CadrelMetrics& metrics,
                                 unsigned dpi) const
{
    if (!Snaps(free)) {
        return proposed;
    }
    const std::optional<SnapLines> lines = LinesNear(proposed);
    return lines ? SnapResize(proposed, edges, *lines, SnapReachFor(gridStep_, dpi), metrics.minWidth,
                              metrics.minHeight)
                 : proposed;
}

PixelPoint CadrelSnapping::Fit(PixelPoint proposed, int width, int height, int direction,
                               const CadrelMetrics& metrics) const
{
    const std::optional<PixelRect> work = workArea_(RectFromSize(proposed.x, proposed.y, width, height));
    return work ? FitIntoWorkArea(proposed, width, height, *work, direction, metrics) : proposed;
}

}  // namespace cadrels
