#include "app/AppSchedule.h"

#include "app/AppScheduling.h"

#include <algorithm>

namespace cadrels {

void AppSchedule::SaveSoon()
{
    if (!savePending_) {
        savePending_ = true;
        signals_.Post(Scheduled::Save);
    }
}

void AppSchedule::SortSoon(std::uint64_t now)
{
    sortQuiet_.Changed(now);
    // The timer is set once; when it fires early, SortMayRun sets it again
    // for what remains of the quiet period.
    if (!sortPending_) {
        sortPending_ = true;
        signals_.StartTimer(Scheduled::Sort, static_cast<unsigned>(std::max<std::uint64_t>(1, sortQuiet_.Remaining(now))));
    }
}

bool AppSchedule::SortMayRun(bool busy, std::uint64_t now)
{
    if (sortQuiet_.Pending() && !sortQuiet_.Due(now)) {
        signals_.StartTimer(Scheduled::Sort, static_cast<unsigned>(sortQuiet_.Remaining(now)));
        return false;
    }
    if (SortMustWait(busy, static_cast<std::uint32_t>(now), sortPausedUntil_)) {
        signals_.StartTimer(Scheduled::Sort, SortDelayMs);
        return false;
    }
    sortQuiet_.Started();
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
