// The application's folder watcher: the Desktop and the user's extra folders
// ask for a sorting pass whenever they change.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "fileops/WatchFolders.h"
#include "fileops/WatchPlan.h"
#include "model/FolderResolver.h"

#include <shlobj.h>

#include <algorithm>

namespace cadrels {

void App::StartFolderWatcher()
{
    if (folderWatcher_.Running()) {
        return;
    }
    std::vector<std::wstring> folders =
        WatchedFolderList(ResolveKnownFolder(FOLDERID_Desktop), settings_.watchFolders, IsWatchableDirectory);
    const int count = static_cast<int>(folders.size());
    if (folderWatcher_.Start(std::move(folders), window_, WM_APP_SORT_SOON)) {
        DebugLog(L"Surveillance de %d dossier(s) pour le rangement.", count);
    }
}

void App::StopFolderWatcher()
{
    folderWatcher_.Stop();
}

void App::AddWatchFolder(const std::wstring& path)
{
    if (path.empty() || SameWatchFolder(path, ResolveKnownFolder(FOLDERID_Desktop))) {
        return;
    }
    const bool known = std::any_of(settings_.watchFolders.begin(), settings_.watchFolders.end(),
                                   [&](const std::wstring& folder) { return SameWatchFolder(folder, path); });
    if (known) {
        return;
    }
    settings_.watchFolders.push_back(path);
    Save();
    StopFolderWatcher();
    StartFolderWatcher();
    PostMessageW(window_, WM_APP_SORT_SOON, 0, 0);
}

void App::RemoveWatchFolder(int index)
{
    if (index < 0 || index >= static_cast<int>(settings_.watchFolders.size())) {
        return;
    }
    settings_.watchFolders.erase(settings_.watchFolders.begin() + index);
    Save();
    StopFolderWatcher();
    StartFolderWatcher();
}

}  // namespace cadrels
