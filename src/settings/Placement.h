// Where the menus and prompts go on screen.
#pragma once

#include <windows.h>

namespace cadrels {

// Moves a window of `size` at `origin` back inside the work area: left to end
// at the right edge, up to end at the bottom edge, then never before the left
// or top edge, so that the top-left corner stays visible when the window is
// larger than the work area.
POINT FitToWorkArea(POINT origin, SIZE size, const RECT& workArea);

// The origin that centres `size` on `area`.
POINT CenterOn(const RECT& area, SIZE size);

// The work area of the monitor nearest to the screen point.
RECT WorkAreaNear(POINT point);

RECT PrimaryScreenRect();

}  // namespace cadrels
