// The watchers on real folders: changes arrive as messages, a folder that
// vanishes is tried again and watched once it is back.
#include "fileops/FolderSetWatcher.h"
#include "fileops/FolderWatcher.h"
#include "fileops/WatchFolders.h"

#include "LogCapture.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace cadrels {
namespace {

using testing::LogCapture;
using testing::MakeTempFolder;
using testing::RemoveTree;
using testing::WriteBytes;

constexpr UINT Changed = WM_APP + 19;

class WatcherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        root_ = MakeTempFolder(L"watch");
        ASSERT_FALSE(root_.empty());
    }
    void TearDown() override
    {
        DestroyWindow(window_);
        RemoveTree(root_);
    }

    // Messages that arrive within `ms`; stops early once `enough` came.
    int Arrivals(DWORD ms, int enough = 1000)
    {
        int count = 0;
        const ULONGLONG end = GetTickCount64() + ms;
        while (GetTickCount64() < end && count < enough) {
            MSG message;
            while (PeekMessageW(&message, window_, Changed, Changed, PM_REMOVE)) {
                ++count;
            }
            if (count < enough) {
                Sleep(20);
            }
        }
        return count;
    }

    std::wstring Folder(const wchar_t* name)
    {
        const std::wstring path = root_ + L"\\" + name;
        EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        return path;
    }

    HWND window_ = nullptr;
    std::wstring root_;
};

TEST_F(WatcherTest, AFolderWatcherSeesChangesAndTheFolderComingBack)
{
    const std::wstring folder = Folder(L"tab");
    FolderWatcher watcher;
    ASSERT_TRUE(watcher.Start(folder, window_, Changed));
    EXPECT_FALSE(watcher.Start(folder, window_, Changed)) << "one thread per watcher";
    Sleep(200);
    ASSERT_TRUE(WriteBytes(folder + L"\\new.txt", "x"));
    EXPECT_GE(Arrivals(3000, 1), 1);

    // Moved away as a whole: its own watch hears nothing of it.
    ASSERT_TRUE(MoveFileW(folder.c_str(), (folder + L"-away").c_str()));
    EXPECT_GE(Arrivals(4000, 1), 1) << "the folder went away";
    Sleep(1500);  // in its retry cycle by now
    Arrivals(0);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_GE(Arrivals(6000, 1), 1) << "the folder came back";
    Sleep(200);
    Arrivals(0);
    ASSERT_TRUE(WriteBytes(folder + L"\\again.txt", "x"));
    EXPECT_GE(Arrivals(3000, 1), 1) << "and is watched again";

    const auto start = std::chrono::steady_clock::now();
    watcher.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(watcher.Running());
    EXPECT_FALSE(watcher.Start(L"", window_, Changed));
}

// A tab on a share that stopped answering: the watcher thread hangs in its
// open, and a tab switch or the exit that stops the watcher must not wait
// for it.
TEST_F(WatcherTest, StoppingNeverWaitsForAThreadStuckOpeningItsFolder)
{
    const std::wstring folder = Folder(L"dead-share");
    UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(release.Valid());
    std::atomic<bool> entered{false};
    std::atomic<bool> leftHook{false};
    const HANDLE releaseEvent = release.Get();
    FolderWatcher::SetOpenHookForTests([&, releaseEvent] {
        entered = true;
        WaitForSingleObject(releaseEvent, 30000);
        leftHook = true;
    });
    auto watcher = std::make_unique<FolderWatcher>();
    ASSERT_TRUE(watcher->Start(folder, window_, Changed));
    const ULONGLONG giveUp = GetTickCount64() + 5000;
    while (!entered && GetTickCount64() < giveUp) {
        Sleep(10);
    }
    ASSERT_TRUE(entered);

    // Stopped from a thread of the test's own, so that a stop that joins
    // shows up as a failure instead of a hang.
    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
        watcher->Stop();
        watcher.reset();
        stopped = true;
    });
    const ULONGLONG stopGiveUp = GetTickCount64() + 5000;
    while (!stopped && GetTickCount64() < stopGiveUp) {
        Sleep(10);
    }
    EXPECT_TRUE(stopped) << "Stop waited for the thread stuck in its open";
    EXPECT_FALSE(leftHook) << "the open was still hanging when Stop returned";

    SetEvent(releaseEvent);
    stopper.join();
    FolderWatcher::SetOpenHookForTests(nullptr);
    const ULONGLONG leaveGiveUp = GetTickCount64() + 5000;
    while (!leftHook && GetTickCount64() < leaveGiveUp) {
        Sleep(10);
    }
    // Once the open comes back, the stopped thread ends without a notice.
    EXPECT_EQ(Arrivals(500), 0);
    Sleep(100);  // the thread's last steps after the hook, before the handle goes
}

