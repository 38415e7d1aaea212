#include "sorting/RestoreReview.h"

#include "model/PathText.h"
#include "sorting/SortRules.h"

#include <algorithm>
#include <string_view>

namespace cadrels {
namespace {

std::wstring FolderKey(std::wstring_view folder)
{
    std::wstring key;
    key.reserve(folder.size());
    for (wchar_t c : folder) {
        key += IsPathSeparator(c) ? L'\\' : AsciiLower(c);
    }
    while (key.size() > 1 && key.back() == L'\\') {
        key.pop_back();
    }
    return key;
}

// The folder a cadrel's rule files into: the one its active tab shows, as
// the filing pass takes it. Empty when the rule does not take part.
std::wstring RuleDestination(const CadrelRecord& record)
{
    if (!TakesPart(record.rule) || record.active < 0 || record.active >= static_cast<int>(record.tabs.size())) {
        return {};
    }
    return record.tabs[static_cast<size_t>(record.active)].folder;
}

bool KnownRule(const Settings& current, const SortRule& rule, const std::wstring& destinationKey)
{
    for (const Workspace& page : current.workspaces) {
        for (const CadrelRecord& record : page.cadrels) {
            if (record.rule == rule) {
                const std::wstring destination = RuleDestination(record);
                if (!destination.empty() && FolderKey(destination) == destinationKey) {
                    return true;
                }
            }
        }
    }
    return false;
}

bool IsNewRule(const Settings& current, const CadrelRecord& record)
{
    const std::wstring destination = RuleDestination(record);
    return !destination.empty() && !KnownRule(current, record.rule, FolderKey(destination));
}

bool Watched(const Settings& settings, const std::wstring& folder)
{
    const std::wstring key = FolderKey(folder);
    return std::any_of(settings.watchFolders.begin(), settings.watchFolders.end(),
                       [&](const std::wstring& watched) { return FolderKey(watched) == key; });
}

// Every path of an arrangement that is opened or started on its own.
template <typename Visit>
void ForEachOpenedPath(const Settings& settings, const Visit& visit)
{
    for (const Workspace& page : settings.workspaces) {
        for (const CadrelRecord& record : page.cadrels) {
            for (const CadrelTab& tab : record.tabs) {
                visit(tab.folder);
                visit(tab.emblem);
                visit(tab.hostedExe);
            }
        }
    }
    for (const std::wstring& folder : settings.watchFolders) {
        visit(folder);
    }
    for (const std::wstring& item : settings.dock) {
        visit(item);
    }
    for (const auto& [item, icon] : settings.dockIcons) {
        visit(item);
        visit(icon);
    }
}

bool Named(const Settings& settings, const std::wstring& path)
{
    const std::wstring key = FolderKey(path);
    bool named = false;
    ForEachOpenedPath(settings, [&](const std::wstring& known) { named = named || FolderKey(known) == key; });
    return named;
}

bool IsNewNetworkPath(const Settings& current, const std::wstring& path)
{
    return IsNetworkPath(path) && !Named(current, path);
}

void AddOnce(std::vector<std::wstring>& list, const std::wstring& folder)
{
    const std::wstring key = FolderKey(folder);
    if (std::none_of(list.begin(), list.end(), [&](const std::wstring& listed) { return FolderKey(listed) == key; })) {
        list.push_back(folder);
    }
}

}  // namespace

RestoreReach NewRestoreReach(const Settings& current, const Settings& restored)
{
    RestoreReach reach;
    for (const Workspace& page : restored.workspaces) {
        for (const CadrelRecord& record : page.cadrels) {
            if (IsNewRule(current, record)) {
                AddOnce(reach.ruleFolders, RuleDestination(record));
            }
        }
    }
    for (const std::wstring& folder : restored.watchFolders) {
        if (!folder.empty() && !Watched(current, folder)) {
            AddOnce(reach.watchFolders, folder);
        }
    }
    ForEachOpenedPath(restored, [&](const std::wstring& path) {
        if (IsNewNetworkPath(current, path)) {
            AddOnce(reach.networkPaths, path);
        }
    });
    return reach;
}

void SetAsideNewReach(const Settings& current, Settings& restored)
{
    for (Workspace& page : restored.workspaces) {
        for (CadrelRecord& record : page.cadrels) {
            if (IsNewRule(current, record)) {
                record.rule.enabled = false;
            }
        }
    }
    std::erase_if(restored.watchFolders,
                  [&](const std::wstring& folder) { return !folder.empty() && !Watched(current, folder); });
    const auto isNew = [&](const std::wstring& path) { return IsNewNetworkPath(current, path); };
    for (Workspace& page : restored.workspaces) {
        std::vector<std::string> emptied;
        for (CadrelRecord& record : page.cadrels) {
            const bool hadTabs = !record.tabs.empty();
            int active = record.active;
            for (int i = static_cast<int>(record.tabs.size()) - 1; i >= 0; --i) {
                if (isNew(record.tabs[static_cast<size_t>(i)].folder)) {
                    record.tabs.erase(record.tabs.begin() + i);
                    if (i < active) {
                        --active;
                    }
                }
            }
            record.active = record.tabs.empty() ? 0 : std::clamp(active, 0, static_cast<int>(record.tabs.size()) - 1);
            for (CadrelTab& tab : record.tabs) {
                if (isNew(tab.emblem)) {
                    tab.emblem.clear();
                }
                if (isNew(tab.hostedExe)) {
                    tab.hostedExe.clear();
                }
            }
            if (hadTabs && record.tabs.empty()) {
                emptied.push_back(record.id);
            }
        }
        std::erase_if(page.cadrels, [&](const CadrelRecord& record) {
            return record.tabs.empty() && std::find(emptied.begin(), emptied.end(), record.id) != emptied.end();
        });
    }
    std::erase_if(restored.dock, isNew);
    std::erase_if(restored.dockIcons, [&](const auto& entry) { return isNew(entry.first) || isNew(entry.second); });
}

}  // namespace cadrels
