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

bool OtherPageShowsFolder(const Settings& settings, int livePage, const std::wstring& folder,
                          const SameFolder& sameFolder)
{
    if (folder.empty()) {
        return false;
    }
    for (size_t page = 0; page < settings.workspaces.size(); ++page) {
        if (static_cast<int>(page) == livePage) {
            continue;
        }
        for (const CadrelRecord& cadrel : settings.workspaces[page].cadrels) {
            for (const CadrelTab& tab : cadrel.tabs) {
                if (!tab.folder.empty() && sameFolder(tab.folder, folder)) {
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace cadrels
