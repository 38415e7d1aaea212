// The launcher: made on first use by the dock's Applications slot or the
// launcher shortcut, then only shown and hidden; destroyed at shutdown.
#include "app/App.h"

#include "base/DebugLog.h"

namespace cadrels {

void App::ToggleLaunchpad()
{
    if (!launchpad_) {
        auto launchpad = std::make_unique<Launchpad>(graphics_, iconCache_.get(), window_);
        if (!launchpad->Create(instance_)) {
            DebugLog(L"Launchpad : creation impossible, la bascule ne fait rien.");
            return;
        }
        launchpad_ = std::move(launchpad);
    }
    launchpad_->Toggle();
}

void App::OnToggleLaunchpad()
{
    ToggleLaunchpad();
}

void App::DestroyLaunchpad()
{
    launchpad_.reset();
}

}  // namespace cadrels
