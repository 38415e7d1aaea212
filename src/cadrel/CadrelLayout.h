// Where a cadrel's content goes: the metrics of the three view modes at a
// zoom and DPI, the content and footer areas in the four unfold directions,
// item cells, hit tests and the scroll range. Plain values only, so the
// layout builds and is tested on any host.
#pragma once

#include "cadrel/CadrelGeometry.h"

namespace cadrels {

enum CadrelViewMode : int { ViewIconGrid = 0, ViewCompactList = 1, ViewLargeTiles = 2 };

// A client-pixel rectangle with fractional edges, as the drawing uses it.
struct LayoutRect {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;

    // Edges inclusive: the cell hit test counts a point on a border as in.
    bool ContainsInclusive(float x, float y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

// What the layout depends on.
struct CadrelView {
    int width = 0;   // client size in pixels
    int height = 0;
    int direction = UnfoldDown;
    int viewMode = ViewIconGrid;
    float zoom = 1.0f;  // zoom of the current view mode
    unsigned dpi = 96;
    bool rolled = false;
};

struct ContentMetrics {
    float scale = 1;  // dpi / 96
    float pad = 10;
    float titleBar = 30;
    float cellWidth = 80;  // grid and tiles; the list spans the width
    float cellHeight = 84;
    float icon = 44;
    int columns = 1;
};

ContentMetrics ComputeContentMetrics(const CadrelView& view);

// The footer's height: none when rolled or when the window is too short to
// keep room for the content.
float FooterHeight(const CadrelView& view);
// Top of the title bar: the bottom edge for a bar at the bottom, else 0.
float TitleBarTop(const CadrelView& view);
// The area the items are clipped to.
LayoutRect ContentArea(const CadrelView& view);
// Where a hosted window stands: the content side of the title bar, 14 pixels
// at 96 DPI in from the other edges.
LayoutRect HostedWindowArea(const CadrelView& view);
bool IsOnFooterAt(const CadrelView& view, int y);

int ItemRows(int itemCount, int columns);
LayoutRect ItemCellRect(const CadrelView& view, int index, int itemCount, float scrollOffset);
// The first item whose cell holds the point, -1 off the items, on the title
// bar or on the footer.
int ItemAtPoint(const CadrelView& view, int x, int y, int itemCount, float scrollOffset);

float MaxScrollOffset(const CadrelView& view, int itemCount);
float ClampScrollOffset(float offset, const CadrelView& view, int itemCount);
// The offset after a wheel turn of `delta` (120 a notch): one cell height a
// notch; unchanged while rolled or with nothing to scroll.
float WheelScrollOffset(float offset, int delta, const CadrelView& view, int itemCount);

}  // namespace cadrels
