// The single instance end to end: the real Cadrels.exe, started twice, or
// started against a stand-in that records what it is sent.
#include "CadrelsProcess.h"
#include "FakeRunningInstance.h"

#include "base/AppMessages.h"
#include "app/CopyData.h"

#include <gtest/gtest.h>

#include <chrono>

namespace cadrels::testing {
namespace {

constexpr wchar_t AlreadyRunning[] = L"Une instance de Cadrels est deja en cours. Arret.";

// Runs a second Cadrels with the arguments and returns it once it has exited.
std::unique_ptr<CadrelsProcess> RunSecond(const std::vector<std::wstring>& arguments, DWORD* exitCode)
{
    auto second = std::make_unique<CadrelsProcess>();
    EXPECT_TRUE(second->Start(arguments));
    const auto code = second->WaitForExit(20000);
    EXPECT_TRUE(code.has_value()) << "the second instance did not exit";
    *exitCode = code.value_or(12345);
    return second;
}

class SingleInstance : public ::testing::Test {
protected:
    void StartFirst(const std::vector<std::wstring>& arguments = {})
    {
        ASSERT_TRUE(first_.Start(arguments));
        ASSERT_TRUE(first_.WaitUntilReady()) << "the first instance never reached its message loop";
        ASSERT_NE(first_.AppWindow(), nullptr);
    }

    void TearDown() override
    {
        if (first_.Running()) {
            EXPECT_EQ(first_.Quit(), std::optional<DWORD>(0));
        }
    }

    CadrelsProcess first_;
};

TEST_F(SingleInstance, ASecondStartWithoutOptionsExitsWithZeroAndSaysWhy)
{
    StartFirst();
    DWORD code = 0;
    const auto second = RunSecond({}, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(second->CountLines(AlreadyRunning), 1u);
    EXPECT_FALSE(second->WaitUntilReady(0)) << "the second instance must not start its own loop";
    EXPECT_TRUE(first_.Running());
    EXPECT_EQ(first_.CountLines(AlreadyRunning), 0u);
}

TEST_F(SingleInstance, SendToPathReachesTheRunningInstance)
{
    StartFirst();
    DWORD code = 1;
    const auto second = RunSecond({L"--send-to-path", L"C:\\dossier avec espaces\\fichier é.txt"}, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(second->Lines(), std::vector<std::wstring>{AlreadyRunning})
        << "without a window option the forwarding instance still says why it stops";
    EXPECT_TRUE(first_.WaitForLine(L"Envoi vers une cadrel : C:\\dossier avec espaces\\fichier é.txt", 5000));
}

TEST_F(SingleInstance, CopyDataIsRefusedOutsideItsRulesAndAcceptedWithin)
{
    StartFirst();
    const HWND target = first_.AppWindow();
    auto send = [&](ULONG_PTR kind, const void* bytes, DWORD size) {
        COPYDATASTRUCT data{kind, size, const_cast<void*>(bytes)};
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 5000,
                                      &result),
                  0);
        return result;
    };
    const std::wstring path = CopyDataPayload(L"C:\\accepte.txt");
    const DWORD pathBytes = static_cast<DWORD>(path.size() * sizeof(wchar_t));
    std::vector<wchar_t> big(65538 / 2, L'x');

    EXPECT_EQ(send(0x43444C03, path.data(), pathBytes), 0u) << "unknown kind";
    EXPECT_EQ(send(CopyDataSendToPath, nullptr, 0), 0u) << "no data";
    EXPECT_EQ(send(CopyDataSendToPath, path.data(), 1), 0u) << "one byte";
    EXPECT_EQ(send(CopyDataSendToPath, big.data(), 65538), 0u) << "too large";
    EXPECT_EQ(send(CopyDataSendToPath, path.data(), pathBytes), 1u);

    EXPECT_TRUE(first_.WaitForLine(L"Envoi vers une cadrel : C:\\accepte.txt", 5000));
    Sleep(600);
    EXPECT_EQ(first_.CountLines(L"Envoi vers une cadrel : lot de 1 chemin(s)"), 1u)
        << "only the accepted message joined a batch";
}

TEST(SingleInstanceForwarding, SettingsAndMenuTogetherForwardOnlySettings)
{
    FakeRunningInstance running(true);
    DWORD code = 1;
    const auto second = RunSecond({L"--settings", L"--menu"}, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(second->Lines().empty()) << "a window option silences the already-running line";
    ASSERT_TRUE(running.WaitForMessages(1, 3000));
    Sleep(300);
    const auto messages = running.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, WM_APP_SHOW_SETTINGS);
}

TEST(SingleInstanceForwarding, SearchWinsOverTheOtherWindowOptions)
{
    FakeRunningInstance running(true);
    DWORD code = 1;
    RunSecond({L"--menu", L"--search", L"--settings"}, &code);
    EXPECT_EQ(code, 0u);
    ASSERT_TRUE(running.WaitForMessages(1, 3000));
    Sleep(300);
    const auto messages = running.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, WM_APP_FILE_SEARCH);
}

TEST(SingleInstanceForwarding, TheListFileWinsOverASinglePathAndIsSentWithItsTerminator)
{
    FakeRunningInstance running(true);
    DWORD code = 1;
    RunSecond({L"--send-to-path", L"C:\\un.txt", L"--send-to", L"C:\\Temp\\cdr42.tmp", L"--menu"}, &code);
    EXPECT_EQ(code, 0u);
    ASSERT_TRUE(running.WaitForMessages(1, 3000));
    Sleep(300);
    const auto messages = running.Messages();
    ASSERT_EQ(messages.size(), 1u) << "send-to is forwarded alone, without the window option";
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_COPYDATA));
    EXPECT_EQ(messages[0].copyDataKind, CopyDataSendToList);
    EXPECT_EQ(messages[0].copyDataBytes, (wcslen(L"C:\\Temp\\cdr42.tmp") + 1) * 2);
    EXPECT_EQ(messages[0].copyDataText, std::wstring(L"C:\\Temp\\cdr42.tmp", 17) + L'\0');
}

