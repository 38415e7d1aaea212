#include "sysinfo/PcInfoFormat.h"

#include "i18n/StringTable.h"
#include "sysinfo/ByteSize.h"

#include <cwctype>

namespace cadrels {
namespace {

constexpr int TextUnknown = 339;
constexpr int TextUnknownFeminine = 340;
constexpr int TextProcessor = 341;
constexpr int TextGraphicsCard = 342;
constexpr int TextAcPower = 343;
constexpr int TextBattery = 344;
constexpr int TextTitle = 345;
constexpr int TextSubtitle = 346;
constexpr int TextIdentity = 347;
constexpr int TextSystem = 348;
constexpr int TextGraphics = 349;
constexpr int LinePcName = 350;
constexpr int LineUser = 351;
constexpr int LineModel = 352;
constexpr int LineWindows = 353;
constexpr int LineCpu = 354;
constexpr int LineMemory = 355;
constexpr int LineDisk = 356;
constexpr int LinePower = 357;
constexpr int LineUptime = 358;
constexpr int LineGpu = 359;
constexpr int LineNoGpu = 360;
constexpr int LineNoDisplay = 361;
constexpr int LineDisplay = 362;
constexpr int FormatBuild = 363;
constexpr int FormatCores = 364;
constexpr int FormatMemory = 365;
constexpr int FormatVram = 366;
constexpr int FormatDisk = 367;
constexpr int FormatBatteryPercent = 368;
constexpr int FormatUptime = 369;
constexpr int FormatDisplay = 370;
constexpr int TextPrimary = 371;

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
        return Tr(TextUnknownFeminine);
    }
}

void AppendLine(std::wstring& report, int id, const std::wstring& value)
{
    report += TrFormat(id, value.c_str());
    report += L'\n';
}

void AppendText(std::wstring& report, int id)
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
    return Tr(TextUnknown);
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
        text += TrFormat(FormatBuild, number.c_str());
    } else if (kernel != nullptr && kernel->build != 0) {
        text += L" (" + std::to_wstring(kernel->major) + L'.' + std::to_wstring(kernel->minor) + L'.' +
                std::to_wstring(kernel->build) + L')';
    }
    return text;
}

std::wstring DescribeCpu(const CpuReading& cpu)
{
    std::wstring text = Present(cpu.name).value_or(Tr(TextProcessor));
    text += L" (";
    text += ArchitectureName(cpu.architecture);
    text += L", ";
    const int logical = static_cast<int>(cpu.logicalProcessors);
    if (cpu.physicalCores) {
        text += TrFormat(FormatCores, static_cast<int>(*cpu.physicalCores), logical);
    } else {
        text += std::to_wstring(logical);
    }
    text += L')';
    return text;
}

std::wstring DescribeMemory(const std::optional<MemoryReading>& memory)
{
    if (!memory) {
        return Tr(TextUnknownFeminine);
    }
    return TrFormat(FormatMemory, FormatByteSize(memory->totalBytes).c_str(),
                    FormatByteSize(memory->availableBytes).c_str());
}

std::wstring DescribeDisk(const std::optional<DiskReading>& disk)
{
    if (!disk) {
        return Tr(TextUnknown);
    }
    return TrFormat(FormatDisk, disk->volume.c_str(), FormatByteSize(disk->freeBytesForUser).c_str(),
                    FormatByteSize(disk->totalBytes).c_str());
}

std::wstring DescribePower(const PowerReading& power)
{
    const wchar_t* source = power.acLineStatus == 1   ? Tr(TextAcPower)
                            : power.acLineStatus == 0 ? Tr(TextBattery)
                                                      : Tr(TextUnknown);
    if (power.batteryPercent == 255) {
        return source;
    }
    return TrFormat(FormatBatteryPercent, source, static_cast<int>(power.batteryPercent));
}

std::wstring DescribeUptime(std::uint64_t uptimeMs)
{
    const std::uint64_t minutes = uptimeMs / 60000;
    return TrFormat(FormatUptime, static_cast<int>(minutes / 1440), static_cast<int>(minutes / 60 % 24),
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
            name = Tr(TextGraphicsCard);
        }
        if (gpu.dedicatedVideoMemory > 0) {
            name = TrFormat(FormatVram, name.c_str(), FormatByteSize(gpu.dedicatedVideoMemory).c_str());
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
        TrFormat(FormatDisplay, name.c_str(), display.width, display.height, static_cast<int>(display.dpi));
    if (display.primary) {
        text += Tr(TextPrimary);
    }
    return text;
}

std::wstring FormatPcInfoReport(const PcInfoReadings& readings)
{
    std::wstring report;
    AppendText(report, TextTitle);
    AppendText(report, TextSubtitle);
    report += L'\n';

    AppendText(report, TextIdentity);
    const std::wstring computerName = TrimTrailingBlanks(readings.computerName);
    const std::wstring userName = TrimTrailingBlanks(readings.userName);
    AppendLine(report, LinePcName, computerName.empty() ? Tr(TextUnknown) : computerName);
    AppendLine(report, LineUser, userName.empty() ? Tr(TextUnknown) : userName);
    AppendLine(report, LineModel, DescribeModel(readings.model));
    report += L'\n';

    AppendText(report, TextSystem);
    AppendLine(report, LineWindows, DescribeWindows(readings.windows));
    AppendLine(report, LineCpu, DescribeCpu(readings.cpu));
    AppendLine(report, LineMemory, DescribeMemory(readings.memory));
    AppendLine(report, LineDisk, DescribeDisk(readings.disk));
    AppendLine(report, LinePower, DescribePower(readings.power));
    AppendLine(report, LineUptime, DescribeUptime(readings.uptimeMs));
    report += L'\n';

    AppendText(report, TextGraphics);
    const std::vector<std::wstring> gpus = DescribeGpus(readings.gpus);
    for (const std::wstring& gpu : gpus) {
        AppendLine(report, LineGpu, gpu);
    }
    if (gpus.empty()) {
        AppendText(report, LineNoGpu);
    }
    for (size_t i = 0; i < readings.displays.size(); ++i) {
        report += TrFormat(LineDisplay, static_cast<int>(i + 1), DescribeDisplay(readings.displays[i]).c_str());
        report += L'\n';
    }
    if (readings.displays.empty()) {
        AppendText(report, LineNoDisplay);
    }
    return report;
}

}  // namespace cadrels
