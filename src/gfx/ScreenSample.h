// The average colour of what lies on the screen under a window, for the
// tool windows that tint themselves after their backdrop.
#pragma once

#include <windows.h>

#include <optional>

namespace cadrels {

struct AverageColour {
    double r = 0;  // 0..255 each
    double g = 0;
    double b = 0;
};

// Every fourth pixel of each row of the screen under the window's
// rectangle. The window is kept out of the capture where the system allows
// it; elsewhere its own pixels count too, which still gives a usable tint.
// Nothing when the window has no area or the screen cannot be read.
std::optional<AverageColour> AverageScreenUnder(HWND window);

}  // namespace cadrels