TEST(SingleInstanceForwarding, SendToAsTheLastArgumentIsIgnored)
{
    FakeRunningInstance running(true);
    DWORD code = 1;
    const auto second = RunSecond({L"--send-to"}, &code);
    EXPECT_EQ(code, 0u);
    Sleep(300);
    EXPECT_TRUE(running.Messages().empty()) << "nothing is forwarded";
    EXPECT_EQ(second->CountLines(AlreadyRunning), 1u) << "with no option left it is a plain second start";
}

TEST(SingleInstanceForwarding, SendToPathWaitsAboutTwoSecondsForAWindowThenRunsAlone)
{
    FakeRunningInstance mutexOnly(false);
    CadrelsProcess process;
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(process.Start({L"--send-to-path", L"C:\\attente.txt"}));
    ASSERT_TRUE(process.WaitUntilReady(20000));
    const auto waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    EXPECT_GE(waited, 1900) << "it gave up waiting too early";
    EXPECT_LE(waited, 12000);
    EXPECT_NE(process.AppWindow(), nullptr) << "it carries on as the running instance";
    EXPECT_TRUE(process.WaitForLine(L"Envoi vers une cadrel : C:\\attente.txt", 5000))
        << "its own path joins its own batch";
    EXPECT_EQ(process.Quit(), std::optional<DWORD>(0));
}

TEST(SingleInstanceForwarding, WithoutSendToAMissingWindowMeansRunAlone)
{
    // The program's own start-up (its cadrels included) for comparison: a
    // start that also waited for the window would take two seconds more.
    long long plainStart = 0;
    {
        CadrelsProcess plain;
        const auto started = std::chrono::steady_clock::now();
        ASSERT_TRUE(plain.Start({L"--menu"}));
        ASSERT_TRUE(plain.WaitUntilReady(20000));
        plainStart =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
        ASSERT_EQ(plain.Quit(), std::optional<DWORD>(0));
    }
    FakeRunningInstance mutexOnly(false);
    CadrelsProcess process;
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(process.Start({L"--menu"}));
    ASSERT_TRUE(process.WaitUntilReady(20000));
    const auto waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    EXPECT_LT(waited, plainStart + 1400) << "only a send-to waits for the window (plain start " << plainStart << " ms)";
    EXPECT_EQ(process.Quit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace cadrels::testing
