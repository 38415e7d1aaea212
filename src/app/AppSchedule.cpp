#include "app/AppSchedule.h"

#include "app/AppScheduling.h"

namespace cadrels {

void AppSchedule::SaveSoon()
{
    if (!savePending_) {
        savePending_ = true;
        signals_.Post(Scheduled::Save);
    }
}

void AppSchedule::SortSoon()
{
    if (!sortPending_) {
        sortPending_ = true;
        signals_.StartTimer(Scheduled::Sort, SortDelayMs);
    }
}

bool AppSchedule::SortMayRun(bool busy, std::uint32_t now)
{
    if (SortMustWait(busy, now, sortPausedUntil_)) {
        signals_.StartTimer(Scheduled::Sort, SortDelayMs);
        return false;
    }
    sortPending_ = false;
    return true;
}

void AppSchedule::IconsArrived()
{
    if (!iconsRefreshPending_) {
        iconsRefreshPending_ = true;
        signals_.Post(Scheduled::IconsRefresh);
    }
}

void AppSchedule::DisplayChanged()
{
    reconfigPending_ = true;
    signals_.StartTimer(Scheduled::DisplayReconfigure, DisplaySettleMs);
}

bool AppSchedule::DisplayMayReconfigure(bool busy)
{
    signals_.StopTimer(Scheduled::DisplayReconfigure);
    if (busy) {
        signals_.StartTimer(Scheduled::DisplayReconfigure, DisplaySettleMs);
        return false;
    }
    return true;
}

}  // namespace cadrels
