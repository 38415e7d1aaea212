// The application window's side of the schedule: each kind of deferred work
// comes back as its own posted message or timer.
#pragma once

#include "app/AppSchedule.h"

#include <windows.h>

namespace cadrels {

class ScheduleWindow final : public ScheduleSignals {
public:
    void SetWindow(HWND appWindow) { window_ = appWindow; }

    void Post(Scheduled work) override;
    void StartTimer(Scheduled work, unsigned delayMs) override;
    void StopTimer(Scheduled work) override;

private:
    HWND window_ = nullptr;
};

}  // namespace cadrels
