// The arithmetic of a cadrel's window that needs no window: pixel rectangles
// from monitor fractions and back, keeping a cadrel reachable on its work
// area, snapping, resizing, rolling up and unfolding in four directions, the
// roll animation and the title bar and edge hit tests. Plain values only, so
// it builds and is tested on any host.
#pragma once

#include "base/PixelGeometry.h"
#include "model/Records.h"

#include <optional>
#include <string>
#include <vector>

namespace cadrels {

// The side the title bar sits on, which is also where the cadrel rolls to.
enum UnfoldDirection : int {
    UnfoldDown = 0,   // bar on top
    UnfoldUp = 1,     // bar at the bottom
    UnfoldLeft = 2,   // bar on the right
    UnfoldRight = 3,  // bar on the left
};

inline bool IsVerticalUnfold(int direction)
{
    return direction == UnfoldDown || direction == UnfoldUp;
}

// Resize edges as a bit set.
enum ResizeEdge : int { EdgeLeft = 1, EdgeRight = 2, EdgeTop = 4, EdgeBottom = 8 };

// A length given at 96 DPI, scaled and truncated.
int ScaleLength(double length96, unsigned dpi);

// Lengths of one window at its DPI.
struct CadrelMetrics {
    int titleBar = 30;
    int minWidth = 160;
    int minHeight = 120;
    int edgeGrab = 6;
    int cornerGrab = 16;
    int snapDistance = 11;
    int minVisible = 48;
};
CadrelMetrics MetricsForDpi(unsigned dpi);

// Where a geometry's fractions put a window on the work area of its monitor;
// without a work area, a fixed rectangle that is on any screen. Never smaller
// than 120 by 100.
PixelRect RectFromGeometry(const CadrelGeom& geometry, const std::optional<PixelRect>& workArea);

// The reverse, for saving: fractions of `workArea`; nothing for an empty one.
std::optional<CadrelGeom> GeometryFromRect(const PixelRect& rect, const PixelRect& workArea,
                                           const std::string& monitorId, bool rolled);

// A top-left for a window of that size such that the title bar stays fully
// inside the work area in the direction it faces and at least minVisible of
// the window stays on it in the other. An empty range takes its upper bound.
PixelPoint FitIntoWorkArea(PixelPoint proposed, int width, int height, const PixelRect& workArea, int direction,
                           const CadrelMetrics& metrics);

// Snapping lines for one move or resize: the work area's edges and the
// neighbours' edges (only when edge snapping is on), and the grid's origin.
struct SnapLines {
    std::vector<int> vertical;
    std::vector<int> horizontal;
    int originX = 0;
    int originY = 0;
};
SnapLines CollectSnapLines(const PixelRect& workArea, bool snapToEdges, const std::vector<PixelRect>& neighbours);

struct SnapReach {
    int grid = 0;      // pixels, 0 = no grid
    int distance = 1;  // lines and grid values further away do not count
};
// Grid step (the setting at 96 DPI, at least 1 pixel when set) and snap distance for a DPI.
SnapReach SnapReachFor(int gridSetting, unsigned dpi);

// The line nearest to `c` closer than distance + 1; the first one wins ties.
std::optional<int> NearestLine(const std::vector<int>& lines, int c, int distance);
// The grid line nearest to `c` (halves away from the origin) when within the distance.
std::optional<int> GridValue(int c, int origin, int grid, int distance);

// A moved window's top-left after snapping either of its edges on each axis.
PixelPoint SnapMove(const PixelRect& rect, const SnapLines& lines, const SnapReach& reach);
// A resized window after snapping the dragged edges; a snap that would make
// it smaller than the minimum is refused.
PixelRect SnapResize(const PixelRect& rect, int edges, const SnapLines& lines, const SnapReach& reach, int minWidth,
                     int minHeight);

// The press rectangle with the dragged edges moved by the cursor's offset,
// held at the minimum size by the edge being dragged.
PixelRect ResizeByEdges(const PixelRect& pressRect, int dx, int dy, int edges, int minWidth, int minHeight);

// Which resize edges a client point grabs (no checks for rolled or locked).
int ResizeEdgesAt(int x, int y, int clientWidth, int clientHeight, unsigned dpi);

// The title bar in client coordinates and the test for a client point on it.
PixelRect TitleBarClientRect(int clientWidth, int clientHeight, int direction, int titleBar);
bool IsOnTitleBarAt(int x, int y, int clientWidth, int clientHeight, int direction, int titleBar);

// The tab strip of a title bar with two tabs or more: tab i spans
// [start, end) along the bar, leaving a grab area free at the far end.
struct TabSpan {
    double start = 0;
    double end = 0;
};
TabSpan TabSpanAt(int index, int count, int clientWidth, int clientHeight, int direction, unsigned dpi);
// The tab under a client point, -1 with fewer than two tabs, off the bar or
// over the grab area.
int TabAtPoint(int x, int y, int count, int clientWidth, int clientHeight, int direction, unsigned dpi);
// The slot a dragged tab would take at a client point: the tab width steps
// from the first tab's start, clamped to the strip; 0 with fewer than two tabs.
int TabInsertIndexAt(int x, int y, int count, int clientWidth, int clientHeight, int direction, unsigned dpi);

// The window reduced to its title bar, on the bar's side of `full`.
PixelRect RolledRect(const PixelRect& full, int direction, int titleBar);
// The window unfolded from its bar: the remembered size on the unfolding
// side, or the current one when none is remembered (below 1).
PixelRect UnrolledRect(const PixelRect& bar, int direction, int fullWidth, int fullHeight);
// The window rectangle as it would stand unrolled.
PixelRect FullRectOf(const PixelRect& window, bool rolled, int direction, int fullWidth, int fullHeight);

// Changing the side of the title bar: the new window rectangle (before it is
// kept on the work area) and the remembered full size.
struct UnfoldChange {
    PixelRect rect;
    int fullWidth = 0;
    int fullHeight = 0;
};
UnfoldChange ChangeUnfoldDirection(const PixelRect& window, bool rolled, int from, int to, int fullWidth,
                                   int fullHeight, int titleBar);

// The vertical roll animation: 150 ms, easing out.
inline constexpr int RollAnimationMs = 150;
int AnimatedHeight(int startHeight, int targetHeight, unsigned long long elapsedMs);
// The part of the tallest state's surface that shows `height`: the top part,
// or the bottom part when the bar is at the bottom.
PixelRect AnimationClip(int direction, int width, int maxHeight, int height);

}  // namespace cadrels
