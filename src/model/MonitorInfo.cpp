#include "model/MonitorInfo.h"

#include "i18n/TextEncoding.h"
#include "model/Records.h"

#include <shellscalingapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>

namespace cadrels {
namespace {

// GDI device name -> monitor device path, from the active display configuration.
std::map<std::wstring, std::wstring> DevicePathsByGdiName()
{
    std::map<std::wstring, std::wstring> result;
    UINT32 pathCount = 0;
    UINT32 modeCount = 0;
    if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS) {
        return result;
    }
    std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
    std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
    if (QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount, modes.data(),
                           nullptr) != ERROR_SUCCESS) {
        return result;
    }
    paths.resize(pathCount);
    for (const DISPLAYCONFIG_PATH_INFO& path : paths) {
        DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
        source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
        source.header.size = sizeof source;
        source.header.adapterId = path.sourceInfo.adapterId;
        source.header.id = path.sourceInfo.id;
        DISPLAYCONFIG_TARGET_DEVICE_NAME target{};
        target.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME;
        target.header.size = sizeof target;
        target.header.adapterId = path.targetInfo.adapterId;
        target.header.id = path.targetInfo.id;
        if (DisplayConfigGetDeviceInfo(&source.header) != ERROR_SUCCESS ||
            DisplayConfigGetDeviceInfo(&target.header) != ERROR_SUCCESS) {
            continue;
        }
        if (source.viewGdiDeviceName[0] != L'\0' && target.monitorDevicePath[0] != L'\0') {
            result.emplace(source.viewGdiDeviceName, target.monitorDevicePath);
        }
    }
    return result;
}

std::wstring DisplayDeviceId(const std::wstring& gdiName)
{
    DISPLAY_DEVICEW device{};
    device.cb = sizeof device;
    if (EnumDisplayDevicesW(gdiName.c_str(), 0, &device, 0) && device.DeviceID[0] != L'\0') {
        return device.DeviceID;
    }
    return {};
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context)
{
    auto* monitors = reinterpret_cast<std::vector<MonitorInfo>*>(context);
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) {
        return TRUE;
    }
    MonitorInfo entry;
    entry.deviceName = info.szDevice;
    entry.workArea = info.rcWork;
    entry.bounds = info.rcMonitor;
    entry.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    UINT dpiX = 0;
    UINT dpiY = 0;
    entry.dpi = SUCCEEDED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY)) && dpiX > 0 ? dpiX : 96;
    monitors->push_back(std::move(entry));
    return TRUE;
}

}  // namespace

std::vector<MonitorInfo> EnumerateMonitors()
{
    std::vector<MonitorInfo> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    const auto devicePaths = DevicePathsByGdiName();
    for (MonitorInfo& monitor : monitors) {
        std::wstring id;
        if (auto found = devicePaths.find(monitor.deviceName); found != devicePaths.end()) {
            id = found->second;
        }
        if (id.empty()) {
            id = DisplayDeviceId(monitor.deviceName);
        }
        if (id.empty()) {
            id = monitor.deviceName;
        }
        monitor.id = WideToUtf8(id);
    }
    return monitors;
}

const MonitorInfo* PrimaryMonitor(const std::vector<MonitorInfo>& monitors)
{
    for (const MonitorInfo& monitor : monitors) {
        if (monitor.primary) {
            return &monitor;
        }
    }
    return monitors.empty() ? nullptr : &monitors.front();
}

std::string DisplayKey(const std::vector<MonitorInfo>& monitors)
{
    if (monitors.empty()) {
        return "default";
    }
    std::vector<std::string> parts;
    parts.reserve(monitors.size());
    for (const MonitorInfo& monitor : monitors) {
        char size[64];
        std::snprintf(size, sizeof size, "|%dx%d@%u",
                      static_cast<int>(monitor.workArea.right - monitor.workArea.left),
                      static_cast<int>(monitor.workArea.bottom - monitor.workArea.top), monitor.dpi);
        parts.push_back(monitor.id + size);
    }
    std::sort(parts.begin(), parts.end());
    std::string key;
    for (const std::string& part : parts) {
        key += part;
    }
    return key;
}

void NoteDisplayUsed(std::vector<std::string>& recent, const std::string& key)
{
    if (key.empty()) {
        return;
    }
    std::erase(recent, key);
    recent.insert(recent.begin(), key);
    if (recent.size() > MaxRecentDisplays) {
        recent.resize(MaxRecentDisplays);
    }
}

}  // namespace cadrels
