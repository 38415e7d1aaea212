#include "app/ScheduleWindow.h"

#include "base/AppMessages.h"

namespace cadrels {
namespace {

UINT MessageFor(Scheduled work)
{
    switch (work) {
    case Scheduled::Save:
        return WM_APP_SAVE_NOW;
    case Scheduled::IconsRefresh:
        return WM_APP_ICONS_REFRESH;
    default:
        return 0;
    }
}

UINT_PTR TimerFor(Scheduled work)
{
    switch (work) {
    case Scheduled::Sort:
        return TimerSort;
    case Scheduled::DisplayReconfigure:
        return TimerDisplayReconfigure;
    default:
        return 0;
    }
}

}  // namespace

void ScheduleWindow::Post(Scheduled work)
{
    if (const UINT message = MessageFor(work)) {
        PostMessageW(window_, message, 0, 0);
    }
}

void ScheduleWindow::StartTimer(Scheduled work, unsigned delayMs)
{
    if (const UINT_PTR timer = TimerFor(work)) {
        SetTimer(window_, timer, delayMs, nullptr);
    }
}

void ScheduleWindow::StopTimer(Scheduled work)
{
    if (const UINT_PTR timer = TimerFor(work)) {
        KillTimer(window_, timer);
    }
}

}  // namespace cadrels
