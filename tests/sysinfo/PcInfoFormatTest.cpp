// The wording of the PC information report from readings made by hand, so
// that every fallback is reached without the machine having to lack it.
#include "LanguageScope.h"

#include "sysinfo/ByteSize.h"
#include "sysinfo/PcInfoFormat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace cadrels {
namespace {

using testing::LanguageScope;

constexpr int French = 0;
constexpr int English = 1;
constexpr std::uint64_t KiB = 1024;
constexpr std::uint64_t MiB = 1024 * KiB;
constexpr std::uint64_t GiB = 1024 * MiB;
constexpr std::uint64_t TiB = 1024 * GiB;

TEST(ByteSize, ChoosesTheUnitAndTheDecimals)
{
    struct Case {
        std::uint64_t bytes;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {0, L"0 B"},
        {1023, L"1023 B"},
        {1024, L"1.0 KB"},
        {1536, L"1.5 KB"},
        {100 * KiB - 1, L"100.0 KB"},  // 99.999 KB rounds up but keeps its decimal
        {100 * KiB, L"100 KB"},
        {MiB - 1, L"1024 KB"},  // just below the next unit: no division
        {MiB, L"1.0 MB"},
        {16 * GiB - 300 * MiB, L"15.7 GB"},
        {150 * GiB, L"150 GB"},
        {2 * TiB, L"2.0 TB"},
        {1024 * 1024 * TiB, L"1024 PB"},  // PB is the last unit
        {std::numeric_limits<std::uint64_t>::max(), L"16384 PB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatByteSize(c.bytes), c.expected) << c.bytes;
    }
}

TEST(PcInfoFormat, ModelJoinsTheBiosValuesUnlessOneIsMissingOrBothAreEqual)
{
    LanguageScope french(French);
    struct Case {
        std::optional<std::wstring> manufacturer;
        std::optional<std::wstring> product;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"Dell Inc.", L"XPS 15 9520", L"Dell Inc. XPS 15 9520"},
        {L"LENOVO", L"Lenovo", L"LENOVO"},
        {L"HP  ", L"hp", L"HP"},
        {L"ASUS", std::nullopt, L"ASUS"},
        {std::nullopt, L"Surface Laptop 5", L"Surface Laptop 5"},
        {L"", L"Surface Laptop 5", L"Surface Laptop 5"},
        {std::nullopt, std::nullopt, L"Inconnu"},
        // Wine and some virtual machines give the values as empty strings.
        {L"", L"", L"Inconnu"},
        {L" \t", L"  ", L"Inconnu"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeModel({c.manufacturer, c.product}), c.expected)
            << c.manufacturer.value_or(L"<none>").size() << " / " << c.product.value_or(L"<none>").size();
    }
}

TEST(PcInfoFormat, WindowsNamesTheRealVersionAndBuild)
{
    LanguageScope french(French);
    const KernelVersion win11{10, 0, 22631};
    const KernelVersion win10{10, 0, 19045};
    struct Case {
        const char* name;
        WindowsReading reading;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"Windows 11 keeps Windows 10 in its registry name",
         {L"Windows 10 Pro", L"23H2", L"22631", 2861, win11},
         L"Windows 11 Pro 23H2 (build 22631.2861)"},
        {"Windows 10 stays Windows 10",
         {L"Windows 10 Pro", L"22H2", L"19045", 3803, win10},
         L"Windows 10 Pro 22H2 (build 19045.3803)"},
        {"first Windows 11 build", {L"Windows 10 Home", std::nullopt, L"22000", std::nullopt, KernelVersion{10, 0, 22000}},
         L"Windows 11 Home (build 22000)"},
        {"already Windows 11", {L"Windows 11 Enterprise", L"24H2", L"26100", 1, KernelVersion{10, 0, 26100}},
         L"Windows 11 Enterprise 24H2 (build 26100.1)"},
        {"name without a number gets 11", {L"Windows Insider", std::nullopt, L"26200", std::nullopt, KernelVersion{10, 0, 26200}},
         L"Windows Insider 11 (build 26200)"},
        {"missing name on Windows 11", {std::nullopt, std::nullopt, std::nullopt, std::nullopt, win11},
         L"Windows 11 (10.0.22631)"},
        {"missing name on Windows 10", {std::nullopt, std::nullopt, std::nullopt, std::nullopt, win10},
         L"Windows (10.0.19045)"},
        {"server shares the numbering but is not Windows 11",
         {L"Windows Server 2025 Datacenter", L"24H2", L"26100", 2033, KernelVersion{10, 0, 26100}},
         L"Windows Server 2025 Datacenter 24H2 (build 26100.2033)"},
        {"as Wine reports it", {L"Microsoft Windows 10", std::nullopt, L"19043", std::nullopt, KernelVersion{10, 0, 19043}},
         L"Microsoft Windows 10 (build 19043)"},
        {"an update revision without a build number is not shown",
         {L"Windows 10 Pro", L"", std::nullopt, 3803, win10}, L"Windows 10 Pro (10.0.19045)"},
        {"an older kernel is not corrected", {L"Windows 7", std::nullopt, std::nullopt, std::nullopt, KernelVersion{6, 1, 7601}},
         L"Windows 7 (6.1.7601)"},
        {"nothing readable at all", {}, L"Windows"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeWindows(c.reading), c.expected) << c.name;
    }
}

