// The report of the machine the tests run on: the values are this machine's,
// so the checks are on what any machine gives and on the report's shape.
#include "LanguageScope.h"

#include "i18n/StringTable.h"
#include "model/MonitorInfo.h"
#include "sysinfo/PcInfoReader.h"
#include "sysinfo/PcInfoReport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace cadrels {
namespace {

using testing::LanguageScope;

std::vector<std::wstring> Lines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end = text.find(L'\n'); end != std::wstring::npos; end = text.find(L'\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The fixed part of a line format: "- Nom du PC : %s" gives "- Nom du PC : ".
std::wstring Label(int id)
{
    return TrFormat(static_cast<TextId>(id), L"");
}

// Written to the test's output so the report can be read as a user sees it.
void Print(const std::wstring& report)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, report.c_str(), static_cast<int>(report.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, report.c_str(), static_cast<int>(report.size()), utf8.data(), size, nullptr,
                        nullptr);
    std::printf("----\n%s----\n", utf8.c_str());
    std::fflush(stdout);
}

TEST(PcInfoReader, ReadsThisMachine)
{
    const std::vector<MonitorInfo> monitors = EnumerateMonitors();
    const PcInfoReadings readings = ReadPcInfo(monitors);

    EXPECT_FALSE(readings.computerName.empty());
    EXPECT_FALSE(readings.userName.empty());
    ASSERT_TRUE(readings.windows.kernel.has_value());
    EXPECT_GE(readings.windows.kernel->major, 6u);
    EXPECT_GT(readings.windows.kernel->build, 0u);
    ASSERT_TRUE(readings.windows.buildNumber.has_value());
    EXPECT_EQ(*readings.windows.buildNumber, std::to_wstring(readings.windows.kernel->build));

    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    EXPECT_EQ(readings.cpu.architecture, system.wProcessorArchitecture);
    EXPECT_GE(readings.cpu.logicalProcessors, system.dwNumberOfProcessors);
    ASSERT_TRUE(readings.cpu.physicalCores.has_value());
    EXPECT_GE(*readings.cpu.physicalCores, 1u);
    EXPECT_LE(*readings.cpu.physicalCores, readings.cpu.logicalProcessors);

    ASSERT_TRUE(readings.memory.has_value());
    EXPECT_GT(readings.memory->totalBytes, 0u);
    EXPECT_LE(readings.memory->availableBytes, readings.memory->totalBytes);

    ASSERT_TRUE(readings.disk.has_value());
    wchar_t windowsDirectory[MAX_PATH] = {};
    GetWindowsDirectoryW(windowsDirectory, MAX_PATH);
    EXPECT_TRUE(StartsWith(windowsDirectory, readings.disk->volume)) << readings.disk->volume.c_str();
    EXPECT_EQ(readings.disk->volume.back(), L'\\');
    EXPECT_GT(readings.disk->totalBytes, 0u);
    EXPECT_LE(readings.disk->freeBytesForUser, readings.disk->totalBytes);

    EXPECT_GT(readings.uptimeMs, 0u);
    // Windows always lists at least its software rasterizer.
    EXPECT_FALSE(readings.gpus.empty());

    ASSERT_EQ(readings.displays.size(), monitors.size());
    ASSERT_FALSE(monitors.empty());
    for (size_t i = 0; i < monitors.size(); ++i) {
        EXPECT_EQ(readings.displays[i].deviceName, monitors[i].deviceName);
        EXPECT_EQ(readings.displays[i].width, monitors[i].bounds.right - monitors[i].bounds.left);
        EXPECT_GT(readings.displays[i].width, 0);
        EXPECT_EQ(readings.displays[i].primary, monitors[i].primary);
    }
}

class PcInfoReportShape : public ::testing::TestWithParam<int> {};

TEST_P(PcInfoReportShape, HasEverySectionAndOneLinePerMonitor)
{
    LanguageScope language(GetParam());
    const std::vector<MonitorInfo> monitors = EnumerateMonitors();
    const std::wstring report = BuildPcInfoReport(monitors);
    Print(report);

    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report.back(), L'\n');
    std::vector<std::wstring> lines = Lines(report);
    lines.pop_back();  // what follows the last line feed

    const std::wstring header[] = {Tr(TextId::PcInformation), Tr(TextId::PcInfoReportNote), L"", Tr(TextId::Identity)};
    const int items[] = {350, 351, 352, -1, 348, 353, 354, 355, 356, 357, 358, -1, 349};
    size_t at = 0;
    for (const std::wstring& expected : header) {
        ASSERT_LT(at, lines.size());
        EXPECT_EQ(lines[at++], expected);
    }
    for (const int id : items) {
        ASSERT_LT(at, lines.size());
        if (id == -1) {
            EXPECT_EQ(lines[at++], L"");
        } else if (id == 348 || id == 349) {
            EXPECT_EQ(lines[at++], Tr(static_cast<TextId>(id)));
        } else {
            const std::wstring& line = lines[at++];
            EXPECT_TRUE(StartsWith(line, Label(id))) << id << ": " << line.c_str();
            EXPECT_GT(line.size(), Label(id).size()) << id;
        }
    }
    // One line per hardware adapter, or the unknown line; then one per monitor.
    size_t gpuLines = 0;
    while (at < lines.size() && (StartsWith(lines[at], Label(359)) || lines[at] == Tr(TextId::GpuUnknownLine))) {
        ++at;
        ++gpuLines;
    }
    EXPECT_GE(gpuLines, 1u);
    ASSERT_EQ(lines.size() - at, monitors.size());
    for (size_t i = 0; i < monitors.size(); ++i) {
        const std::wstring& line = lines[at + i];
        EXPECT_TRUE(StartsWith(line, TrFormat(TextId::DisplayLine, static_cast<int>(i + 1), L""))) << line.c_str();
        const RECT& bounds = monitors[i].bounds;
        const std::wstring size = std::to_wstring(bounds.right - bounds.left) + L'x' +
                                  std::to_wstring(bounds.bottom - bounds.top);
        EXPECT_NE(line.find(size), std::wstring::npos) << line.c_str();
        const bool primary = line.size() >= std::wcslen(Tr(TextId::PrimarySuffix)) &&
                             line.compare(line.size() - std::wcslen(Tr(TextId::PrimarySuffix)), std::wstring::npos,
                                          Tr(TextId::PrimarySuffix)) == 0;
        EXPECT_EQ(primary, monitors[i].primary) << line.c_str();
    }
}

INSTANTIATE_TEST_SUITE_P(FrenchAndEnglish, PcInfoReportShape, ::testing::Values(0, 1));

}  // namespace
}  // namespace cadrels
