// Display changes: the monitor list, the display key and where cadrels stand.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "model/LayoutFile.h"

namespace cadrels {
namespace {

constexpr UINT DisplaySettleMs = 600;

}  // namespace

void App::OnDisplayChanged()
{
    // Windows may still be in transit: geometry is not copied until applied.
    reconfigPending_ = true;
    SetTimer(window_, TimerDisplayReconfigure, DisplaySettleMs, nullptr);
}

void App::OnDisplayReconfigureTimer()
{
    KillTimer(window_, TimerDisplayReconfigure);
    if (operation_.Running()) {
        SetTimer(window_, TimerDisplayReconfigure, DisplaySettleMs, nullptr);
        return;
    }
    monitors_ = EnumerateMonitors();
    displayKey_ = DisplayKey(monitors_);
    PlaceCadrelsForDisplay();
    SaveLayout(settings_);
    reconfigPending_ = false;
    DebugLog(L"Reconfiguration d'ecran appliquee (empreinte mise a jour).");
}

}  // namespace cadrels
