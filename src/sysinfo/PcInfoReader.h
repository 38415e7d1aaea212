// Reads what the PC information report shows from the running system.
#pragma once

#include "model/MonitorInfo.h"
#include "sysinfo/PcInfoReadings.h"

#include <vector>

namespace cadrels {

// Everything is read afresh on each call; nothing is cached. The displays
// are the given monitors, in their order. Takes a few milliseconds (DXGI).
PcInfoReadings ReadPcInfo(const std::vector<MonitorInfo>& monitors);

}  // namespace cadrels
