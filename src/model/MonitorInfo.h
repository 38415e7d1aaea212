// The monitor list and the display key under which each page files its geometry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace cadrels {

struct MonitorInfo {
    std::string id;           // stable identifier (UTF-8), see EnumerateMonitors
    std::wstring deviceName;  // GDI device name, e.g. \\.\DISPLAY1
    RECT workArea{};
    RECT bounds{};
    unsigned dpi = 96;
    bool primary = false;
};

// In EnumDisplayMonitors order. The identifier is the monitor's device path from
// the active display configuration, else the DeviceID EnumDisplayDevicesW gives,
// else the GDI device name: the first survives re-plugging and port changes.
std::vector<MonitorInfo> EnumerateMonitors();

// The first monitor flagged primary, else the first one; null for an empty list.
const MonitorInfo* PrimaryMonitor(const std::vector<MonitorInfo>& monitors);

// Per monitor: id + "|<work width>x<work height>@<dpi>", sorted bytewise and
// concatenated; "default" without monitors.
std::string DisplayKey(const std::vector<MonitorInfo>& monitors);

// Moves `key` to the front of the most-recent-first list, dropping the oldest
// beyond MaxRecentDisplays.
void NoteDisplayUsed(std::vector<std::string>& recent, const std::string& key);

}  // namespace cadrels
