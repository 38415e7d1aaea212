#include "policy/PolicyMerge.h"

#include "base/DebugLog.h"
#include "i18n/StringTable.h"
#include "i18n/TextEncoding.h"
#include "model/FolderKeywords.h"
#include "model/FolderTree.h"
#include "model/Snapshots.h"

#include <shellapi.h>

#include <algorithm>

namespace cadrels {
namespace {

std::wstring ShellDisplayName(const std::wstring& folder)
{
    SHFILEINFOW info{};
    if (SHGetFileInfoW(folder.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) != 0 && info.szDisplayName[0] != 0) {
        return info.szDisplayName;
    }
    std::wstring trimmed = folder;
    while (trimmed.size() > 1 && (trimmed.back() == L'\\' || trimmed.back() == L'/')) {
        trimmed.pop_back();
    }
    const size_t split = trimmed.find_last_of(L"\\/");
    return split == std::wstring::npos ? trimmed : trimmed.substr(split + 1);
}

bool IsPolicyCadrel(const CadrelRecord& record)
{
    return record.id.rfind(PolicyCadrelIdPrefix, 0) == 0;
}

// The container this predefined tab had at the previous start: the folder of
// the same tab of the same "pol-" cadrel, when it is one of our containers
// (or lies in the container root and went missing, to be re-created there).
std::wstring PreviousContainer(const std::vector<CadrelRecord>& previous, const std::string& id, size_t tabIndex,
                               const ContainerRoots& roots)
{
    const auto record = std::find_if(previous.begin(), previous.end(),
                                     [&id](const CadrelRecord& candidate) { return candidate.id == id; });
    if (record == previous.end() || tabIndex >= record->tabs.size()) {
        return {};
    }
    const std::wstring& folder = record->tabs[tabIndex].folder;
    if (IsContainer(folder, roots) || (IsInsideContainerRoot(folder, roots) && !IsDirectory(folder))) {
        return folder;
    }
    return {};
}

}  // namespace

PolicyMergeContext ProcessPolicyMergeContext()
{
    PolicyMergeContext context;
    context.roots = ProcessContainerRoots();
    context.resolve = ResolveKnownFolder;
    context.displayName = ShellDisplayName;
    context.snapshot = [](const Settings& settings) {
        return TakeAutomaticSnapshot(settings, Tr(TextId::BeforeAdministratorLayout));
    };
    context.log = [](const std::wstring& line) { DebugLog(L"%ls", line.c_str()); };
    return context;
}

bool MergePredefinedCadrels(Settings& settings, const std::vector<PredefinedCadrel>& predefined,
                            const std::vector<MonitorInfo>& monitors, const std::string& displayKey,
                            const PolicyMergeContext& context)
{
    if (predefined.empty() || settings.workspaces.empty()) {
        return false;
    }
    const size_t active = static_cast<size_t>(
        std::clamp(settings.activeWorkspace, 0, static_cast<int>(settings.workspaces.size()) - 1));
    Workspace& page = settings.workspaces[active];

    // The user's own cadrels would otherwise vanish without a trace; their
    // folders stay on disk and the snapshot brings the arrangement back.
    if (std::any_of(page.cadrels.begin(), page.cadrels.end(),
                    [](const CadrelRecord& record) { return !IsPolicyCadrel(record); })) {
        if (!context.snapshot(settings)) {
            context.log(L"Politique : instantane avant remplacement des cadrels NON ecrit.");
        }
    }

    const MonitorInfo* primary = PrimaryMonitor(monitors);
    const std::string monitorId = primary != nullptr ? primary->id : std::string();
    const std::vector<CadrelRecord> previous = std::move(page.cadrels);
    page.cadrels.clear();

    for (size_t n = 0; n < predefined.size(); ++n) {
        const PredefinedCadrel& source = predefined[n];
        CadrelRecord record;
        record.id = PolicyCadrelIdPrefix + std::to_string(n);
        for (size_t t = 0; t < source.tabs.size(); ++t) {
            const PredefinedTab& tabSource = source.tabs[t];
            CadrelTab tab;
            tab.title = Utf8ToWide(tabSource.title);
            if (!tabSource.folder.empty()) {
                tab.folder = ResolveFolderKeyword(Utf8ToWide(tabSource.folder), context.resolve);
                if (tab.title.empty()) {
                    tab.title = context.displayName(tab.folder);
                    tab.titleAuto = true;
                }
            } else if (tabSource.personal) {
                if (tab.title.empty()) {
                    tab.title = Tr(TextId::EmptyCadrel);
                }
                tab.folder = PreviousContainer(previous, record.id, t, context.roots);
                if (tab.folder.empty() || !EnsureContainer(tab.folder, context.roots)) {
                    const std::string containerId = "polpers-" + std::to_string(n) + "-" + std::to_string(t);
                    tab.folder = CreateContainer(tab.title, containerId, context.roots);
                }
                if (tab.folder.empty()) {
                    context.log(L"Politique : onglet personnel sans conteneur, ignore.");
                    continue;
                }
            }
            tab.emblem = Utf8ToWide(tabSource.emblem);
            tab.hostedExe = Utf8ToWide(tabSource.hostedExe);
            record.tabs.push_back(std::move(tab));
        }
        if (record.tabs.empty()) {
            continue;
        }
        if (source.opacityPercent) {
            record.opacity = *source.opacityPercent / 100.0;
        }
        record.tint = source.tint.value_or(record.tint);
        record.caccent = source.accent.value_or(record.caccent);
        record.viewMode = source.viewMode.value_or(record.viewMode);
        record.expandDir = source.expandDir;
        if (source.sortBy) {
            record.sortBy = *source.sortBy;
            record.sortDesc = source.sortDesc;
        }
        record.pinned = source.pinned;
        record.locked = source.locked;
        page.layouts[displayKey][record.id] =
            CadrelGeom{monitorId, source.x, source.y, source.w, source.h, source.rolledUp};
        page.cadrels.push_back(std::move(record));
    }
    return true;
}

}  // namespace cadrels
