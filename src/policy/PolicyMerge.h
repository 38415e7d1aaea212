// The start-up step that puts the administrator's predefined cadrels on the
// active page, in place of whatever it held.
#pragma once

#include "model/ContainerFolders.h"
#include "model/FolderResolver.h"
#include "model/MonitorInfo.h"
#include "model/Records.h"
#include "policy/PredefinedCadrels.h"

#include <functional>
#include <string>
#include <vector>

namespace cadrels {

inline constexpr char PolicyCadrelIdPrefix[] = "pol-";

struct PolicyMergeContext {
    ContainerRoots roots;
    FolderResolver resolve;
    // The name a folder tab without title shows.
    std::function<std::wstring(const std::wstring& folder)> displayName;
    // Keeps the arrangement about to be replaced; called only when the page
    // holds cadrels of the user's own.
    std::function<bool(const Settings&)> snapshot;
    std::function<void(const std::wstring&)> log;
};

// The process's container roots and known folders, the shell's display
// names, an automatic snapshot in the snapshots folder, DebugLog.
PolicyMergeContext ProcessPolicyMergeContext();

// Replaces the cadrels of the active page by the predefined ones ("pol-0",
// "pol-1", ...) with their geometry under `displayKey`. A personal tab gets
// back the container the same predefined tab had at the previous start, so
// its files stay in view; only the first time is a container created. Nothing
// happens when `predefined` is empty. True when the page was replaced.
bool MergePredefinedCadrels(Settings& settings, const std::vector<PredefinedCadrel>& predefined,
                            const std::vector<MonitorInfo>& monitors, const std::string& displayKey,
                            const PolicyMergeContext& context);

}  // namespace cadrels
