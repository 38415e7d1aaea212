// Kills a process that saves the layout in a loop, at random moments, and
// checks that a complete layout always survives.
#include "LargeLayout.h"
#include "TestFiles.h"

#include "model/LayoutFile.h"

#include <gtest/gtest.h>

#include <random>

namespace cadrels {
namespace {

std::wstring WriterPath()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.resize(path.find_last_of(L'\\') + 1);
    return path + L"layout_writer.exe";
}

bool LoadsWithPages(const std::wstring& path)
{
    Settings settings;
    bool pagesFound = false;
    return LoadSettingsFile(path, settings, pagesFound) && pagesFound && settings.workspaces.size() >= 6;
}

TEST(LayoutCrash, AKilledWriterNeverLeavesATruncatedLayout)
{
    const std::wstring folder = testing::MakeTempFolder(L"crash");
    const std::wstring path = folder + L"\\layout.json";
    ASSERT_TRUE(LayoutFile(path).Save(testing::MakeLargeSettings(6, 20, 3, 1)));

    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> delay(1, 120);
    constexpr int Kills = 220;
    int killedWhileRunning = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        std::wstring commandLine = L"\"" + WriterPath() + L"\" \"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                   nullptr, &startup, &process));
        Sleep(static_cast<DWORD>(delay(random)));
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
            ++killedWhileRunning;
        }
        TerminateProcess(process.hProcess, 9);
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);

        const bool mainExists = testing::FileExists(path);
        if (mainExists) {
            ASSERT_TRUE(LoadsWithPages(path)) << "layout.json damaged after kill " << kill;
        }
        ASSERT_TRUE(mainExists || LoadsWithPages(path + L".bak")) << "nothing usable after kill " << kill;
    }
    EXPECT_EQ(killedWhileRunning, Kills) << "every kill hit a running writer";
    testing::RemoveTree(folder);
}

}  // namespace
}  // namespace cadrels
