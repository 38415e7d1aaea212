// The single instance end to end: the real Cadrels.exe, started twice, or
// started against a stand-in that holds the mutex, with or without a window
// of its own that the real program must not trust.
#include "CadrelsProcess.h"
#include "FakeRunningInstance.h"
#include "TestFiles.h"

#include "app/CommandLine.h"
#include "app/CopyData.h"
#include "base/AppMessages.h"

#include <gtest/gtest.h>

#include <chrono>

namespace cadrels::testing {
namespace {

constexpr wchar_t AlreadyRunning[] = L"Une instance de Cadrels est deja en cours. Arret.";
constexpr wchar_t SettingsShown[] = L"La fenetre des reglages n'est pas encore disponible.";
constexpr wchar_t SearchShown[] = L"Recherche de fichiers : pas encore disponible.";

// Whether a process holds the single-instance mutex, within a few seconds.
bool WaitForMutex()
{
    for (int step = 0; step < 200; ++step) {
        if (HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, SingleInstanceMutexName)) {
            CloseHandle(mutex);
            return true;
        }
        Sleep(25);
    }
    return false;
}

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

// What is sent is ForwardingFor's choice (CopyDataTest holds the cases);
// here the real running instance shows what it received.
TEST_F(SingleInstance, SettingsAndMenuTogetherForwardOnlySettings)
{
    StartFirst();
    const std::vector<std::wstring> arguments = {L"--settings", L"--menu"};
    EXPECT_EQ(ForwardingFor(ParseArguments(arguments)).message, WM_APP_SHOW_SETTINGS);
    DWORD code = 1;
    const auto second = RunSecond(arguments, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(second->Lines().empty()) << "a window option silences the already-running line";
    ASSERT_TRUE(first_.WaitForLine(SettingsShown, 3000));
    Sleep(300);
    EXPECT_EQ(first_.CountLines(SettingsShown), 1u);
    EXPECT_EQ(first_.CountLines(SearchShown), 0u);
}

TEST_F(SingleInstance, SearchWinsOverTheOtherWindowOptions)
{
    StartFirst();
    const std::vector<std::wstring> arguments = {L"--menu", L"--search", L"--settings"};
    EXPECT_EQ(ForwardingFor(ParseArguments(arguments)).message, WM_APP_FILE_SEARCH);
    DWORD code = 1;
    RunSecond(arguments, &code);
    EXPECT_EQ(code, 0u);
    ASSERT_TRUE(first_.WaitForLine(SearchShown, 3000));
    Sleep(300);
    EXPECT_EQ(first_.CountLines(SearchShown), 1u);
    EXPECT_EQ(first_.CountLines(SettingsShown), 0u);
}

TEST_F(SingleInstance, TheListFileWinsOverASinglePathAndIsSentWithItsTerminator)
{
    // A list the running instance accepts: in the temporary folder, named cdr*.
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    const std::wstring list = std::wstring(temp) + L"cdr42.tmp";
    const std::wstring listed = L"C:\\depuis la liste.txt";
    ASSERT_TRUE(WriteBytes(list, std::string(reinterpret_cast<const char*>(listed.data()), listed.size() * 2)));
    const std::vector<std::wstring> arguments = {L"--send-to-path", L"C:\\un.txt", L"--send-to", list, L"--menu"};
    const Forwarding forwarding = ForwardingFor(ParseArguments(arguments));
    EXPECT_EQ(forwarding.message, static_cast<UINT>(WM_COPYDATA)) << "send-to is forwarded alone";
    EXPECT_EQ(forwarding.copyDataKind, CopyDataSendToList);
    EXPECT_EQ(forwarding.payload.size() * sizeof(wchar_t), (list.size() + 1) * 2);
    EXPECT_EQ(forwarding.payload, list + L'\0');

    StartFirst();
    DWORD code = 1;
    RunSecond(arguments, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(first_.WaitForLine(L"Envoi vers une cadrel : " + listed, 5000)) << "the list reached it";
    Sleep(300);
    EXPECT_EQ(first_.CountLines(L"Envoi vers une cadrel : C:\\un.txt"), 0u);
    DeleteFileW(list.c_str());
}

TEST_F(SingleInstance, SendToAsTheLastArgumentIsIgnored)
{
    StartFirst();
    DWORD code = 1;
    const auto second = RunSecond({L"--send-to"}, &code);
    EXPECT_EQ(code, 0u);
    Sleep(300);
    EXPECT_EQ(first_.CountLines(L"Envoi vers une cadrel"), 0u) << "nothing is forwarded";
    EXPECT_EQ(second->CountLines(AlreadyRunning), 1u) << "with no option left it is a plain second start";
}

// A window of the right class in a process that is not this program (here:
// the test itself) is never sent anything, whatever the options: the new
// process says why and stops as when no window answers.
TEST(SingleInstanceForwarding, AWindowOfAnotherProgramIsNeverForwardedTo)
{
    RemoveTree(AppDataFolder());
    FakeRunningInstance squatter(true);
    DWORD code = 1;
    const auto second = RunSecond({L"--send-to-path", L"C:\\secret.txt"}, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(second->CountLines(L"ignoree : autre programme. Rien ne lui est transmis."), 1u)
        << "logged once, not at every look";
    EXPECT_EQ(second->CountLines(L"sans fenetre joignable"), 1u);
    EXPECT_FALSE(second->WaitUntilReady(0)) << "never a second running instance";
    Sleep(300);
    EXPECT_TRUE(squatter.Messages().empty());
    EXPECT_FALSE(FolderExists(AppDataFolder())) << "no file touched";
}

long long MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

// The running instance is still starting: its mutex is held, its window may
// come later. Whatever the options, the new process waits for the window and
// forwards, and never runs as a second instance.
TEST(SingleInstanceForwarding, AStartingInstanceIsWaitedForAndForwardedTo)
{
    const auto startFirst = [](CadrelsProcess& first) {
        ASSERT_TRUE(first.Start());
        // From here the first holds the mutex; its window is not yet certain.
        ASSERT_TRUE(WaitForMutex());
    };
    {
        CadrelsProcess starting;
        startFirst(starting);
        DWORD code = 1;
        const auto second = RunSecond({L"--send-to-path", L"C:\\attente.txt"}, &code);
        EXPECT_EQ(code, 0u);
        EXPECT_FALSE(second->WaitUntilReady(0));
        EXPECT_TRUE(starting.WaitForLine(L"Envoi vers une cadrel : C:\\attente.txt", 5000));
        EXPECT_EQ(starting.Quit(), std::optional<DWORD>(0));
    }
    {
        CadrelsProcess starting;
        startFirst(starting);
        DWORD code = 1;
        RunSecond({L"--settings"}, &code);
        EXPECT_EQ(code, 0u);
        EXPECT_TRUE(starting.WaitForLine(SettingsShown, 5000));
        EXPECT_EQ(starting.Quit(), std::optional<DWORD>(0));
    }
    {
        CadrelsProcess starting;
        startFirst(starting);
        DWORD code = 1;
        const auto second = RunSecond({}, &code);
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(second->CountLines(AlreadyRunning), 1u);
        EXPECT_FALSE(second->WaitUntilReady(0));
        EXPECT_EQ(starting.Quit(), std::optional<DWORD>(0));
    }
}

// A mutex held without a window ever appearing (a hung start): the new
// process gives up after a few seconds and exits without touching any file.
TEST(SingleInstanceForwarding, AnInstanceThatNeverShowsItsWindowIsNotJoined)
{
    RemoveTree(AppDataFolder());
    FakeRunningInstance mutexOnly(false);
    DWORD code = 1;
    const auto started = std::chrono::steady_clock::now();
    const auto second = RunSecond({L"--send-to-path", L"C:\\perdu.txt"}, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_GE(MillisecondsSince(started), 4500);
    EXPECT_FALSE(second->WaitUntilReady(0)) << "never a second running instance";
    EXPECT_FALSE(FolderExists(AppDataFolder())) << "no file touched";
}

// The first process ends while the second waits: the mutex passes to the
// second, which carries on as the one instance.
TEST(SingleInstanceForwarding, WhenTheHolderEndsMeanwhileTheWaiterBecomesTheInstance)
{
    auto holder = std::make_unique<FakeRunningInstance>(false);
    CadrelsProcess process;
    ASSERT_TRUE(process.Start({L"--send-to-path", L"C:\\releve.txt"}));
    Sleep(1200);
    EXPECT_TRUE(process.Running()) << "still waiting for the holder";
    EXPECT_FALSE(process.WaitUntilReady(0));
    holder.reset();
    ASSERT_TRUE(process.WaitUntilReady(20000));
    EXPECT_EQ(process.CountLines(L"prend la releve"), 1u);
    EXPECT_NE(process.AppWindow(), nullptr);
    EXPECT_TRUE(process.WaitForLine(L"Envoi vers une cadrel : C:\\releve.txt", 5000))
        << "its own path joins its own batch";
    EXPECT_EQ(process.Quit(), std::optional<DWORD>(0));
}

// Two real starts at the same moment: exactly one runs.
TEST(SingleInstanceForwarding, TwoSimultaneousStartsLeaveOneInstance)
{
    CadrelsProcess a;
    CadrelsProcess b;
    ASSERT_TRUE(a.Start());
    ASSERT_TRUE(b.Start());
    bool aReady = false;
    bool bReady = false;
    for (int step = 0; step < 200 && !aReady && !bReady; ++step) {
        aReady = a.WaitUntilReady(50);
        bReady = b.WaitUntilReady(50);
    }
    // Give the other one time to (wrongly) start a loop of its own.
    Sleep(1000);
    aReady = a.WaitUntilReady(0);
    bReady = b.WaitUntilReady(0);
    EXPECT_NE(aReady, bReady) << "exactly one reaches its message loop";
    CadrelsProcess& loser = aReady ? b : a;
    CadrelsProcess& winner = aReady ? a : b;
    EXPECT_EQ(loser.WaitForExit(10000), std::optional<DWORD>(0));
    EXPECT_EQ(loser.CountLines(AlreadyRunning), 1u);
    EXPECT_EQ(winner.Quit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace cadrels::testing
