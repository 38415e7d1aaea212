// The other applications' windows the hosting submenu can offer, read from
// the desktop in z-order.
#pragma once

#include "cadrel/CadrelMenuModel.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace cadrels {

// Every top-level window, topmost first; for the ordinary application
// windows (IsLayoutCandidate) also the title and whether `hostedElsewhere`
// says a cadrel holds it already. HostCandidates picks the entries from it.
std::vector<HostWindowFacts> TopLevelWindows(const std::function<bool(HWND)>& hostedElsewhere);

}  // namespace cadrels
