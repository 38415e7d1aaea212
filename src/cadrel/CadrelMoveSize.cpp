// Moving a cadrel by its title bar and resizing it by its edges, with
// snapping to the work area, the neighbours and the grid, and the rule that
// keeps every cadrel reachable on its monitor.
#include "cadrel/Cadrel.h"

#include "base/AppMessages.h"

namespace cadrels {

bool Cadrel::MovingForbidden() const
{
    return properties_.locked || pageFrozen_ || host_.PolicyLocksCadrels();
}

bool Cadrel::SnappingActive() const
{
    // Alt held: move and resize freely.
    return (snapEnabled_ || gridStep_ > 0) && GetKeyState(VK_MENU) >= 0;
}

void Cadrel::CaptureSnapTargets()
{
    // Gathered once per move or resize: the neighbours do not move meanwhile.
    snapTargets_.clear();
    if (!snapEnabled_) {
        return;
    }
    for (const RECT& rect : host_.NeighbourRects(*this)) {
        snapTargets_.push_back({rect.left, rect.top, rect.right, rect.bottom});
    }
}

std::optional<PixelRect> Cadrel::NearestWorkArea(const PixelRect& rect) const
{
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    HMONITOR monitor = MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
        return std::nullopt;
    }
    return PixelRect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

PixelPoint Cadrel::FitToMonitor(PixelPoint proposed, int width, int height) const
{
    const std::optional<PixelRect> work = NearestWorkArea(RectFromSize(proposed.x, proposed.y, width, height));
    if (!work) {
        return proposed;
    }
    return FitIntoWorkArea(proposed, width, height, *work, properties_.expandDir, Metrics());
}

void Cadrel::MoveStep(POINT cursor)
{
    const PixelRect press = press_.Window();
    const PixelPoint from = press_.Cursor();
    const int width = press.Width();
    const int height = press.Height();
    PixelPoint position{press.left + cursor.x - from.x, press.top + cursor.y - from.y};
    if (SnappingActive()) {
        const PixelRect proposed = RectFromSize(position.x, position.y, width, height);
        if (const std::optional<PixelRect> work = NearestWorkArea(proposed)) {
            const SnapLines lines = CollectSnapLines(*work, snapEnabled_, snapTargets_);
            position = SnapMove(proposed, lines, SnapReachFor(gridStep_, dpi_));
        }
    }
    position = FitToMonitor(position, width, height);
    SetWindowPos(window_.Get(), nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(appWindow_, WM_APP_CADREL_DRAGGING, reinterpret_cast<WPARAM>(window_.Get()),
                 PackScreenPoint(cursor));
}

void Cadrel::ResizeStep(POINT cursor)
{
    const CadrelMetrics metrics = Metrics();
    const PixelRect press = press_.Window();
    const PixelPoint from = press_.Cursor();
    const int edges = press_.ResizeEdges();
    PixelRect rect = ResizeByEdges(press, cursor.x - from.x, cursor.y - from.y, edges, metrics.minWidth,
                                   metrics.minHeight);
    if (SnappingActive()) {
        if (const std::optional<PixelRect> work = NearestWorkArea(rect)) {
            const SnapLines lines = CollectSnapLines(*work, snapEnabled_, snapTargets_);
            rect = SnapResize(rect, edges, lines, SnapReachFor(gridStep_, dpi_), metrics.minWidth,
                              metrics.minHeight);
        }
    }
    SetWindowPos(window_.Get(), nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace cadrels
