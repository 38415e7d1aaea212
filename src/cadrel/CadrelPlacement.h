// Where a new cadrel appears when nothing says otherwise.
#pragma once

#include "model/MonitorInfo.h"
#include "model/Records.h"

#include <vector>

namespace cadrels {

// The `index`-th cascade position on the primary monitor: 360 by 460 pixels
// at 96 DPI, stepping 30 pixels down and right six times, then starting again
// 220 pixels further right. Without a monitor, or with an empty work area,
// the geometry defaults.
CadrelGeom CascadePlacement(const std::vector<MonitorInfo>& monitors, unsigned index);

}  // namespace cadrels
