#include "gfx/DeviceRecovery.h"

#include "base/DebugLog.h"

#include <algorithm>
#include <utility>

namespace cadrels {

DeviceRecovery::DeviceRecovery(GraphicsDevice& device, Callbacks callbacks)
    : device_(device), callbacks_(std::move(callbacks))
{
}

void DeviceRecovery::OnDeviceLost(std::uint32_t generation)
{
    if (pending_) {
        return;
    }
    if (generation != 0 && generation != device_.Generation()) {
        return;
    }
    pending_ = true;
    RecreateDevice();
}

void DeviceRecovery::OnRetryTimer()
{
    pending_ = true;
    RecreateDevice();
}

void DeviceRecovery::RecreateDevice()
{
    const HRESULT hr = device_.Recreate();
    if (SUCCEEDED(hr)) {
        if (callbacks_.rebuildWindows) {
            callbacks_.rebuildWindows();
        }
        pending_ = false;
        retryDelayMs_ = InitialRetryDelayMs;
        DebugLog(L"Device recree avec succes.");
        return;
    }
    DebugLog(L"Echec de recreation du device (0x%08X) ; nouvel essai dans %d ms", static_cast<unsigned>(hr),
             static_cast<int>(retryDelayMs_));
    if (callbacks_.startRetryTimer) {
        callbacks_.startRetryTimer(retryDelayMs_);
    }
    retryDelayMs_ = std::min(retryDelayMs_ * 2, MaxRetryDelayMs);
}

}  // namespace cadrels
