// The icon picker's grid and buttons as plain values: 10 columns of 56-pixel
// cells, more columns (and then a smaller scale) when the screen is too short
// for 17 rows. Free of Windows headers.
#pragma once

#include "dock/DockLayout.h"

#include <cstddef>

namespace cadrels {

struct IconPickerGeometry {
    int count = 0;
    int columns = 10;
    int rows = 0;
    float scale = 1.0f;  // every length at 96 DPI times this
    int width = 0;       // window size in pixels
    int height = 0;
};

inline constexpr int IconPickerHitNothing = -1;
inline constexpr int IconPickerHitDefault = -2;
inline constexpr int IconPickerHitCustom = -3;

// The window for `count` icons at `scale`. A work area of 0 by 0 means no
// limit; otherwise the window is kept inside it.
IconPickerGeometry ComputeIconPickerGeometry(int count, float scale, int workWidth, int workHeight);

DockRect IconPickerCell(const IconPickerGeometry& geometry, int index);
DockRect IconPickerDefaultButton(const IconPickerGeometry& geometry);
DockRect IconPickerCustomButton(const IconPickerGeometry& geometry);
// A cell's index, IconPickerHitDefault, IconPickerHitCustom or IconPickerHitNothing.
int IconPickerHitTest(const IconPickerGeometry& geometry, float x, float y);

}  // namespace cadrels
