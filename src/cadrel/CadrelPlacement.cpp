#include "cadrel/CadrelPlacement.h"

#include <algorithm>

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

}  // namespace cadrels