TEST(PcInfoFormat, CpuNamesArchitectureCoresAndThreads)
{
    LanguageScope french(French);
    struct Case {
        CpuReading reading;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {{L"AMD Ryzen 7 5800X 8-Core Processor             ", ArchitectureX64, 8u, 16},
         L"AMD Ryzen 7 5800X 8-Core Processor (x64, 8 cœurs, 16 threads)"},
        {{L"       Intel(R) Core(TM)2 Duo CPU", ArchitectureX86, 2u, 2}, L"Intel(R) Core(TM)2 Duo CPU (x86, 2 cœurs, 2 threads)"},
        {{L"Snapdragon X Elite", ArchitectureArm64, 12u, 12}, L"Snapdragon X Elite (ARM64, 12 cœurs, 12 threads)"},
        {{L"Cortex", ArchitectureArm, 4u, 4}, L"Cortex (ARM, 4 cœurs, 4 threads)"},
        {{std::nullopt, ArchitectureX64, 4u, 8}, L"Processeur (x64, 4 cœurs, 8 threads)"},
        {{L"", ArchitectureX64, 4u, 8}, L"Processeur (x64, 4 cœurs, 8 threads)"},
        {{L"Itanium", 6, 1u, 1}, L"Itanium (Inconnue, 1 cœurs, 1 threads)"},
        {{L"Xeon", ArchitectureUnknown, 2u, 4}, L"Xeon (Inconnue, 2 cœurs, 4 threads)"},
        {{L"Xeon", ArchitectureX64, std::nullopt, 96}, L"Xeon (x64, 96)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeCpu(c.reading), c.expected);
    }
}

TEST(PcInfoFormat, PowerShowsThePercentageOnlyWhenKnown)
{
    LanguageScope french(French);
    struct Case {
        PowerReading reading;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {{1, 255}, L"Secteur"},  // a desktop without battery
        {{1, 100}, L"Secteur (100 %)"},
        {{0, 57}, L"Batterie (57 %)"},
        {{0, 0}, L"Batterie (0 %)"},
        {{255, 255}, L"Inconnu"},
        {{255, 80}, L"Inconnu (80 %)"},
        {{2, 255}, L"Inconnu"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescribePower(c.reading), c.expected);
    }
    LanguageScope english(English);
    EXPECT_EQ(DescribePower({0, 57}), L"Battery (57%)");
}

TEST(PcInfoFormat, UptimeCountsWholeDaysHoursAndMinutes)
{
    LanguageScope french(French);
    struct Case {
        std::uint64_t milliseconds;
        const wchar_t* expected;
    };
    constexpr std::uint64_t Minute = 60'000;
    const Case cases[] = {
        {0, L"0 j 0 h 0 min"},
        {Minute - 1, L"0 j 0 h 0 min"},
        {90 * Minute, L"0 j 1 h 30 min"},
        {24 * 60 * Minute - 1, L"0 j 23 h 59 min"},
        {24 * 60 * Minute, L"1 j 0 h 0 min"},
        {(400 * 24 * 60 + 5 * 60 + 7) * Minute + 59'999, L"400 j 5 h 7 min"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeUptime(c.milliseconds), c.expected) << c.milliseconds;
    }
}

TEST(PcInfoFormat, MemoryAndDiskFallBackWhenUnreadable)
{
    LanguageScope french(French);
    EXPECT_EQ(DescribeMemory(MemoryReading{16 * GiB, 5 * GiB + 512 * MiB}), L"16.0 GB RAM (5.5 GB libres)");
    EXPECT_EQ(DescribeMemory(std::nullopt), L"Inconnue");
    EXPECT_EQ(DescribeDisk(DiskReading{L"C:\\", 120 * GiB, 476 * GiB}), L"C:\\ : 120 GB libres / 476 GB");
    EXPECT_EQ(DescribeDisk(std::nullopt), L"Inconnu");
}

TEST(PcInfoFormat, GpusLeaveOutTheSoftwareRasterizer)
{
    LanguageScope french(French);
    const GpuReading basicRender{L"Microsoft Basic Render Driver", 0, true};
    struct Case {
        const char* name;
        std::vector<GpuReading> gpus;
        std::vector<std::wstring> expected;
    };
    const Case cases[] = {
        {"only the software rasterizer", {basicRender}, {}},
        {"none", {}, {}},
        {"hybrid laptop",
         {{L"Intel(R) UHD Graphics  \t", 128 * MiB, false}, {L"NVIDIA GeForce RTX 3060 Laptop GPU", 6 * GiB, false},
          basicRender},
         {L"Intel(R) UHD Graphics (128 MB VRAM)", L"NVIDIA GeForce RTX 3060 Laptop GPU (6.0 GB VRAM)"}},
        {"no dedicated memory, no name", {{L"   ", 0, false}}, {L"Carte graphique"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeGpus(c.gpus), c.expected) << c.name;
    }
}

TEST(PcInfoFormat, DisplaysAreNamedByTheMonitorElseByTheDevice)
{
    LanguageScope french(French);
    EXPECT_EQ(DescribeDisplay({L"DELL U2720Q", L"\\\\.\\DISPLAY1", 3840, 2160, 144, true}),
              L"DELL U2720Q, 3840x2160, DPI 144, principal");
    EXPECT_EQ(DescribeDisplay({L"", L"\\\\.\\DISPLAY2", 1920, 1080, 96, false}), L"\\\\.\\DISPLAY2, 1920x1080, DPI 96");
}

PcInfoReadings SampleMachine()
{
    PcInfoReadings readings;
    readings.computerName = L"BUREAU-7";
    readings.userName = L"Camille \t ";
    readings.model = {L"Dell Inc.", L"XPS 15 9520"};
    readings.windows = {L"Windows 10 Pro", L"23H2", L"22631", 2861, KernelVersion{10, 0, 22631}};
    readings.cpu = {L"12th Gen Intel(R) Core(TM) i7-12700H", ArchitectureX64, 14u, 20};
    readings.memory = MemoryReading{32 * GiB, 20 * GiB};
    readings.disk = DiskReading{L"C:\\", 200 * GiB, 953 * GiB};
    readings.power = {0, 84};
    readings.uptimeMs = (2 * 24 * 60 + 3 * 60 + 4) * 60'000ull;
    readings.gpus = {{L"NVIDIA GeForce RTX 3050 Ti Laptop GPU", 4 * GiB, false},
                     {L"Microsoft Basic Render Driver", 0, true}};
    readings.displays = {{L"Generic PnP Monitor", L"\\\\.\\DISPLAY1", 2560, 1600, 144, true},
                         {L"", L"\\\\.\\DISPLAY2", 1920, 1080, 96, false}};
    return readings;
}

TEST(PcInfoReport, FrenchReportHasEverySectionInOrder)
{
    LanguageScope french(French);
    EXPECT_EQ(FormatPcInfoReport(SampleMachine()),
              L"Informations PC\n"
              L"Rapport généré au moment de l'ouverture sur ce PC.\n"
              L"\n"
              L"Identité\n"
              L"- Nom du PC : BUREAU-7\n"
              L"- Utilisateur : Camille\n"
              L"- Modèle : Dell Inc. XPS 15 9520\n"
              L"\n"
              L"Système\n"
              L"- Windows : Windows 11 Pro 23H2 (build 22631.2861)\n"
              L"- CPU : 12th Gen Intel(R) Core(TM) i7-12700H (x64, 14 cœurs, 20 threads)\n"
              L"- Mémoire : 32.0 GB RAM (20.0 GB libres)\n"
              L"- Disque système : C:\\ : 200 GB libres / 953 GB\n"
              L"- Alimentation : Batterie (84 %)\n"
              L"- Temps de fonctionnement : 2 j 3 h 4 min\n"
              L"\n"
              L"Graphique\n"
              L"- GPU : NVIDIA GeForce RTX 3050 Ti Laptop GPU (4.0 GB VRAM)\n"
              L"- Écran 1 : Generic PnP Monitor, 2560x1600, DPI 144, principal\n"
              L"- Écran 2 : \\\\.\\DISPLAY2, 1920x1080, DPI 96\n");
}

TEST(PcInfoReport, EnglishReportHasEverySectionInOrder)
{
    LanguageScope english(English);
    EXPECT_EQ(FormatPcInfoReport(SampleMachine()),
              L"PC information\n"
              L"Report generated when opened on this PC.\n"
              L"\n"
              L"Identity\n"
              L"- PC name: BUREAU-7\n"
              L"- User: Camille\n"
              L"- Model: Dell Inc. XPS 15 9520\n"
              L"\n"
              L"System\n"
              L"- Windows: Windows 11 Pro 23H2 (build 22631.2861)\n"
              L"- CPU: 12th Gen Intel(R) Core(TM) i7-12700H (x64, 14 cores, 20 threads)\n"
              L"- Memory: 32.0 GB RAM (20.0 GB free)\n"
              L"- System disk: C:\\: 200 GB free / 953 GB\n"
              L"- Power: Battery (84%)\n"
              L"- Uptime: 2d 3h 4min\n"
              L"\n"
              L"Graphics\n"
              L"- GPU: NVIDIA GeForce RTX 3050 Ti Laptop GPU (4.0 GB VRAM)\n"
              L"- Display 1: Generic PnP Monitor, 2560x1600, DPI 144, primary\n"
              L"- Display 2: \\\\.\\DISPLAY2, 1920x1080, DPI 96\n");
}

// Nothing could be read: every value has its fallback and the report is whole.
TEST(PcInfoReport, UnreadableMachineStillGivesAWholeReport)
{
    PcInfoReadings nothing;
    nothing.gpus = {{L"Microsoft Basic Render Driver", 0, true}};
    {
        LanguageScope french(French);
        EXPECT_EQ(FormatPcInfoReport(nothing),
                  L"Informations PC\n"
                  L"Rapport généré au moment de l'ouverture sur ce PC.\n"
                  L"\n"
                  L"Identité\n"
                  L"- Nom du PC : Inconnu\n"
                  L"- Utilisateur : Inconnu\n"
                  L"- Modèle : Inconnu\n"
                  L"\n"
                  L"Système\n"
                  L"- Windows : Windows\n"
                  L"- CPU : Processeur (Inconnue, 0)\n"
                  L"- Mémoire : Inconnue\n"
                  L"- Disque système : Inconnu\n"
                  L"- Alimentation : Inconnu\n"
                  L"- Temps de fonctionnement : 0 j 0 h 0 min\n"
                  L"\n"
                  L"Graphique\n"
                  L"- GPU : inconnu\n"
                  L"- Écran : inconnu\n");
    }
    // A value is an argument of its line, never part of its format.
    nothing.computerName = L"PC-%s-%d";
    nothing.userName = L"100%";
    LanguageScope english(English);
    const std::wstring report = FormatPcInfoReport(nothing);
    EXPECT_NE(report.find(L"- PC name: PC-%s-%d\n- User: 100%\n"), std::wstring::npos) << report.c_str();
    EXPECT_NE(report.find(L"- GPU: Unknown\n- Display: Unknown\n"), std::wstring::npos);
}

}  // namespace
}  // namespace cadrels
