// The dock: made and destroyed with the showDock setting, its item list
// copied into the settings and saved whenever it changes.
#include "app/App.h"

#include "base/DebugLog.h"

namespace cadrels {

void App::SyncDock()
{
    if (settings_.showDock && !dock_) {
        auto dock = std::make_unique<Dock>(graphics_, iconCache_.get(), window_);
        if (dock->Create(instance_, settings_.dock, settings_.dockIcons)) {
            dock_ = std::move(dock);
        } else {
            DebugLog(L"Dock : creation impossible, le dock reste ferme.");
        }
    } else if (!settings_.showDock && dock_) {
        DestroyDock();
    }
}

void App::DestroyDock()
{
    if (dock_) {
        dock_.reset();
        DebugLog(L"Dock ferme.");
    }
}

// The message carries nothing: the live dock is the one truth, so a stray
// message from another process only saves what is already there.
void App::OnDockChanged()
{
    if (!dock_) {
        return;
    }
    settings_.dock = dock_->Items();
    settings_.dockIcons = dock_->CustomIcons();
    DebugLog(L"Dock : %zu element(s) enregistre(s).", settings_.dock.size());
    Save();
}

void App::OnToggleLaunchpad()
{
    DebugLog(L"Le Launchpad n'est pas encore disponible.");
}

void App::OnShowSettingsRequest()
{
    DebugLog(L"La fenetre des reglages n'est pas encore disponible.");
}

}  // namespace cadrels
