// Timers of a cadrel window.
#pragma once

#include <windows.h>

namespace cadrels {

enum CadrelTimer : UINT_PTR {
    CadrelTimerFolderRefresh = 1,
    CadrelTimerTabHover = 2,
    CadrelTimerRollAnimation = 3,
    CadrelTimerRenameClick = 4,
    CadrelTimerHostKeep = 5,
    CadrelTimerHostNudge = 6,
    CadrelTimerRollUpCheck = 8,
};

}  // namespace cadrels