TEST_F(WatcherTest, AFolderDeeperThan260CharactersIsWatched)
{
    std::wstring deep = root_;
    for (int level = 0; level < 5; ++level) {
        deep += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + level));
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr)) << GetLastError();
    }
    ASSERT_GT(deep.size(), 300u);
    FolderWatcher watcher;
    ASSERT_TRUE(watcher.Start(deep, window_, Changed));
    Sleep(200);
    ASSERT_TRUE(WriteBytes(deep + L"\\new.txt", "x"));
    EXPECT_GE(Arrivals(3000, 1), 1);
    watcher.Stop();
}

TEST_F(WatcherTest, TheApplicationWatcherDropsOnlyTheVanishedFolderAndTakesItBack)
{
    const std::wstring kept = Folder(L"desktop");
    const std::wstring lost = Folder(L"usb");
    LogCapture log;
    FolderSetWatcher watcher;
    ASSERT_TRUE(watcher.Start({kept, lost}, window_, Changed));
    Sleep(200);

    ASSERT_TRUE(MoveFileW(lost.c_str(), (lost + L"-unplugged").c_str()));
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (log.Count(L"Dossier surveille perdu") == 0 && GetTickCount64() < deadline) {
        Sleep(50);
    }
    ASSERT_EQ(log.Count(L"Dossier surveille perdu"), 1u);
    Arrivals(300);

    ASSERT_TRUE(WriteBytes(kept + L"\\file.txt", "x"));
    EXPECT_GE(Arrivals(3000, 1), 1) << "the other folder is still watched";
    Arrivals(500);

    ASSERT_TRUE(MoveFileW((lost + L"-unplugged").c_str(), lost.c_str()));
    const ULONGLONG back = GetTickCount64() + 8000;
    while (log.Count(L"Dossier surveille de nouveau") == 0 && GetTickCount64() < back) {
        Sleep(50);
    }
    ASSERT_EQ(log.Count(L"Dossier surveille de nouveau"), 1u);
    EXPECT_GE(Arrivals(1000, 1), 1) << "its return asks for a pass";
    Arrivals(300);
    ASSERT_TRUE(WriteBytes(lost + L"\\file.txt", "x"));
    EXPECT_GE(Arrivals(3000, 1), 1);

    watcher.Stop();
    EXPECT_FALSE(watcher.Running());
}

TEST_F(WatcherTest, WatchedFoldersAreComparedAsFoldersNotAsText)
{
    const std::wstring folder = Folder(L"Photos");
    std::wstring shouted = folder;
    for (wchar_t& c : shouted) {
        c = static_cast<wchar_t>(towupper(c));
    }
    EXPECT_TRUE(SameWatchFolder(folder, shouted + L"\\"));
    EXPECT_TRUE(SameWatchFolder(folder, root_ + L"\\other\\..\\photos"));
    EXPECT_FALSE(SameWatchFolder(folder, root_ + L"\\Photos2"));
    EXPECT_TRUE(SameWatchFolder(root_ + L"\\not yet", root_ + L"\\NOT YET")) << "a missing folder still compares";

    EXPECT_TRUE(IsWatchableDirectory(folder));
    ASSERT_TRUE(WriteBytes(root_ + L"\\file.txt", "x"));
    EXPECT_FALSE(IsWatchableDirectory(root_ + L"\\file.txt"));
    EXPECT_FALSE(IsWatchableDirectory(root_ + L"\\missing"));
}

}  // namespace
}  // namespace cadrels
