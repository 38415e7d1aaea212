// The application's side of device loss: at most one recreation at a time,
// retried on timer 1 with a delay that starts at 250 ms and doubles up to
// 5000 ms for as long as creation fails. It reaches the rest of the program
// only through the callbacks.
#pragma once

#include "gfx/GraphicsDevice.h"

#include <windows.h>

#include <cstdint>
#include <functional>

namespace cadrels {

class DeviceRecovery {
public:
    static constexpr UINT InitialRetryDelayMs = 250;
    static constexpr UINT MaxRetryDelayMs = 5000;

    struct Callbacks {
        // Start timer 1 (TimerDeviceRetry) on the application window with that period.
        std::function<void(UINT delayMs)> startRetryTimer;
        // After a successful recreation: drop device-bound caches, rebuild
        // and redraw every live window.
        std::function<void()> rebuildWindows;
    };

    DeviceRecovery(GraphicsDevice& device, Callbacks callbacks);

    // WM_APP_DEVICE_LOST; `generation` is its wParam. Ignored while a
    // recreation is pending, and for a report about a device generation that
    // a recreation has already replaced (several windows report the same loss).
    void OnDeviceLost(std::uint32_t generation);
    // Timer 1, after the caller killed it.
    void OnRetryTimer();

    bool RecreationPending() const { return pending_; }
    UINT RetryDelayMs() const { return retryDelayMs_; }

private:
    void RecreateDevice();

    GraphicsDevice& device_;
    Callbacks callbacks_;
    bool pending_ = false;
    UINT retryDelayMs_ = InitialRetryDelayMs;
};

}  // namespace cadrels
