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

// Where a cadrel of a page being shown stands on a display configuration the
// page has no geometry for yet: the geometry it has under the first other
// display key (in byte order), moved to the primary monitor when its own
// monitor is not connected; nothing when no key holds one.
std::optional<CadrelGeom> GeometryFromOtherDisplay(const PageLayouts& layouts, const std::string& cadrelId,
                                                   const std::string& currentKey,
                                                   const std::vector<MonitorInfo>& monitors);

}  // namespace cadrels
