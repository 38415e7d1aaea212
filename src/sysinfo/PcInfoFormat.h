// Words the readings of the PC information report in the interface language.
// Each Describe function gives one value of the report, fallback included.
#pragma once

#include "sysinfo/PcInfoReadings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

// Trailing spaces and tabs removed: the registry and the drivers pad names.
std::wstring TrimTrailingBlanks(std::wstring_view text);

std::wstring DescribeModel(const ModelReading& model);
std::wstring DescribeWindows(const WindowsReading& windows);
std::wstring DescribeCpu(const CpuReading& cpu);
std::wstring DescribeMemory(const std::optional<MemoryReading>& memory);
std::wstring DescribeDisk(const std::optional<DiskReading>& disk);
std::wstring DescribePower(const PowerReading& power);
std::wstring DescribeUptime(std::uint64_t uptimeMs);
// One name per hardware adapter; the software rasterizer is left out.
std::vector<std::wstring> DescribeGpus(const std::vector<GpuReading>& gpus);
std::wstring DescribeDisplay(const DisplayReading& display);

// The whole report: lines separated by "\n", sections by an empty line.
std::wstring FormatPcInfoReport(const PcInfoReadings& readings);

}  // namespace cadrels
