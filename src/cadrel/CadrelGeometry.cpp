#include "cadrel/CadrelGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace cadrels {
namespace {

constexpr PixelRect NoMonitorRect{120, 120, 120 + 360, 120 + 460};
constexpr int SmallestWidth = 120;
constexpr int SmallestHeight = 100;

int Round(double value)
{
    return static_cast<int>(std::lround(value));
}

// Clamps into lo..hi; when the range is empty its upper bound wins.
int ClampUpperWins(int value, int lo, int hi)
{
    return std::min(std::max(value, lo), hi);
}

// The nearest line, else the grid value: where one coordinate would snap to.
std::optional<int> SnapTarget(const std::vector<int>& lines, int c, int origin, const SnapReach& reach)
{
    if (const std::optional<int> line = NearestLine(lines, c, reach.distance)) {
        return line;
    }
    return GridValue(c, origin, reach.grid, reach.distance);
}

// One axis of a move: the shift that aligns the near edge or the far edge,
// whichever is smaller (the near edge on ties), when within reach.
int MoveShift(int nearEdge, int farEdge, const std::vector<int>& lines, int origin, const SnapReach& reach)
{
    const std::optional<int> nearTarget = SnapTarget(lines, nearEdge, origin, reach);
    const std::optional<int> farTarget = SnapTarget(lines, farEdge, origin, reach);
    std::optional<int> shift;
    if (nearTarget) {
        shift = *nearTarget - nearEdge;
    }
    if (farTarget && (!shift || std::abs(*farTarget - farEdge) < std::abs(*shift))) {
        shift = *farTarget - farEdge;
    }
    if (shift && std::abs(*shift) <= reach.distance) {
        return *shift;
    }
    return 0;
}

}  // namespace

int ScaleLength(double length96, unsigned dpi)
{
    return static_cast<int>(length96 * static_cast<double>(dpi) / 96.0);
}

CadrelMetrics MetricsForDpi(unsigned dpi)
{
    CadrelMetrics metrics;
    metrics.titleBar = ScaleLength(30, dpi);
    metrics.minWidth = ScaleLength(160, dpi);
    metrics.minHeight = ScaleLength(120, dpi);
    metrics.edgeGrab = std::max(1, ScaleLength(6, dpi));
    metrics.cornerGrab = ScaleLength(16, dpi);
    metrics.snapDistance = std::max(1, ScaleLength(11, dpi));
    metrics.minVisible = ScaleLength(48, dpi);
    return metrics;
}

PixelRect RectFromGeometry(const CadrelGeom& geometry, const std::optional<PixelRect>& workArea)
{
    if (!workArea) {
        return NoMonitorRect;
    }
    const double width = workArea->Width();
    const double height = workArea->Height();
    const int x = workArea->left + Round(width * geometry.x);
    const int y = workArea->top + Round(height * geometry.y);
    return RectFromSize(x, y, std::max(SmallestWidth, Round(width * geometry.w)),
                        std::max(SmallestHeight, Round(height * geometry.h)));
}

std::optional<CadrelGeom> GeometryFromRect(const PixelRect& rect, const PixelRect& workArea,
                                           const std::string& monitorId, bool rolled)
{
    const double width = workArea.Width();
    const double height = workArea.Height();
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    CadrelGeom geometry;
    geometry.monitor = monitorId;
    geometry.x = (rect.left - workArea.left) / width;
    geometry.y = (rect.top - workArea.top) / height;
    geometry.w = rect.Width() / width;
    geometry.h = rect.Height() / height;
    geometry.rolled = rolled;
    return geometry;
}

PixelPoint FitIntoWorkArea(PixelPoint proposed, int width, int height, const PixelRect& work, int direction,
                           const CadrelMetrics& metrics)
{
    const int bar = metrics.titleBar;
    const int visible = metrics.minVisible;
    PixelPoint fitted;
    switch (direction) {
    case UnfoldUp:
        fitted.x = ClampUpperWins(proposed.x, work.left + visible - width, work.right - visible);
        fitted.y = ClampUpperWins(proposed.y, work.top + bar - height, work.bottom - height);
        break;
    case UnfoldLeft:
        fitted.x = ClampUpperWins(proposed.x, work.left + bar - width, work.right - width);
        fitted.y = ClampUpperWins(proposed.y, work.top + visible - height, work.bottom - visible);
        break;
    case UnfoldRight:
        fitted.x = ClampUpperWins(proposed.x, work.left, work.right - bar);
        fitted.y = ClampUpperWins(proposed.y, work.top + visible - height, work.bottom - visible);
        break;
    default:
        fitted.x = ClampUpperWins(proposed.x, work.left + visible - width, work.right - visible);
        fitted.y = ClampUpperWins(proposed.y, work.top, work.bottom - bar);
        break;
    }
    return fitted;
}

