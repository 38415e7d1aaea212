#include "dock/IconPickerLayout.h"

#include <cmath>

namespace cadrels {
namespace {

constexpr float Cell = 56.0f;
constexpr float Gap = 10.0f;
constexpr float Margin = 18.0f;
constexpr float GridTop = 60.0f;
constexpr float ButtonHeight = 40.0f;
// Between the grid and the buttons, the buttons, and below them.
constexpr float Footer = 12.0f + ButtonHeight + 18.0f;

float UnscaledWidth(int columns)
{
    const float buttons = 668.0f + Margin;  // the two buttons always fit
    const float grid = static_cast<float>(columns) * Cell + static_cast<float>(columns - 1) * Gap + 2.0f * Margin;
    return grid > buttons ? grid : buttons;
}

float UnscaledHeight(int rows)
{
    return static_cast<float>(rows) * Cell + static_cast<float>(rows - 1) * Gap + GridTop + Footer;
}

int Pixels(float length)
{
    return static_cast<int>(std::ceil(length - 0.001f));
}

bool Inside(const DockRect& rect, float x, float y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

}  // namespace

IconPickerGeometry ComputeIconPickerGeometry(int count, float scale, int workWidth, int workHeight)
{
    IconPickerGeometry geometry;
    geometry.count = count > 0 ? count : 0;
    geometry.scale = scale > 0.0f ? scale : 1.0f;
    auto rowsFor = [&](int columns) { return (geometry.count + columns - 1) / columns; };
    geometry.rows = rowsFor(geometry.columns);
    // 17 rows are 1242 pixels at 96 DPI: taller than many laptop screens,
    // where the buttons would land off-screen. Wider first, then smaller.
    if (workHeight > 0) {
        while (Pixels(UnscaledHeight(geometry.rows) * geometry.scale) > workHeight && geometry.rows > 1) {
            const int columns = geometry.columns + 1;
            if (workWidth > 0 && Pixels(UnscaledWidth(columns) * geometry.scale) > workWidth) {
                break;
            }
            geometry.columns = columns;
            geometry.rows = rowsFor(columns);
        }
        const float height = UnscaledHeight(geometry.rows) * geometry.scale;
        if (Pixels(height) > workHeight) {
            geometry.scale *= static_cast<float>(workHeight) / height;
        }
    }
    if (workWidth > 0 && Pixels(UnscaledWidth(geometry.columns) * geometry.scale) > workWidth) {
        geometry.scale *= static_cast<float>(workWidth) / (UnscaledWidth(geometry.columns) * geometry.scale);
    }
    geometry.width = Pixels(UnscaledWidth(geometry.columns) * geometry.scale);
    geometry.height = Pixels(UnscaledHeight(geometry.rows) * geometry.scale);
    return geometry;
}

DockRect IconPickerCell(const IconPickerGeometry& geometry, int index)
{
    const int column = index % geometry.columns;
    const int row = index / geometry.columns;
    const float s = geometry.scale;
    const float left = (Margin + static_cast<float>(column) * (Cell + Gap)) * s;
    const float top = (GridTop + static_cast<float>(row) * (Cell + Gap)) * s;
    return {left, top, left + Cell * s, top + Cell * s};
}

DockRect IconPickerDefaultButton(const IconPickerGeometry& geometry)
{
    const float bottom = static_cast<float>(geometry.height) - 18.0f * geometry.scale;
    return {18.0f * geometry.scale, bottom - ButtonHeight * geometry.scale, 338.0f * geometry.scale, bottom};
}

DockRect IconPickerCustomButton(const IconPickerGeometry& geometry)
{
    const float bottom = static_cast<float>(geometry.height) - 18.0f * geometry.scale;
    return {348.0f * geometry.scale, bottom - ButtonHeight * geometry.scale, 668.0f * geometry.scale, bottom};
}

int IconPickerHitTest(const IconPickerGeometry& geometry, float x, float y)
{
    if (Inside(IconPickerDefaultButton(geometry), x, y)) {
        return IconPickerHitDefault;
    }
    if (Inside(IconPickerCustomButton(geometry), x, y)) {
        return IconPickerHitCustom;
    }
    const float s = geometry.scale;
    const float gridX = x / s - Margin;
    const float gridY = y / s - GridTop;
    if (gridX < 0.0f || gridY < 0.0f) {
        return IconPickerHitNothing;
    }
    const int column = static_cast<int>(gridX / (Cell + Gap));
    const int row = static_cast<int>(gridY / (Cell + Gap));
    if (column >= geometry.columns) {
        return IconPickerHitNothing;
    }
    const int index = row * geometry.columns + column;
    if (index >= geometry.count || !Inside(IconPickerCell(geometry, index), x, y)) {
        return IconPickerHitNothing;
    }
    return index;
}

}  // namespace cadrels
