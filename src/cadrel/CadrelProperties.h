// The ranges a cadrel keeps its record's properties in. A hand-edited or
// older layout file may hold anything; the cadrel shows, and saves back,
// the nearest value it can use. Plain values only, so it builds and is
// tested on any host.
#pragma once

#include "model/Records.h"

namespace cadrels {

inline constexpr double MinCadrelOpacity = 0.15;
inline constexpr double MaxCadrelOpacity = 1.0;
inline constexpr float MinCadrelZoom = 0.6f;
inline constexpr float MaxCadrelZoom = 2.0f;

double ClampOpacity(double opacity);
// NaN reads as the default zoom, 1.
float ClampZoom(float zoom);
// Values outside their lists fall back to the first entry: no classifying,
// unfolding down, sorting by name, the icon grid.
int ValidClassifyMode(int mode);
int ValidUnfoldDirection(int direction);
int ValidSortKey(int key);
int ValidViewMode(int mode);

CadrelProperties ValidProperties(CadrelProperties properties);

}  // namespace cadrels
