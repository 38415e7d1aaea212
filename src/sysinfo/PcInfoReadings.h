// What the PC information report is made of, as read from the system and
// before any wording: the reader fills it, the formatter words it. A value
// the system would not give stays empty (or at its "unknown" default), and
// the formatter chooses the fallback text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cadrels {

struct ModelReading {
    // The BIOS values; a missing value and an empty one mean the same.
    std::optional<std::wstring> manufacturer;
    std::optional<std::wstring> product;
};

struct KernelVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
};

struct WindowsReading {
    std::optional<std::wstring> productName;     // "Windows 10 Pro"
    std::optional<std::wstring> displayVersion;  // "23H2"
    std::optional<std::wstring> buildNumber;     // "22631"
    std::optional<std::uint32_t> updateRevision; // 2861
    // What the kernel says: the registry keeps "Windows 10" in the product
    // name of Windows 11, and compatibility shims lie to GetVersionEx.
    std::optional<KernelVersion> kernel;
};

// The processor architecture codes of SYSTEM_INFO, spelled here so that the
// formatter needs no Windows header.
inline constexpr std::uint16_t ArchitectureX86 = 0;
inline constexpr std::uint16_t ArchitectureArm = 5;
inline constexpr std::uint16_t ArchitectureX64 = 9;
inline constexpr std::uint16_t ArchitectureArm64 = 12;
inline constexpr std::uint16_t ArchitectureUnknown = 0xFFFF;

struct CpuReading {
    std::optional<std::wstring> name;
    std::uint16_t architecture = ArchitectureUnknown;
    std::optional<unsigned> physicalCores;
    unsigned logicalProcessors = 0;
};

struct MemoryReading {
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0;
};

struct DiskReading {
    std::wstring volume;  // "C:\"
    std::uint64_t freeBytesForUser = 0;
    std::uint64_t totalBytes = 0;
};

// SYSTEM_POWER_STATUS's codes: AC line 0 off, 1 on, 255 unknown; percentage
// 255 unknown (no battery).
struct PowerReading {
    std::uint8_t acLineStatus = 255;
    std::uint8_t batteryPercent = 255;
};

struct GpuReading {
    std::wstring description;
    std::uint64_t dedicatedVideoMemory = 0;
    bool software = false;
};

struct DisplayReading {
    std::wstring deviceString;  // the monitor's own name; may be empty
    std::wstring deviceName;    // \\.\DISPLAY1
    int width = 0;
    int height = 0;
    unsigned dpi = 96;
    bool primary = false;
};

struct PcInfoReadings {
    std::wstring computerName;
    std::wstring userName;
    ModelReading model;
    WindowsReading windows;
    CpuReading cpu;
    std::optional<MemoryReading> memory;
    std::optional<DiskReading> disk;
    PowerReading power;
    std::uint64_t uptimeMs = 0;
    std::vector<GpuReading> gpus;
    std::vector<DisplayReading> displays;
};

}  // namespace cadrels
