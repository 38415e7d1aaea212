// The latches that keep the application's deferred work to one of each at a
// time: a queued save, a waiting sorting pass, an icon refresh, and the
// display reconfiguration that waits for the windows to settle. The schedule
// decides; the application window carries its signals out (a posted message
// or a timer) and calls back when they arrive. Free of Windows headers, so
// the rules are tested on any host.
#pragma once

#include "sorting/FileReadiness.h"

#include <cstdint>

namespace cadrels {

enum class Scheduled { Save, Sort, IconsRefresh, DisplayReconfigure };

class ScheduleSignals {
public:
    // Save and IconsRefresh arrive as a posted message.
    virtual void Post(Scheduled work) = 0;
    // Sort and DisplayReconfigure arrive as a timer, restarted when running.
    virtual void StartTimer(Scheduled work, unsigned delayMs) = 0;
    virtual void StopTimer(Scheduled work) = 0;

protected:
    ~ScheduleSignals() = default;
};

class AppSchedule {
public:
    // A pass waits until the watched folders have been quiet this long, each
    // change pushing it back, but never longer than SortLongestWaitMs after
    // the first change: a download is filed once it is complete, and a
    // folder that keeps changing is still filed. Also the retry delay while
    // the pass cannot run.
    static constexpr unsigned SortDelayMs = 1000;
    static constexpr unsigned SortLongestWaitMs = 5000;
    static constexpr unsigned DisplaySettleMs = 600;
    // Files an undo or redo just moved would otherwise be filed again at once.
    static constexpr std::uint32_t SortPauseAfterUndoMs = 1500;

    explicit AppSchedule(ScheduleSignals& signals) : signals_(signals) {}
    AppSchedule(const AppSchedule&) = delete;
    AppSchedule& operator=(const AppSchedule&) = delete;

    // A save is asked for: one is queued, however many ask before it runs.
    void SaveSoon();
    // A save runs, queued or not: the next request queues a new one.
    void SaveStarted() { savePending_ = false; }

    // A folder changed and asks for a sorting pass (`now` in milliseconds of
    // the 64-bit tick count): one waits, however many ask before it runs.
    void SortSoon(std::uint64_t now);
    void SortTimerFired() { signals_.StopTimer(Scheduled::Sort); }
    // Whether the sorting pass may run now. It waits for the folders' quiet
    // period, while `busy` (a prompt, a drag or a file operation pumps
    // messages) and during the pause after an undo, and is tried again
    // later; when it may run, a new request queues a new pass.
    bool SortMayRun(bool busy, std::uint64_t now);
    void PauseSortingAfterUndo(std::uint32_t now) { sortPausedUntil_ = now + SortPauseAfterUndoMs; }

    // Icons arrived: one refresh is queued for any number of them.
    void IconsArrived();
    void IconsRefreshStarted() { iconsRefreshPending_ = false; }

    // The displays changed: windows may still be in transit, so their
    // geometry is not copied until the new configuration is applied.
    void DisplayChanged();
    // The settle time is over: whether the configuration may be applied now;
    // while busy it waits another settle time.
    bool DisplayMayReconfigure(bool busy);
    void DisplayReconfigured() { reconfigPending_ = false; }
    bool DisplayInTransit() const { return reconfigPending_; }

private:
    ScheduleSignals& signals_;
    bool savePending_ = false;
    bool sortPending_ = false;
    bool iconsRefreshPending_ = false;
    bool reconfigPending_ = false;
    std::uint32_t sortPausedUntil_ = 0;
    QuietPeriod sortQuiet_{SortDelayMs, SortLongestWaitMs};
};

}  // namespace cadrels
