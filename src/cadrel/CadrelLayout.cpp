#include "cadrel/CadrelLayout.h"

#include <algorithm>
#include <cmath>

namespace cadrels {

namespace {

constexpr int MaxClientSide = 16384;

struct ViewSizes {
    float cellWidth;
    float cellHeight;
    float icon;
};

ViewSizes SizesAt96(int viewMode)
{
    switch (viewMode) {
    case ViewCompactList:
        return {0, 26, 20};
    case ViewLargeTiles:
        return {120, 128, 72};
    default:
        return {80, 84, 44};
    }
}

bool BarAcrossTop(int direction)
{
    return direction == UnfoldDown || direction == UnfoldUp;
}

// The window's origin is not always the content's: the bar on the left
// shifts the cells right, the bar on top shifts them down.
float RowOrigin(const CadrelView& view, const ContentMetrics& m, int itemCount)
{
    switch (view.direction) {
    case UnfoldUp: {
        const float footer = FooterHeight(view);
        const float rows = static_cast<float>(ItemRows(itemCount, m.columns));
        float push = 0;
        if (itemCount > 0) {
            // Against the bar at the bottom: the content sits low, not high.
            const float above = std::max(0.0f, static_cast<float>(view.height) - m.titleBar);
            push = std::max(0.0f, above - m.pad - (rows * m.cellHeight + m.pad + footer));
        }
        return m.pad + footer + push;
    }
    case UnfoldLeft:
    case UnfoldRight:
        return m.pad;
    default:
        return m.pad + m.titleBar;
    }
}

}  // namespace

ContentMetrics ComputeContentMetrics(const CadrelView& view)
{
    ContentMetrics m;
    m.scale = DpiScale(view.dpi);
    m.pad = 10 * m.scale;
    m.titleBar = 30 * m.scale;
    const ViewSizes sizes = SizesAt96(view.viewMode);
    const float zoomed = view.zoom * m.scale;
    m.cellWidth = sizes.cellWidth * zoomed;
    m.cellHeight = sizes.cellHeight * zoomed;
    m.icon = sizes.icon * zoomed;
    m.columns = 1;
    if (view.viewMode != ViewCompactList && m.cellWidth > 0) {
        float avail = static_cast<float>(std::min(view.width, MaxClientSide)) - 2 * m.pad;
        if (!BarAcrossTop(view.direction)) {
            avail -= m.titleBar;
        }
        m.columns = std::max(1, static_cast<int>(std::floor(avail / m.cellWidth)));
    }
    return m;
}

float FooterHeight(const CadrelView& view)
{
    if (view.rolled) {
        return 0;
    }
    const float s = DpiScale(view.dpi);
    const float footer = 20 * s;
    const float least = BarAcrossTop(view.direction) ? 2 * footer + 30 * s : 3 * footer;
    return static_cast<float>(view.height) < least ? 0.0f : footer;
}

float TitleBarTop(const CadrelView& view)
{
    if (view.direction != UnfoldUp) {
        return 0;
    }
    return std::max(0.0f, static_cast<float>(view.height) - 30.0f * DpiScale(view.dpi));
}

LayoutRect ContentArea(const CadrelView& view)
{
    const float w = static_cast<float>(view.width);
    const float h = static_cast<float>(view.height);
    const float t = 30.0f * DpiScale(view.dpi);
    const float f = FooterHeight(view);
    switch (view.direction) {
    case UnfoldUp:
        return {0, f, w, TitleBarTop(view)};
    case UnfoldLeft:
        return {0, 0, w - t, h - f};
    case UnfoldRight:
        return {t, 0, w, h - f};
    default:
        return {0, t, w, h - f};
    }
}

LayoutRect HostedWindowArea(const CadrelView& view)
{
    const float s = DpiScale(view.dpi);
    const float w = static_cast<float>(view.width);
    const float h = static_cast<float>(view.height);
    const float t = 30.0f * s;
    const float m = 14.0f * s;
    switch (view.direction) {
    case UnfoldUp:
        return {m, m, w - m, h - t};
    case UnfoldLeft:
        return {m, m, w - t, h - m};
    case UnfoldRight:
        return {t, m, w - m, h - m};
    default:
        return {m, t, w - m, h - m};
    }
}

bool IsOnFooterAt(const CadrelView& view, int y)
{
    const float f = FooterHeight(view);
    if (f <= 0) {
        return false;
    }
    const float fy = static_cast<float>(y);
    if (view.direction == UnfoldUp) {
        return fy >= 0 && fy < f;
    }
    return fy >= static_cast<float>(view.height) - f;
}

int ItemRows(int itemCount, int columns)
{
    if (itemCount <= 0) {
        return 0;
    }
    columns = std::max(1, columns);
    return (itemCount + columns - 1) / columns;
}

LayoutRect ItemCellRect(const CadrelView& view, int index, int itemCount, float scrollOffset)
{
    const ContentMetrics m = ComputeContentMetrics(view);
    const float w = static_cast<float>(view.width);
    const float top0 = RowOrigin(view, m, itemCount) - scrollOffset;
    if (view.viewMode == ViewCompactList) {
        const float top = top0 + static_cast<float>(index) * m.cellHeight;
        float left = m.pad;
        float right = w - m.pad;
        if (view.direction == UnfoldLeft) {
            right -= m.titleBar;
        } else if (view.direction == UnfoldRight) {
            left += m.titleBar;
        }
        return {left, top, right, top + m.cellHeight};
    }
    const int column = index % m.columns;
    const int row = index / m.columns;
    float left = m.pad + static_cast<float>(column) * m.cellWidth;
    if (view.direction == UnfoldRight) {
        left += m.titleBar;
    }
    const float top = top0 + static_cast<float>(row) * m.cellHeight;
    return {left, top, left + m.cellWidth, top + m.cellHeight};
}

int ItemAtPoint(const CadrelView& view, int x, int y, int itemCount, float scrollOffset)
{
    if (x < 0 || y < 0 || itemCount <= 0) {
        return -1;
    }
    const int titleBar = ScaleLength(30, view.dpi);
    if (IsOnTitleBarAt(x, y, view.width, view.height, view.direction, titleBar) || IsOnFooterAt(view, y)) {
        return -1;
    }
    const ContentMetrics m = ComputeContentMetrics(view);
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    // Cells form a regular grid: the row and column under the point narrow
    // the search to the few cells whose inclusive edges can hold it.
    const float top0 = RowOrigin(view, m, itemCount) - scrollOffset;
    const int row = m.cellHeight > 0 ? static_cast<int>(std::floor((fy - top0) / m.cellHeight)) : 0;
    const int rows = ItemRows(itemCount, m.columns);
    const int columns = view.viewMode == ViewCompactList ? 1 : m.columns;
    for (int r = std::max(0, row - 1); r <= std::min(rows - 1, row); ++r) {
        for (int c = 0; c < columns; ++c) {
            const int index = r * columns + c;
            if (index >= itemCount) {
                break;
            }
            if (ItemCellRect(view, index, itemCount, scrollOffset).ContainsInclusive(fx, fy)) {
                return index;
            }
        }
    }
    return -1;
}

float MaxScrollOffset(const CadrelView& view, int itemCount)
{
    if (itemCount <= 0) {
        return 0;
    }
    const ContentMetrics m = ComputeContentMetrics(view);
    const int columns = view.viewMode == ViewCompactList ? 1 : m.columns;
    float needed = static_cast<float>(ItemRows(itemCount, columns)) * m.cellHeight + 2 * m.pad;
    if (BarAcrossTop(view.direction)) {
        needed += m.titleBar;
    }
    return std::max(0.0f, needed - (static_cast<float>(view.height) - FooterHeight(view)));
}

float ClampScrollOffset(float offset, const CadrelView& view, int itemCount)
{
    if (!(offset > 0)) {
        return 0;  // also turns a NaN into the top
    }
    return std::min(offset, MaxScrollOffset(view, itemCount));
}

float WheelScrollOffset(float offset, int delta, const CadrelView& view, int itemCount)
{
    if (view.rolled || MaxScrollOffset(view, itemCount) <= 0) {
        return offset;
    }
    const ContentMetrics m = ComputeContentMetrics(view);
    const float next = offset - static_cast<float>(delta) / 120.0f * m.cellHeight;
    return ClampScrollOffset(next, view, itemCount);
}

}  // namespace cadrels
