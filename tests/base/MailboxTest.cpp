#include "base/Mailbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace cadrels {
namespace {

struct Counted {
    explicit Counted(std::atomic<int>& live, int value) : live(live), value(value) { ++live; }
    ~Counted() { --live; }
    std::atomic<int>& live;
    int value;
};

struct QueueWindow {
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ~QueueWindow() { DestroyWindow(window); }
};

size_t PendingMessages(HWND window, UINT message)
{
    size_t count = 0;
    MSG msg;
    while (PeekMessageW(&msg, window, message, message, PM_REMOVE)) {
        ++count;
    }
    return count;
}

TEST(Mailbox, PostQueuesTheObjectAndSignalsWithoutParameters)
{
    std::atomic<int> live = 0;
    QueueWindow queue;
    Mailbox<Counted> mailbox;
    ASSERT_TRUE(mailbox.Post(queue.window, WM_APP + 7, std::make_unique<Counted>(live, 1)));
    ASSERT_TRUE(mailbox.Post(queue.window, WM_APP + 7, std::make_unique<Counted>(live, 2)));

    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, queue.window, WM_APP + 7, WM_APP + 7, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(msg.lParam, 0);
    EXPECT_EQ(PendingMessages(queue.window, WM_APP + 7), 1u);

    EXPECT_EQ(mailbox.Take()->value, 1);
    EXPECT_EQ(mailbox.Take()->value, 2);
    // A third signal (a stray message) finds nothing.
    EXPECT_EQ(mailbox.Take(), nullptr);
    EXPECT_EQ(live, 0);
}

TEST(Mailbox, AFailedPostDestroysTheObjectAndKeepsTheOthers)
{
    std::atomic<int> live = 0;
    QueueWindow queue;
    Mailbox<Counted> mailbox;
    ASSERT_TRUE(mailbox.Post(queue.window, WM_APP + 8, std::make_unique<Counted>(live, 1)));
    HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(mailbox.Post(gone, WM_APP + 8, std::make_unique<Counted>(live, 2)));
    EXPECT_EQ(live, 1);
    EXPECT_FALSE(mailbox.Post(queue.window, WM_APP + 8, nullptr));
    EXPECT_EQ(mailbox.Take()->value, 1);
    EXPECT_TRUE(mailbox.Empty());
    PendingMessages(queue.window, WM_APP + 8);
}

TEST(Mailbox, ObjectsFromManyThreadsAllArriveOnce)
{
    std::atomic<int> live = 0;
    Mailbox<Counted> mailbox;
    constexpr int Threads = 4;
    constexpr int PerThread = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < PerThread; ++i) {
                mailbox.Put(std::make_unique<Counted>(live, t * PerThread + i));
            }
        });
    }
    std::vector<bool> seen(Threads * PerThread, false);
    int taken = 0;
    while (taken < Threads * PerThread) {
        if (auto object = mailbox.Take()) {
            EXPECT_FALSE(seen[object->value]);
            seen[object->value] = true;
            ++taken;
        }
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_TRUE(mailbox.Empty());
    EXPECT_EQ(live, 0);
}

}  // namespace
}  // namespace cadrels
