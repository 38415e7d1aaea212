#include "dock/DockPlacement.h"

namespace cadrels {
namespace {

int CentredOn(const PixelRect& area, int width)
{
    return area.left + (area.Width() - width) / 2;
}

}  // namespace

PixelPoint PlaceDock(const DockPlacementInput& input)
{
    switch (input.edge) {
    case TaskbarEdge::Top:
        return {CentredOn(input.monitor, input.width), input.taskbar.bottom + input.distance};
    case TaskbarEdge::Left:
    case TaskbarEdge::Right:
        // A side taskbar shifts the work area; the dock centres on what is left.
        return {CentredOn(input.work, input.width), input.work.bottom - input.distance - input.height};
    case TaskbarEdge::Bottom:
        return {CentredOn(input.monitor, input.width), input.taskbar.top - input.distance - input.height};
    case TaskbarEdge::None:
        break;
    }
    return {CentredOn(input.monitor, input.width), input.work.bottom - input.distance - input.height};
}

bool CoversMonitor(const PixelRect& window, const PixelRect& monitor)
{
    if (monitor.Width() <= 0 || monitor.Height() <= 0) {
        return false;
    }
    return window.left <= monitor.left && window.top <= monitor.top && window.right >= monitor.right &&
           window.bottom >= monitor.bottom;
}

bool AverageBackdropTint(const std::uint8_t* pixels, int width, int height, std::size_t stride, DockTint& tint)
{
    if (pixels == nullptr || width <= 0 || height <= 0 || stride < static_cast<std::size_t>(width) * 4) {
        return false;
    }
    double sums[3] = {0.0, 0.0, 0.0};
    std::size_t count = 0;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = pixels + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; x += 4) {
            const std::uint8_t* pixel = row + static_cast<std::size_t>(x) * 4;
            sums[0] += pixel[2];
            sums[1] += pixel[1];
            sums[2] += pixel[0];
            ++count;
        }
    }
    auto channel = [&](double sum) {
        return static_cast<float>((sum / static_cast<double>(count) * 0.42 + 147.9) / 255.0);
    };
    tint = {channel(sums[0]), channel(sums[1]), channel(sums[2]), 0.9f};
    return true;
}

}  // namespace cadrels
