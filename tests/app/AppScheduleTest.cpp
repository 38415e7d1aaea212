#include "app/AppSchedule.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace cadrels {
namespace {

struct Signal {
    enum Kind { Post, Start, Stop } kind;
    Scheduled work;
    unsigned delayMs = 0;
    friend bool operator==(const Signal&, const Signal&) = default;
};

class RecordedSignals final : public ScheduleSignals {
public:
    void Post(Scheduled work) override { sent.push_back({Signal::Post, work}); }
    void StartTimer(Scheduled work, unsigned delayMs) override { sent.push_back({Signal::Start, work, delayMs}); }
    void StopTimer(Scheduled work) override { sent.push_back({Signal::Stop, work}); }

    // What was signalled since the last call.
    std::vector<Signal> Take() { return std::exchange(sent, {}); }

    std::vector<Signal> sent;
};

using Signals = std::vector<Signal>;
const Signal PostSave{Signal::Post, Scheduled::Save};
const Signal PostRefresh{Signal::Post, Scheduled::IconsRefresh};
const Signal StartSort{Signal::Start, Scheduled::Sort, AppSchedule::SortDelayMs};
const Signal StopSort{Signal::Stop, Scheduled::Sort};
const Signal StartSettle{Signal::Start, Scheduled::DisplayReconfigure, AppSchedule::DisplaySettleMs};
const Signal StopSettle{Signal::Stop, Scheduled::DisplayReconfigure};

TEST(AppSchedule, OneSaveIsQueuedUntilItRuns)
{
    RecordedSignals signals;
    AppSchedule schedule(signals);
    schedule.SaveSoon();
    schedule.SaveSoon();
    schedule.SaveSoon();
    EXPECT_EQ(signals.Take(), (Signals{PostSave}));
    schedule.SaveStarted();
    schedule.SaveSoon();
    EXPECT_EQ(signals.Take(), (Signals{PostSave})) << "a change after the save needs a save of its own";
}

TEST(AppSchedule, OneSortingPassWaitsUntilItRuns)
{
    RecordedSignals signals;
    AppSchedule schedule(signals);
    schedule.SortSoon(8000);
    schedule.SortSoon(8000);
    EXPECT_EQ(signals.Take(), (Signals{StartSort})) << "a burst of folder changes is one pass";
    schedule.SortTimerFired();
    EXPECT_TRUE(schedule.SortMayRun(false, 10000));
    EXPECT_EQ(signals.Take(), (Signals{StopSort}));
    schedule.SortSoon(10000);
    EXPECT_EQ(signals.Take(), (Signals{StartSort})) << "a change during the pass asks for another";
}

TEST(AppSchedule, SortingWaitsWhileAnOperationRuns)
{
    RecordedSignals signals;
    AppSchedule schedule(signals);
    schedule.SortSoon(8000);
    signals.Take();
    EXPECT_FALSE(schedule.SortMayRun(true, 10000));
    EXPECT_EQ(signals.Take(), (Signals{StartSort})) << "tried again later";
    schedule.SortSoon(9000);
    EXPECT_TRUE(signals.Take().empty()) << "the waiting pass stays the only one";
    EXPECT_TRUE(schedule.SortMayRun(false, 10400));
    schedule.SortSoon(10400);
    EXPECT_EQ(signals.Take(), (Signals{StartSort}));
}

TEST(AppSchedule, SortingPausesAfterUndoAcrossTheTickWrap)
{
    struct Case {
        std::uint32_t undoAt;
        std::uint32_t sinceUndo;
        bool runs;
    };
    const Case cases[] = {
        {100000, 0, false},          {100000, 1499, false},      {100000, 1500, true},
        {100000, 60000, true},       {0xFFFFFF00u, 100, false},  {0xFFFFFF00u, 0x200, false},
        {0xFFFFFF00u, 1500, true},
    };
    for (const Case& c : cases) {
        RecordedSignals signals;
        AppSchedule schedule(signals);
        schedule.PauseSortingAfterUndo(c.undoAt);
        EXPECT_EQ(schedule.SortMayRun(false, c.undoAt + c.sinceUndo), c.runs)
            << c.sinceUndo << " ms after an undo at " << c.undoAt;
        EXPECT_EQ(signals.Take(), c.runs ? Signals{} : Signals{StartSort});
    }
    RecordedSignals signals;
    AppSchedule fresh(signals);
    EXPECT_TRUE(fresh.SortMayRun(false, 5)) << "never paused";
}

// A download written in bursts: the pass waits for the folders to be quiet,
// each change pushing it back, and once the quiet moment has passed the
// timer that fired early is started again for what remains.
TEST(AppSchedule, SortingWaitsForTheFoldersToBeQuiet)
{
    RecordedSignals signals;
    AppSchedule schedule(signals);
    schedule.SortSoon(0);
    schedule.SortSoon(600);
    EXPECT_EQ(signals.Take(), (Signals{StartSort})) << "the timer is set once, at the first change";
    schedule.SortTimerFired();
    EXPECT_FALSE(schedule.SortMayRun(false, 1000)) << "changed 400 ms ago";
    EXPECT_EQ(signals.Take(), (Signals{StopSort, Signal{Signal::Start, Scheduled::Sort, 600}}));
    schedule.SortTimerFired();
    EXPECT_TRUE(schedule.SortMayRun(false, 1600)) << "quiet for a full moment";
    EXPECT_EQ(signals.Take(), (Signals{StopSort}));

    // The next change opens a quiet period of its own.
    schedule.SortSoon(2000);
    EXPECT_EQ(signals.Take(), (Signals{StartSort}));
    EXPECT_FALSE(schedule.SortMayRun(false, 2999));
    EXPECT_TRUE(schedule.SortMayRun(false, 3000));
}

TEST(AppSchedule, AFolderThatKeepsChangingIsSortedAfterTheLongestWait)
{
    RecordedSignals signals;
    AppSchedule schedule(signals);
    const std::uint64_t first = 50000;
    for (std::uint64_t t = first; t < first + AppSchedule::SortLongestWaitMs; t += 300) {
        schedule.SortSoon(t);
        EXPECT_FALSE(schedule.SortMayRun(false, t)) << t - first << " ms after the first change";
    }
    schedule.SortSoon(first + AppSchedule::SortLongestWaitMs - 10);
    EXPECT_TRUE(schedule.SortMayRun(false, first + AppSchedule::SortLongestWaitMs))
        << "a change 10 ms ago no longer pushes the pass back";
}

TEST(AppSchedule, AQuietFolderStillWaitsWhileBusy)
{
    RecordedSignals signals;
    AppSchedule schedule(signals);
    schedule.SortSoon(0);
    signals.Take();
    EXPECT_FALSE(schedule.SortMayRun(true, 5000));
    EXPECT_EQ(signals.Take(), (Signals{StartSort}));
    EXPECT_TRUE(schedule.SortMayRun(false, 6000));
}

TEST(AppSchedule, OneIconRefreshForABurstOfIcons)
{
    RecordedSignals signals;
    AppSchedule schedule(signals);
    schedule.IconsArrived();
    schedule.IconsArrived();
    EXPECT_EQ(signals.Take(), (Signals{PostRefresh}));
    schedule.IconsRefreshStarted();
    schedule.IconsArrived();
    EXPECT_EQ(signals.Take(), (Signals{PostRefresh}));
}

TEST(AppSchedule, TheDisplayIsInTransitUntilTheNewConfigurationIsApplied)
{
    RecordedSignals signals;
    AppSchedule schedule(signals);
    EXPECT_FALSE(schedule.DisplayInTransit());
    schedule.DisplayChanged();
    schedule.DisplayChanged();
    EXPECT_EQ(signals.Take(), (Signals{StartSettle, StartSettle})) << "each change restarts the settle time";
    EXPECT_TRUE(schedule.DisplayInTransit());

    EXPECT_FALSE(schedule.DisplayMayReconfigure(true));
    EXPECT_EQ(signals.Take(), (Signals{StopSettle, StartSettle})) << "a busy application waits another settle time";
    EXPECT_TRUE(schedule.DisplayInTransit());

    EXPECT_TRUE(schedule.DisplayMayReconfigure(false));
    EXPECT_EQ(signals.Take(), (Signals{StopSettle}));
    EXPECT_TRUE(schedule.DisplayInTransit()) << "until the windows are placed";
    schedule.DisplayReconfigured();
    EXPECT_FALSE(schedule.DisplayInTransit());
}

TEST(AppSchedule, EachLatchIsItsOwn)
{
    RecordedSignals signals;
    AppSchedule schedule(signals);
    schedule.SaveSoon();
    schedule.SortSoon(0);
    schedule.IconsArrived();
    EXPECT_EQ(signals.Take(), (Signals{PostSave, StartSort, PostRefresh}));
    schedule.SaveStarted();
    schedule.SortSoon(10);
    schedule.IconsArrived();
    EXPECT_TRUE(signals.Take().empty()) << "a save opens only the save latch";
}

}  // namespace
}  // namespace cadrels
