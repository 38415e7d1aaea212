#include "sysinfo/PcInfoReport.h"

#include "sysinfo/PcInfoFormat.h"
#include "sysinfo/PcInfoReader.h"

namespace cadrels {

std::wstring BuildPcInfoReport(const std::vector<MonitorInfo>& monitors)
{
    return FormatPcInfoReport(ReadPcInfo(monitors));
}

}  // namespace cadrels
