// The cadrel's side of hosting (TabHosting.h does the hosting): what
// hosting reads of the cadrel, and bringing forward the tab whose hosted
// window the user activated.
#include "cadrel/Cadrel.h"

#include "base/AppMessages.h"

namespace cadrels {

HostingSite::State Cadrel::HostingState() const
{
    State state;
    state.window = window_.Get();
    state.activeTab = activeTab_;
    state.pinned = properties_.pinned;
    state.moving = press_.MovingOrResizing();
    state.view = View();
    return state;
}

void Cadrel::HostingTabsChanged()
{
    Notify(WM_APP_CADREL_TABS_CHANGED, true);
}

bool Cadrel::OnForegroundWindow(HWND window)
{
    for (size_t i = 0; i < tabs_.size(); ++i) {
        if (window == nullptr || tabs_[i].hostedWindow != window) {
            continue;
        }
        if (rolled_) {
            SetRolled(false, false, true);
        }
        if (static_cast<int>(i) == activeTab_) {
            hosting_.Place();
        } else {
            ActivateTab(static_cast<int>(i), true);
        }
        return true;
    }
    return false;
}

}  // namespace cadrels
