#include "sysinfo/PcInfoReader.h"

#include "base/DebugLog.h"
#include "base/UniqueHandle.h"

#include <windows.h>
#include <dxgi.h>
#include <lmcons.h>
#include <wrl/client.h>

#include <cstddef>
#include <cwchar>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace cadrels {
namespace {

using Microsoft::WRL::ComPtr;

static_assert(ArchitectureX86 == PROCESSOR_ARCHITECTURE_INTEL);
static_assert(ArchitectureArm == PROCESSOR_ARCHITECTURE_ARM);
static_assert(ArchitectureX64 == PROCESSOR_ARCHITECTURE_AMD64);
static_assert(ArchitectureArm64 == PROCESSOR_ARCHITECTURE_ARM64);
static_assert(ArchitectureUnknown == PROCESSOR_ARCHITECTURE_UNKNOWN);

constexpr wchar_t BiosKey[] = L"HARDWARE\\DESCRIPTION\\System\\BIOS";
constexpr wchar_t CurrentVersionKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr wchar_t ProcessorKey[] = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

UniqueKey OpenMachineKey(const wchar_t* path)
{
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) {
        key.Reset();
    }
    return key;
}

std::optional<std::wstring> ReadString(const UniqueKey& key, const wchar_t* name)
{
    if (!key) {
        return std::nullopt;
    }
    // The value may grow between the size query and the read: try again then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD bytes = 0;
        if (RegGetValueW(key.Get(), nullptr, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        const LSTATUS status = RegGetValueW(key.Get(), nullptr, name, RRF_RT_REG_SZ, nullptr, value.data(), &bytes);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return std::nullopt;
        }
        // RegGetValueW terminates the text; what follows the terminator is slack.
        value.resize(std::wcslen(value.c_str()));
        return value;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> ReadDword(const UniqueKey& key, const wchar_t* name)
{
    if (!key) {
        return std::nullopt;
    }
    DWORD value = 0;
    DWORD bytes = sizeof value;
    if (RegGetValueW(key.Get(), nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

std::wstring ReadComputerName()
{
    DWORD length = 0;
    GetComputerNameExW(ComputerNamePhysicalDnsHostname, nullptr, &length);
    if (length > 0) {
        std::wstring name(length, L'\0');
        if (GetComputerNameExW(ComputerNamePhysicalDnsHostname, name.data(), &length) && length > 0) {
            name.resize(length);
            return name;
        }
    }
    wchar_t netbiosName[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD netbiosLength = static_cast<DWORD>(std::size(netbiosName));
    if (GetComputerNameW(netbiosName, &netbiosLength)) {
        return std::wstring(netbiosName, netbiosLength);
    }
    DebugLog(L"Infos PC : nom du PC illisible (erreur %lu).", GetLastError());
    return {};
}

std::wstring ReadUserName()
{
    wchar_t name[UNLEN + 1] = {};
    DWORD length = static_cast<DWORD>(std::size(name));
    if (!GetUserNameW(name, &length)) {
        DebugLog(L"Infos PC : nom d'utilisateur illisible (erreur %lu).", GetLastError());
        return {};
    }
    return name;
}

// GetVersionExW answers what the manifest lets the program see; the kernel
// answers the truth.
std::optional<KernelVersion> ReadKernelVersion()
{
    using RtlGetVersionFunction = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto rtlGetVersion =
        ntdll != nullptr ? reinterpret_cast<RtlGetVersionFunction>(GetProcAddress(ntdll, "RtlGetVersion")) : nullptr;
    if (rtlGetVersion == nullptr) {
        return std::nullopt;
    }
    RTL_OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (rtlGetVersion(&info) != 0) {
        return std::nullopt;
    }
    return KernelVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

WindowsReading ReadWindows()
{
    const UniqueKey key = OpenMachineKey(CurrentVersionKey);
    WindowsReading windows;
    windows.productName = ReadString(key, L"ProductName");
    windows.displayVersion = ReadString(key, L"DisplayVersion");
    windows.buildNumber = ReadString(key, L"CurrentBuildNumber");
    windows.updateRevision = ReadDword(key, L"UBR");
    windows.kernel = ReadKernelVersion();
    return windows;
}

std::optional<unsigned> ReadPhysicalCoreCount()
{
    DWORD length = 0;
    if (GetLogicalProcessorInformationEx(RelationProcessorCore, nullptr, &length) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER || length == 0) {
        return std::nullopt;
    }
    // Whole 64-bit words keep every record suitably aligned.
    std::vector<std::uint64_t> buffer((length + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
    auto* bytes = reinterpret_cast<BYTE*>(buffer.data());
    if (!GetLogicalProcessorInformationEx(
            RelationProcessorCore, reinterpret_cast<SYSTEM_LOGICAL_PROCESSOR_INFORMATION_EX*>(bytes), &length)) {
        return std::nullopt;
    }
    unsigned cores = 0;
    DWORD offset = 0;
    while (offset + offsetof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION_EX, Processor) <= length) {
        const auto* record = reinterpret_cast<const SYSTEM_LOGICAL_PROCESSOR_INFORMATION_EX*>(bytes + offset);
        // A zero or overlong size would loop forever or read past the buffer.
        if (record->Size == 0 || record->Size > length - offset) {
            break;
        }
        if (record->Relationship == RelationProcessorCore) {
            ++cores;
        }
        offset += record->Size;
    }
    if (cores == 0) {
        return std::nullopt;
    }
    return cores;
}

CpuReading ReadCpu()
{
    CpuReading cpu;
    cpu.name = ReadString(OpenMachineKey(ProcessorKey), L"ProcessorNameString");
    SYSTEM_INFO info{};
    GetNativeSystemInfo(&info);
    cpu.architecture = info.wProcessorArchitecture;
    cpu.physicalCores = ReadPhysicalCoreCount();
    // SYSTEM_INFO counts only the calling thread's processor group (64 at
    // most); the active count covers every group.
    cpu.logicalProcessors = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
    if (cpu.logicalProcessors == 0) {
        cpu.logicalProcessors = info.dwNumberOfProcessors;
    }
    return cpu;
}

std::optional<MemoryReading> ReadMemory()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) {
        DebugLog(L"Infos PC : GlobalMemoryStatusEx a echoue (erreur %lu).", GetLastError());
        return std::nullopt;
    }
    return MemoryReading{status.ullTotalPhys, status.ullAvailPhys};
}

std::optional<DiskReading> ReadSystemDisk()
{
    wchar_t windowsDirectory[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windowsDirectory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        DebugLog(L"Infos PC : dossier Windows introuvable (erreur %lu).", GetLastError());
        return std::nullopt;
    }
    wchar_t volume[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(windowsDirectory, volume, static_cast<DWORD>(std::size(volume)))) {
        DebugLog(L"Infos PC : volume de %ls introuvable (erreur %lu).", windowsDirectory, GetLastError());
        return std::nullopt;
    }
    ULARGE_INTEGER freeForUser{}, total{};
    if (!GetDiskFreeSpaceExW(volume, &freeForUser, &total, nullptr)) {
        DebugLog(L"Infos PC : espace libre de %ls illisible (erreur %lu).", volume, GetLastError());
        return std::nullopt;
    }
    return DiskReading{volume, freeForUser.QuadPart, total.QuadPart};
}

PowerReading ReadPower()
{
    SYSTEM_POWER_STATUS status{};
    if (!GetSystemPowerStatus(&status)) {
        return {};
    }
    return PowerReading{status.ACLineStatus, status.BatteryLifePercent};
}

std::vector<GpuReading> ReadGpus()
{
    std::vector<GpuReading> gpus;
    ComPtr<IDXGIFactory1> factory;
    if (const HRESULT hr = CreateDXGIFactory1(IID_PPV_ARGS(factory.ReleaseAndGetAddressOf())); FAILED(hr)) {
        DebugLog(L"Infos PC : CreateDXGIFactory1 a echoue (HRESULT 0x%08X).", static_cast<unsigned>(hr));
        return gpus;
    }
    ComPtr<IDXGIAdapter1> adapter;
    for (UINT index = 0;; ++index) {
        const HRESULT hr = factory->EnumAdapters1(index, adapter.ReleaseAndGetAddressOf());
        if (hr == DXGI_ERROR_NOT_FOUND) {
            break;
        }
        if (FAILED(hr)) {
            DebugLog(L"Infos PC : EnumAdapters1(%u) a echoue (HRESULT 0x%08X).", index, static_cast<unsigned>(hr));
            break;
        }
        DXGI_ADAPTER_DESC1 description{};
        if (FAILED(adapter->GetDesc1(&description))) {
            continue;
        }
        description.Description[std::size(description.Description) - 1] = L'\0';
        gpus.push_back(GpuReading{description.Description, description.DedicatedVideoMemory,
                                  (description.Flags & DXGI_ADAPTER_FLAG_SOFTWARE) != 0});
    }
    return gpus;
}

DisplayReading ReadDisplay(const MonitorInfo& monitor)
{
    DisplayReading display;
    display.deviceName = monitor.deviceName;
    display.width = monitor.bounds.right - monitor.bounds.left;
    display.height = monitor.bounds.bottom - monitor.bounds.top;
    display.dpi = monitor.dpi;
    display.primary = monitor.primary;
    // Given the adapter's device name, the first device is the monitor on it.
    DISPLAY_DEVICEW device{};
    device.cb = sizeof device;
    if (EnumDisplayDevicesW(monitor.deviceName.c_str(), 0, &device, 0)) {
        device.DeviceString[std::size(device.DeviceString) - 1] = L'\0';
        display.deviceString = device.DeviceString;
    }
    return display;
}

}  // namespace

PcInfoReadings ReadPcInfo(const std::vector<MonitorInfo>& monitors)
{
    PcInfoReadings readings;
    readings.computerName = ReadComputerName();
    readings.userName = ReadUserName();
    const UniqueKey bios = OpenMachineKey(BiosKey);
    readings.model.manufacturer = ReadString(bios, L"SystemManufacturer");
    readings.model.product = ReadString(bios, L"SystemProductName");
    readings.windows = ReadWindows();
    readings.cpu = ReadCpu();
    readings.memory = ReadMemory();
    readings.disk = ReadSystemDisk();
    readings.power = ReadPower();
    readings.uptimeMs = GetTickCount64();
    readings.gpus = ReadGpus();
    for (const MonitorInfo& monitor : monitors) {
        readings.displays.push_back(ReadDisplay(monitor));
    }
    return readings;
}

}  // namespace cadrels
