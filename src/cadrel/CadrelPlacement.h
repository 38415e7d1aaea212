// Where a new cadrel appears when nothing says otherwise.
#pragma once

#include "base/RectConversion.h"
#include "cadrel/CadrelGeometry.h"
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

// A new cadrel of 360 by 460 pixels at 96 DPI whose title bar lands under
// the cursor, on the monitor whose work area holds the cursor (else the
// primary one), kept inside that work area.
CadrelGeom AtCursorPlacement(const std::vector<MonitorInfo>& monitors, PixelPoint cursor);

// The monitor a geometry names, else the primary one; null without monitors.
const MonitorInfo* MonitorForGeometry(const std::vector<MonitorInfo>& monitors, const std::string& monitorId);
// The window rectangle of a geometry on this display.
PixelRect WindowRectForGeometry(const CadrelGeom& geometry, const std::vector<MonitorInfo>& monitors);

// The monitor a window stands on: the one whose bounds it overlaps most, else
// the one nearest to it; null without monitors.
const MonitorInfo* MonitorForWindow(const std::vector<MonitorInfo>& monitors, const PixelRect& window);
// The geometry to save for a window's unrolled rectangle; nothing without a
// monitor with a usable work area.
std::optional<CadrelGeom> GeometryForWindow(const std::vector<MonitorInfo>& monitors, const PixelRect& full,
                                            bool rolled);

}  // namespace cadrels
