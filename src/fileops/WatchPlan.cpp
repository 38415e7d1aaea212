#include "fileops/WatchPlan.h"

namespace cadrels {

std::vector<std::wstring> WatchedFolderList(const std::wstring& desktop, const std::vector<std::wstring>& extras,
                                            const std::function<bool(const std::wstring&)>& isWatchable)
{
    std::vector<std::wstring> folders;
    if (!desktop.empty()) {
        folders.push_back(desktop);
    }
    for (const std::wstring& folder : extras) {
        if (folders.size() >= MaxWatchedFolders) {
            break;
        }
        if (!folder.empty() && isWatchable(folder)) {
            folders.push_back(folder);
        }
    }
    return folders;
}

}  // namespace cadrels
