// Moving a cadrel by its title bar and resizing it by its edges, with
// snapping to the work area, the neighbours and the grid, and the rule that
// keeps every cadrel reachable on its monitor.
#include "cadrel/Cadrel.h"

#include "base/AppMessages.h"
#include "base/RectConversion.h"

#include <utility>

namespace cadrels {
namespace {

// Alt held: move and resize freely.
bool AltHeld()
{
    return GetKeyState(VK_MENU) < 0;
}

}  // namespace

std::optional<PixelRect> NearestWorkArea(const PixelRect& rect)
{
    const RECT area = ToRect(rect);
    HMONITOR monitor = MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
        return std::nullopt;
    }
    return ToPixelRect(info.rcWork);
}

bool Cadrel::MovingForbidden() const
{
    return properties_.locked || pageFrozen_ || host_.PolicyLocksCadrels();
}

void Cadrel::CaptureSnapTargets()
{
    std::vector<PixelRect> neighbours;
    if (snapping_.UsesNeighbours()) {
        for (const RECT& rect : host_.NeighbourRects(*this)) {
            neighbours.push_back(ToPixelRect(rect));
        }
    }
    snapping_.SetNeighbours(std::move(neighbours));
}

PixelPoint Cadrel::FitToMonitor(PixelPoint proposed, int width, int height) const
{
    return snapping_.Fit(proposed, width, height, properties_.expandDir, Metrics());
}

void Cadrel::MoveStep(POINT cursor)
{
    const PixelRect press = press_.Window();
    const PixelPoint from = press_.Cursor();
    const int width = press.Width();
    const int height = press.Height();
    const PixelRect proposed =
        RectFromSize(press.left + cursor.x - from.x, press.top + cursor.y - from.y, width, height);
    const PixelPoint position = snapping_.Move(proposed, AltHeld(), properties_.expandDir, Metrics(), dpi_);
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
    const PixelRect rect = snapping_.Resize(
        ResizeByEdges(press, cursor.x - from.x, cursor.y - from.y, edges, metrics.minWidth, metrics.minHeight),
        edges, AltHeld(), metrics, dpi_);
    SetWindowPos(window_.Get(), nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace cadrels
