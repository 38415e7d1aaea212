#include "cadrel/CadrelPlacement.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace cadrels {
namespace {

constexpr int CascadeSteps = 6;
constexpr int CascadeStep = 30;
constexpr int CascadeOrigin = 60;
constexpr int CascadeColumnShift = 220;
constexpr int NewCadrelWidth = 360;
constexpr int NewCadrelHeight = 460;
constexpr double MaxCascadeFraction = 0.85;
constexpr double MinSizeFraction = 0.05;

// Lengths at 96 DPI scaled to the monitor, truncated like every other length.
int Scaled(int length, unsigned dpi)
{
    return static_cast<int>(static_cast<double>(length) * dpi / 96.0);
}

}  // namespace

CadrelGeom CascadePlacement(const std::vector<MonitorInfo>& monitors, unsigned index)
{
    CadrelGeom geometry;
    const MonitorInfo* primary = PrimaryMonitor(monitors);
    if (primary == nullptr) {
        return geometry;
    }
    const double width = primary->workArea.right - primary->workArea.left;
    const double height = primary->workArea.bottom - primary->workArea.top;
    if (width <= 0 || height <= 0) {
        return geometry;
    }
    const unsigned dpi = primary->dpi;
    const int offset = static_cast<int>(index % CascadeSteps) * Scaled(CascadeStep, dpi) + Scaled(CascadeOrigin, dpi);
    const int column = static_cast<int>(index / CascadeSteps) * Scaled(CascadeColumnShift, dpi);
    geometry.monitor = primary->id;
    geometry.x = std::clamp((column + offset) / width, 0.0, MaxCascadeFraction);
    geometry.y = std::clamp(offset / height, 0.0, MaxCascadeFraction);
    geometry.w = std::clamp(Scaled(NewCadrelWidth, dpi) / width, MinSizeFraction, 1.0);
    geometry.h = std::clamp(Scaled(NewCadrelHeight, dpi) / height, MinSizeFraction, 1.0);
    return geometry;
}

std::optional<CadrelGeom> GeometryFromOtherDisplay(const PageLayouts& layouts, const std::string& cadrelId,
                                                   const std::string& currentKey,
                                                   const std::vector<MonitorInfo>& monitors,
                                                   const std::vector<std::string>& recentKeys)
{
    std::vector<const CadrelGeom*> candidates;
    const auto consider = [&](const std::string& key) {
        if (key == currentKey) {
            return;
        }
        const auto page = layouts.find(key);
        if (page == layouts.end()) {
            return;
        }
        const auto found = page->second.find(cadrelId);
        if (found != page->second.end() &&
            std::find(candidates.begin(), candidates.end(), &found->second) == candidates.end()) {
            candidates.push_back(&found->second);
        }
    };
    for (const std::string& key : recentKeys) {
        consider(key);
    }
    // std::map keeps the remaining display keys in byte order.
    for (const auto& entry : layouts) {
        consider(entry.first);
    }
    const auto connected = [&](const CadrelGeom& geometry) {
        return std::any_of(monitors.begin(), monitors.end(),
                           [&](const MonitorInfo& monitor) { return monitor.id == geometry.monitor; });
    };
    for (const CadrelGeom* geometry : candidates) {
        if (connected(*geometry)) {
            return *geometry;
        }
    }
    if (candidates.empty()) {
        return std::nullopt;
    }
    CadrelGeom geometry = *candidates.front();
    const MonitorInfo* primary = PrimaryMonitor(monitors);
    geometry.monitor = primary ? primary->id : std::string();
    return geometry;
}

CadrelGeom AtCursorPlacement(const std::vector<MonitorInfo>& monitors, PixelPoint cursor)
{
    CadrelGeom geometry;
    const MonitorInfo* monitor = nullptr;
    for (const MonitorInfo& candidate : monitors) {
        if (ToPixelRect(candidate.workArea).Contains(cursor.x, cursor.y)) {
            monitor = &candidate;
            break;
        }
    }
    if (monitor == nullptr) {
        monitor = PrimaryMonitor(monitors);
    }
    if (monitor == nullptr) {
        return geometry;
    }
    const PixelRect work = ToPixelRect(monitor->workArea);
    if (work.Width() <= 0 || work.Height() <= 0) {
        return geometry;
    }
    const unsigned dpi = monitor->dpi;
    const int width = Scaled(NewCadrelWidth, dpi);
    const int height = Scaled(NewCadrelHeight, dpi);
    // Half the width to the left and half the title bar up: the bar is under the cursor.
    const int left = std::clamp(cursor.x - work.left - width / 2, 0, std::max(0, work.Width() - width));
    const int top = std::clamp(cursor.y - work.top - Scaled(15, dpi), 0, std::max(0, work.Height() - height));
    geometry.monitor = monitor->id;
    geometry.x = static_cast<double>(left) / work.Width();
    geometry.y = static_cast<double>(top) / work.Height();
    geometry.w = std::clamp(static_cast<double>(width) / work.Width(), MinSizeFraction, 1.0);
    geometry.h = std::clamp(static_cast<double>(height) / work.Height(), MinSizeFraction, 1.0);
    return geometry;
}

const MonitorInfo* MonitorForGeometry(const std::vector<MonitorInfo>& monitors, const std::string& monitorId)
{
    for (const MonitorInfo& monitor : monitors) {
        if (monitor.id == monitorId) {
            return &monitor;
        }
    }
    return PrimaryMonitor(monitors);
}

PixelRect WindowRectForGeometry(const CadrelGeom& geometry, const std::vector<MonitorInfo>& monitors)
{
    const MonitorInfo* monitor = MonitorForGeometry(monitors, geometry.monitor);
    return RectFromGeometry(geometry, monitor ? std::optional(ToPixelRect(monitor->workArea)) : std::nullopt);
}

const MonitorInfo* MonitorForWindow(const std::vector<MonitorInfo>& monitors, const PixelRect& window)
{
    const MonitorInfo* best = nullptr;
    long long bestOverlap = 0;
    long long bestDistance = LLONG_MAX;
    for (const MonitorInfo& monitor : monitors) {
        const PixelRect bounds = ToPixelRect(monitor.bounds);
        const long long overlapWidth = std::min(bounds.right, window.right) - std::max(bounds.left, window.left);
        const long long overlapHeight = std::min(bounds.bottom, window.bottom) - std::max(bounds.top, window.top);
        const long long overlap = overlapWidth > 0 && overlapHeight > 0 ? overlapWidth * overlapHeight : 0;
        const long long gapX = std::max({0L, static_cast<long>(bounds.left - window.right),
                                         static_cast<long>(window.left - bounds.right)});
        const long long gapY = std::max({0L, static_cast<long>(bounds.top - window.bottom),
                                         static_cast<long>(window.top - bounds.bottom)});
        const long long distance = gapX * gapX + gapY * gapY;
        if (overlap > bestOverlap || (bestOverlap == 0 && overlap == 0 && distance < bestDistance)) {
            best = &monitor;
            bestOverlap = overlap;
            bestDistance = distance;
        }
    }
    return best;
}

std::optional<CadrelGeom> GeometryForWindow(const std::vector<MonitorInfo>& monitors, const PixelRect& full,
                                            bool rolled)
{
    const MonitorInfo* monitor = MonitorForWindow(monitors, full);
    if (monitor == nullptr) {
        return std::nullopt;
    }
    return GeometryFromRect(full, ToPixelRect(monitor->workArea), monitor->id, rolled);
}

}  // namespace cadrels
