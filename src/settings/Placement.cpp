#include "settings/Placement.h"

namespace cadrels {

POINT FitToWorkArea(POINT origin, SIZE size, const RECT& workArea)
{
    POINT fitted = origin;
    if (fitted.x + size.cx > workArea.right) {
        fitted.x = workArea.right - size.cx;
    }
    if (fitted.y + size.cy > workArea.bottom) {
        fitted.y = workArea.bottom - size.cy;
    }
    if (fitted.x < workArea.left) {
        fitted.x = workArea.left;
    }
    if (fitted.y < workArea.top) {
        fitted.y = workArea.top;
    }
    return fitted;
}

POINT CenterOn(const RECT& area, SIZE size)
{
    return {area.left + (area.right - area.left - size.cx) / 2, area.top + (area.bottom - area.top - size.cy) / 2};
}

RECT WorkAreaNear(POINT point)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) {
        return info.rcWork;
    }
    RECT workArea{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0)) {
        return workArea;
    }
    return PrimaryScreenRect();
}

RECT PrimaryScreenRect()
{
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace cadrels