SnapLines CollectSnapLines(const PixelRect& workArea, bool snapToEdges, const std::vector<PixelRect>& neighbours)
{
    SnapLines lines;
    lines.originX = workArea.left;
    lines.originY = workArea.top;
    if (!snapToEdges) {
        return lines;
    }
    lines.vertical = {workArea.left, workArea.right};
    lines.horizontal = {workArea.top, workArea.bottom};
    for (const PixelRect& neighbour : neighbours) {
        lines.vertical.push_back(neighbour.left);
        lines.vertical.push_back(neighbour.right);
        lines.horizontal.push_back(neighbour.top);
        lines.horizontal.push_back(neighbour.bottom);
    }
    return lines;
}

SnapReach SnapReachFor(int gridSetting, unsigned dpi)
{
    SnapReach reach;
    reach.grid = gridSetting > 0 ? std::max(1, ScaleLength(gridSetting, dpi)) : 0;
    reach.distance = std::max(1, ScaleLength(11, dpi));
    return reach;
}

std::optional<int> NearestLine(const std::vector<int>& lines, int c, int distance)
{
    std::optional<int> best;
    int bestDistance = 0;
    for (int line : lines) {
        const int d = std::abs(line - c);
        if (d < distance + 1 && (!best || d < bestDistance)) {
            best = line;
            bestDistance = d;
        }
    }
    return best;
}

std::optional<int> GridValue(int c, int origin, int grid, int distance)
{
    if (grid <= 0) {
        return std::nullopt;
    }
    const int d = c - origin;
    const int sign = d < 0 ? -1 : 1;
    const int value = origin + sign * grid * ((std::abs(d) + grid / 2) / grid);
    if (std::abs(value - c) > distance) {
        return std::nullopt;
    }
    return value;
}

PixelPoint SnapMove(const PixelRect& rect, const SnapLines& lines, const SnapReach& reach)
{
    return {rect.left + MoveShift(rect.left, rect.right, lines.vertical, lines.originX, reach),
            rect.top + MoveShift(rect.top, rect.bottom, lines.horizontal, lines.originY, reach)};
}

PixelRect SnapResize(const PixelRect& rect, int edges, const SnapLines& lines, const SnapReach& reach, int minWidth,
                     int minHeight)
{
    PixelRect snapped = rect;
    auto snapEdge = [&](int& edge, const std::vector<int>& axisLines, int origin, bool horizontal, int minimum) {
        const std::optional<int> target = SnapTarget(axisLines, edge, origin, reach);
        if (!target) {
            return;
        }
        const int saved = edge;
        edge = *target;
        const int size = horizontal ? snapped.Width() : snapped.Height();
        if (size < minimum) {
            edge = saved;
        }
    };
    if (edges & EdgeLeft) {
        snapEdge(snapped.left, lines.vertical, lines.originX, true, minWidth);
    }
    if (edges & EdgeRight) {
        snapEdge(snapped.right, lines.vertical, lines.originX, true, minWidth);
    }
    if (edges & EdgeTop) {
        snapEdge(snapped.top, lines.horizontal, lines.originY, false, minHeight);
    }
    if (edges & EdgeBottom) {
        snapEdge(snapped.bottom, lines.horizontal, lines.originY, false, minHeight);
    }
    return snapped;
}

PixelRect ResizeByEdges(const PixelRect& pressRect, int dx, int dy, int edges, int minWidth, int minHeight)
{
    PixelRect rect = pressRect;
    if (edges & EdgeLeft) {
        rect.left += dx;
    }
    if (edges & EdgeRight) {
        rect.right += dx;
    }
    if (edges & EdgeTop) {
        rect.top += dy;
    }
    if (edges & EdgeBottom) {
        rect.bottom += dy;
    }
    if (rect.Width() < minWidth) {
        if (edges & EdgeLeft) {
            rect.left = rect.right - minWidth;
        } else {
            rect.right = rect.left + minWidth;
        }
    }
    if (rect.Height() < minHeight) {
        if (edges & EdgeTop) {
            rect.top = rect.bottom - minHeight;
        } else {
            rect.bottom = rect.top + minHeight;
        }
    }
    return rect;
}

int ResizeEdgesAt(int x, int y, int clientWidth, int clientHeight, unsigned dpi)
{
    const int grab = std::max(1, ScaleLength(6, dpi));
    const int corner = ScaleLength(16, dpi);
    const int w = clientWidth;
    const int h = clientHeight;
    int edges = 0;
    if (x <= grab) {
        edges |= EdgeLeft;
    }
    if (x >= w - grab) {
        edges |= EdgeRight;
    }
    if (y <= grab) {
        edges |= EdgeTop;
    }
    if (y >= h - grab) {
        edges |= EdgeBottom;
    }
    if (x <= corner && y <= corner) {
        edges |= EdgeLeft | EdgeTop;
    }
    if (x >= w - corner && y <= corner) {
        edges |= EdgeRight | EdgeTop;
    }
    if (x <= corner && y >= h - corner) {
        edges |= EdgeLeft | EdgeBottom;
    }
    if (x >= w - corner && y >= h - corner) {
        edges |= EdgeRight | EdgeBottom;
    }
    return edges;
}

