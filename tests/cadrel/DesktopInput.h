// The window queries that go with pointer input in the end-to-end tests of
// cadrel windows; the input itself is the harness's, paced as a hand moves.
#pragma once

#include <windows.h>

#include "PointerInput.h"
#include "cadrel/CadrelGeometry.h"

#include <ostream>
#include <string>

namespace cadrels {

// Found by argument lookup, so failures print rectangles readably.
inline std::ostream& operator<<(std::ostream& out, const PixelRect& r)
{
    return out << '{' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << '}';
}

}  // namespace cadrels

namespace cadrels::testing {

PixelRect RectOf(HWND window);
std::wstring TitleOf(HWND window);
// Waits until the window's rectangle stays the same for a fifth of a second:
// an animation or the last moves of a gesture are over.
bool WaitUntilStill(HWND window, DWORD timeoutMs = 5000);
// The screen point at the centre of item `index`'s cell in a cadrel showing
// `count` items in `viewMode`, unscrolled.
POINT ItemCentre(HWND cadrel, int viewMode, int index, int count);

}  // namespace cadrels::testing
