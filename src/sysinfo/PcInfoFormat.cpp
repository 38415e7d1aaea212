#include "sysinfo/PcInfoFormat.h"

#include "i18n/StringTable.h"
#include "sysinfo/ByteSize.h"

#include <cwctype>

namespace cadrels {
namespace {

// Build 22000 is the first Windows 11 release; its registry product name
// still reads "Windows 10".
constexpr unsigned FirstWindows11Build = 22000;

// A registry value that is missing, empty or only blanks gives nothing.
// Blanks go on both sides: some processors pad their name on the left.
std::optional<std::wstring> Present(const std::optional<std::wstring>& value)
{
    if (!value) {
        return std::nullopt;
    }
    const size_t start = value->find_first_not_of(L" \t");
    if (start == std::wstring::npos) {
        return std::nullopt;
    }
    return TrimTrailingBlanks(std::wstring_view(*value).substr(start));
}

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::wstring CorrectToWindows11(std::wstring name)
{
    constexpr std::wstring_view Windows10 = L"Windows 10";
    if (const size_t at = name.find(Windows10); at != std::wstring::npos) {
        name.replace(at, Windows10.size(), L"Windows 11");
    } else if (name.find(L"Windows 11") == std::wstring::npos) {
        name += L" 11";
    }
    return name;
}

const wchar_t* ArchitectureName(std::uint16_t architecture)
{
    switch (architecture) {
    case ArchitectureX86:
        return L"x86";
    case ArchitectureArm:
        return L"ARM";
    case ArchitectureX64:
        return L"x64";
    case ArchitectureArm64:
        return L"ARM64";
    default:
        return Tr(TextId::UnknownFeminine);
    }
}

void AppendLine(std::wstring& report, TextId id, const std::wstring& value)
{
    report += TrFormat(id, value.c_str());
    report += L'\n';
}

void AppendText(std::wstring& report, TextId id)
{
    report += Tr(id);
    report += L'\n';
}

}  // namespace

std::wstring TrimTrailingBlanks(std::wstring_view text)
{
    const size_t end = text.find_last_not_of(L" \t");
    return end == std::wstring_view::npos ? std::wstring() : std::wstring(text.substr(0, end + 1));
}

std::wstring DescribeModel(const ModelReading& model)
{
    const std::optional<std::wstring> manufacturer = Present(model.manufacturer);
    const std::optional<std::wstring> product = Present(model.product);
    if (manufacturer && product) {
        return EqualIgnoringCase(*manufacturer, *product) ? *manufacturer : *manufacturer + L' ' + *product;
    }
    if (manufacturer) {
        return *manufacturer;
    }
    if (product) {
        return *product;
    }
    return Tr(TextId::Unknown);
}

std::wstring DescribeWindows(const WindowsReading& windows)
{
    std::wstring text = Present(windows.productName).value_or(L"Windows");
    const KernelVersion* kernel = windows.kernel ? &*windows.kernel : nullptr;
    // Windows Server shares the kernel's numbering (Server 2025 is build
    // 26100) but is no Windows 11: its name stays as the registry gives it.
    if (kernel != nullptr && kernel->major == 10 && kernel->build >= FirstWindows11Build &&
        text.find(L"Server") == std::wstring::npos) {
        text = CorrectToWindows11(std::move(text));
    }
    if (const std::optional<std::wstring> displayVersion = Present(windows.displayVersion)) {
        text += L' ';
        text += *displayVersion;
    }
    if (const std::optional<std::wstring> build = Present(windows.buildNumber)) {
        std::wstring number = *build;
        if (windows.updateRevision) {
            number += L'.';
            number += std::to_wstring(*windows.updateRevision);
        }
        text += TrFormat(TextId::BuildSuffix, number.c_str());
    } else if (kernel != nullptr && kernel->build != 0) {
        text += L" (" + std::to_wstring(kernel->major) + L'.' + std::to_wstring(kernel->minor) + L'.' +
                std::to_wstring(kernel->build) + L')';
    }
    return text;
}

std::wstring DescribeCpu(const CpuReading& cpu)
{
    std::wstring text = Present(cpu.name).value_or(Tr(TextId::Processor));
    text += L" (";
    text += ArchitectureName(cpu.architecture);
    text += L", ";
    const int logical = static_cast<int>(cpu.logicalProcessors);
    if (cpu.physicalCores) {
        text += TrFormat(TextId::CoresThreads, static_cast<int>(*cpu.physicalCores), logical);
    } else {
        text += std::to_wstring(logical);
    }
    text += L')';
    return text;
}

std::wstring DescribeMemory(const std::optional<MemoryReading>& memory)
{
    if (!memory) {
        return Tr(TextId::UnknownFeminine);
    }
    return TrFormat(TextId::RamFree, FormatByteSize(memory->totalBytes).c_str(),
                    FormatByteSize(memory->availableBytes).c_str());
}

std::wstring DescribeDisk(const std::optional<DiskReading>& disk)
{
    if (!disk) {
        return Tr(TextId::Unknown);
    }
    return TrFormat(TextId::DiskFree, disk->volume.c_str(), FormatByteSize(disk->freeBytesForUser).c_str(),
                    FormatByteSize(disk->totalBytes).c_str());
}

std::wstring DescribePower(const PowerReading& power)
{
    const wchar_t* source = power.acLineStatus == 1   ? Tr(TextId::AcPower)
                            : power.acLineStatus == 0 ? Tr(TextId::Battery)
                                                      : Tr(TextId::Unknown);
    if (power.batteryPercent == 255) {
        return source;
    }
    return TrFormat(TextId::ValuePercent, source, static_cast<int>(power.batteryPercent));
}

std::wstring DescribeUptime(std::uint64_t uptimeMs)
{
    const std::uint64_t minutes = uptimeMs / 60000;
    return TrFormat(TextId::UptimeFormat, static_cast<int>(minutes / 1440), static_cast<int>(minutes / 60 % 24),
                    static_cast<int>(minutes % 60));
}

std::vector<std::wstring> DescribeGpus(const std::vector<GpuReading>& gpus)
{
    std::vector<std::wstring> names;
    for (const GpuReading& gpu : gpus) {
        if (gpu.software) {
            continue;
        }
        std::wstring name = TrimTrailingBlanks(gpu.description);
        if (name.empty()) {
            name = Tr(TextId::GraphicsCard);
        }
        if (gpu.dedicatedVideoMemory > 0) {
            name = TrFormat(TextId::WithVram, name.c_str(), FormatByteSize(gpu.dedicatedVideoMemory).c_str());
        }
        names.push_back(std::move(name));
    }
    return names;
}

std::wstring DescribeDisplay(const DisplayReading& display)
{
    std::wstring name = TrimTrailingBlanks(display.deviceString);
    if (name.empty()) {
        name = display.deviceName;
    }
    std::wstring text =
        TrFormat(TextId::DisplayModeFormat, name.c_str(), display.width, display.height, static_cast<int>(display.dpi));
    if (display.primary) {
        text += Tr(TextId::PrimarySuffix);
    }
    return text;
}

std::wstring FormatPcInfoReport(const PcInfoReadings& readings)
{
    std::wstring report;
    AppendText(report, TextId::PcInformation);
    AppendText(report, TextId::PcInfoReportNote);
    report += L'\n';

    AppendText(report, TextId::Identity);
    const std::wstring computerName = TrimTrailingBlanks(readings.computerName);
    const std::wstring userName = TrimTrailingBlanks(readings.userName);
    AppendLine(report, TextId::PcNameLine, computerName.empty() ? Tr(TextId::Unknown) : computerName);
    AppendLine(report, TextId::UserLine, userName.empty() ? Tr(TextId::Unknown) : userName);
    AppendLine(report, TextId::ModelLine, DescribeModel(readings.model));
    report += L'\n';

    AppendText(report, TextId::PcInfoSystem);
    AppendLine(report, TextId::WindowsLine, DescribeWindows(readings.windows));
    AppendLine(report, TextId::CpuLine, DescribeCpu(readings.cpu));
    AppendLine(report, TextId::MemoryLine, DescribeMemory(readings.memory));
    AppendLine(report, TextId::SystemDiskLine, DescribeDisk(readings.disk));
    AppendLine(report, TextId::PowerLine, DescribePower(readings.power));
    AppendLine(report, TextId::UptimeLine, DescribeUptime(readings.uptimeMs));
    report += L'\n';

    AppendText(report, TextId::Graphics);
    const std::vector<std::wstring> gpus = DescribeGpus(readings.gpus);
    for (const std::wstring& gpu : gpus) {
        AppendLine(report, TextId::GpuLine, gpu);
    }
    if (gpus.empty()) {
        AppendText(report, TextId::GpuUnknownLine);
    }
    for (size_t i = 0; i < readings.displays.size(); ++i) {
        report += TrFormat(TextId::DisplayLine, static_cast<int>(i + 1), DescribeDisplay(readings.displays[i]).c_str());
        report += L'\n';
    }
    if (readings.displays.empty()) {
        AppendText(report, TextId::DisplayUnknownLine);
    }
    return report;
}

}  // namespace cadrels