PixelRect TitleBarClientRect(int clientWidth, int clientHeight, int direction, int titleBar)
{
    switch (direction) {
    case UnfoldUp: {
        const int barTop = std::max(0, clientHeight - titleBar);
        return {0, barTop, clientWidth, barTop + titleBar};
    }
    case UnfoldLeft:
        return {clientWidth - titleBar, 0, clientWidth, clientHeight};
    case UnfoldRight:
        return {0, 0, titleBar, clientHeight};
    default:
        return {0, 0, clientWidth, titleBar};
    }
}

bool IsOnTitleBarAt(int x, int y, int clientWidth, int clientHeight, int direction, int titleBar)
{
    return TitleBarClientRect(clientWidth, clientHeight, direction, titleBar).Contains(x, y);
}

TabSpan TabSpanAt(int index, int count, int clientWidth, int clientHeight, int direction, unsigned dpi)
{
    const int pad = ScaleLength(10, dpi);
    const int grab = ScaleLength(22, dpi);
    const int length = IsVerticalUnfold(direction) ? clientWidth : clientHeight;
    const double each = count > 0 ? std::max(0, length - 2 * pad - grab) / static_cast<double>(count) : 0.0;
    return {pad + index * each, pad + (index + 1) * each};
}

int TabAtPoint(int x, int y, int count, int clientWidth, int clientHeight, int direction, unsigned dpi)
{
    if (count < 2 || !IsOnTitleBarAt(x, y, clientWidth, clientHeight, direction, ScaleLength(30, dpi))) {
        return -1;
    }
    const double along = IsVerticalUnfold(direction) ? x : y;
    for (int i = 0; i < count; ++i) {
        const TabSpan span = TabSpanAt(i, count, clientWidth, clientHeight, direction, dpi);
        if (along >= span.start && along < span.end) {
            return i;
        }
    }
    return -1;
}

int TabInsertIndexAt(int x, int y, int count, int clientWidth, int clientHeight, int direction, unsigned dpi)
{
    if (count < 2) {
        return 0;
    }
    const TabSpan first = TabSpanAt(0, count, clientWidth, clientHeight, direction, dpi);
    const double each = first.end - first.start;
    if (!(each > 0)) {
        return 0;
    }
    const double along = IsVerticalUnfold(direction) ? x : y;
    const double slot = std::floor((along - first.start) / each);
    return static_cast<int>(std::clamp(slot, 0.0, static_cast<double>(count - 1)));
}

namespace {

// A rectangle sharing `edge`'s side where the title bar sits (the side the
// cadrel does not unfold towards), `width` or `height` long away from it.
PixelRect AnchoredAtBarSide(const PixelRect& edge, int direction, int width, int height)
{
    switch (direction) {
    case UnfoldUp:
        return {edge.left, edge.bottom - height, edge.right, edge.bottom};
    case UnfoldLeft:
        return {edge.right - width, edge.top, edge.right, edge.bottom};
    case UnfoldRight:
        return {edge.left, edge.top, edge.left + width, edge.bottom};
    default:
        return {edge.left, edge.top, edge.right, edge.top + height};
    }
}

}  // namespace

PixelRect RolledRect(const PixelRect& full, int direction, int titleBar)
{
    return AnchoredAtBarSide(full, direction, titleBar, titleBar);
}

PixelRect UnrolledRect(const PixelRect& bar, int direction, int fullWidth, int fullHeight)
{
    const int height = fullHeight < 1 ? bar.Height() : fullHeight;
    const int width = fullWidth < 1 ? bar.Width() : fullWidth;
    return AnchoredAtBarSide(bar, direction, width, height);
}

PixelRect FullRectOf(const PixelRect& window, bool rolled, int direction, int fullWidth, int fullHeight)
{
    if (!rolled) {
        return window;
    }
    if (!IsVerticalUnfold(direction)) {
        return fullWidth > 0 ? UnrolledRect(window, direction, fullWidth, 0) : window;
    }
    return fullHeight > 0 ? UnrolledRect(window, direction, 0, fullHeight) : window;
}

UnfoldChange ChangeUnfoldDirection(const PixelRect& window, bool rolled, int from, int to, int fullWidth,
                                   int fullHeight, int titleBar)
{
    UnfoldChange change{window, fullWidth, fullHeight};
    PixelRect full = window;
    if (rolled) {
        full = IsVerticalUnfold(from) ? UnrolledRect(window, from, 0, fullHeight)
                                      : UnrolledRect(window, from, fullWidth, 0);
    }
    if (full.Width() > titleBar) {
        change.fullWidth = full.Width();
    }
    if (full.Height() > titleBar) {
        change.fullHeight = full.Height();
    }
    if (rolled) {
        change.rect = RolledRect(full, to, titleBar);
    }
    return change;
}

int AnimatedHeight(int startHeight, int targetHeight, unsigned long long elapsedMs)
{
    const double t = std::clamp(static_cast<double>(elapsedMs) / RollAnimationMs, 0.0, 1.0);
    const double eased = 1.0 - (1.0 - t) * (1.0 - t);
    return Round(startHeight + eased * (targetHeight - startHeight));
}

PixelRect AnimationClip(int direction, int width, int maxHeight, int height)
{
    if (direction == UnfoldUp) {
        return {0, maxHeight - height, width, maxHeight};
    }
    return {0, 0, width, height};
}

}  // namespace cadrels
