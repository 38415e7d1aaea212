// Where a new cadrel appears when nothing says otherwise.
#pragma once

#include "model/MonitorInfo.h"
#include "model/Records.h"

#include <optional>
#include <string>
#include <vector>

namespace cadrels {

// The `index`-th cascade position on the primary monitor: 360 by 460 pixels
// at 96 DPI, stepping 30 pixels down and right six times, then starting again
// 220 pixels further right. Without a monitor, or with an empty work area,
// the geometry defaults.
CadrelGeom CascadePlacement(const std::vector<MonitorInfo>& monitors, unsigned index);

// Where a cadrel stands on a display configuration its page has no geometry
// for yet (a taskbar moved while the program was not running changes the
// key, as does docking a laptop). The other display keys are tried most
// recently used first (`recentKeys`), then in byte order: the first geometry
// on a monitor still connected wins; failing that, the first geometry of any
// key, moved to the primary monitor; nothing when no key holds one.
std::optional<CadrelGeom> GeometryFromOtherDisplay(const PageLayouts& layouts, const std::string& cadrelId,
                                                   const std::string& currentKey,
                                                   const std::vector<MonitorInfo>& monitors,
                                                   const std::vector<std::string>& recentKeys = {});

}  // namespace cadrels
