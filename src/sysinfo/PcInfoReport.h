// The PC information report: a plain-text description of this machine, in
// the interface language, for a message box, the clipboard or a support
// message.
#pragma once

#include "model/MonitorInfo.h"

#include <string>
#include <vector>

namespace cadrels {

// Lines separated by "\n"; a value that cannot be read is replaced by a
// fallback text, so a report always comes back.
std::wstring BuildPcInfoReport(const std::vector<MonitorInfo>& monitors);

}  // namespace cadrels
