#include "model/Pages.h"

namespace cadrels {

PageRemoval RemovePage(Settings& settings, int index)
{
    const int pages = static_cast<int>(settings.workspaces.size());
    if (pages < 2 || index < 0 || index >= pages) {
        return PageRemoval::Refused;
    }
    settings.workspaces.erase(settings.workspaces.begin() + index);
    const int remaining = pages - 1;
    if (index < settings.activeWorkspace) {
        --settings.activeWorkspace;
        return PageRemoval::RemovedOther;
    }
    if (index > settings.activeWorkspace) {
        return PageRemoval::RemovedOther;
    }
    if (settings.activeWorkspace >= remaining) {
        settings.activeWorkspace = remaining - 1;
    }
    return PageRemoval::RemovedActive;
}

}  // namespace cadrels
