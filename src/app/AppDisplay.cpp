// Display changes: the monitor list, the display key and where cadrels stand.
#include "app/App.h"

#include "base/DebugLog.h"
#include "model/LayoutFile.h"

namespace cadrels {
void App::OnDisplayReconfigureTimer()
{
    if (!schedule_.DisplayMayReconfigure(operation_.Running())) {
        return;
    }
    monitors_ = EnumerateMonitors();
    displayKey_ = DisplayKey(monitors_);
    cadrels_.PlaceForDisplay(monitors_, ActivePage().layouts[displayKey_]);
    SaveLayout(settings_);
    schedule_.DisplayReconfigured();
    DebugLog(L"Reconfiguration d'ecran appliquee (empreinte mise a jour).");
}

}  // namespace cadrels
