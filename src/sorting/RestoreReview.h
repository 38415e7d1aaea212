// What a restored arrangement would start doing on its own, compared with the
// arrangement in use: the folders its sorting rules would file into, the
// folders it would watch and the network places it would open. A restored file may come from another machine or
// another process; none of this takes part before the user has said yes.
// Plain functions over the settings values.
#pragma once

#include "model/Records.h"

#include <string>
#include <vector>

namespace cadrels {

struct RestoreReach {
    // Where the restored rules that are new would file (each folder once).
    std::vector<std::wstring> ruleFolders;
    // Restored watched folders the arrangement in use does not watch.
    std::vector<std::wstring> watchFolders;
    // Network paths (IsNetworkPath) among the restored tab folders, hosted
    // programs, emblems, watched folders, dock items and dock icons that
    // the arrangement in use names nowhere among those.
    std::vector<std::wstring> networkPaths;

    bool Empty() const { return ruleFolders.empty() && watchFolders.empty() && networkPaths.empty(); }
};

// A rule is new unless the arrangement in use, on any page, already has the
// same rule taking part and filing into the same folder. A folder is the
// same when its text is, ignoring ASCII case, the separator kind and
// trailing separators.
RestoreReach NewRestoreReach(const Settings& current, const Settings& restored);

// What the user declined: the new rules turned off (their conditions kept,
// so turning one on again in the settings gives it back), the new watched
// folders left out, and every new network path left out unopened: a tab
// showing one goes (a cadrel left without a tab with it), an emblem or a
// hosted program naming one is cleared, a dock item or icon naming one goes.
// The restored file itself keeps them for a restore the user agrees to.
void SetAsideNewReach(const Settings& current, Settings& restored);

}  // namespace cadrels
