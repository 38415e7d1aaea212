#include "app/SendToQueue.h"

#include "base/AppMessages.h"
#include "model/AtomicFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace cadrels {
namespace {

using Batches = std::vector<std::vector<std::wstring>>;

class SendToQueueTest : public ::testing::Test {
protected:
    SendToQueueTest()
        : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)),
          queue_([this](const std::vector<std::wstring>& paths, POINT) {
              filed_.push_back(paths);
              if (whileFiling_) {
                  whileFiling_();
              }
          },
                 operation_)
    {
        queue_.SetWindow(window_);
    }
    ~SendToQueueTest() override { DestroyWindow(window_); }

    // Hands over every list message the queue posted to the window.
    int DeliverListMessages()
    {
        int delivered = 0;
        MSG message{};
        while (PeekMessageW(&message, window_, WM_APP_SEND_TO_LIST, WM_APP_SEND_TO_LIST, PM_REMOVE)) {
            queue_.OnListMessage();
            ++delivered;
        }
        return delivered;
    }

    static std::wstring TempPath(const wchar_t* name)
    {
        wchar_t folder[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, folder);
        return std::wstring(folder) + name;
    }

    static void WriteList(const std::wstring& path, std::wstring_view lines)
    {
        std::string bytes;
        for (wchar_t c : lines) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
        }
        ASSERT_TRUE(WriteFileAtomically(path, bytes));
    }

    static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    HWND window_;
    Batches filed_;
    std::function<void()> whileFiling_;
    OperationState operation_;
    SendToQueue queue_;
};

TEST_F(SendToQueueTest, PathsSentTogetherAreFiledAsOneBatch)
{
    ASSERT_NE(window_, nullptr);
    queue_.QueuePath(L"C:\\a.txt");
    queue_.QueuePath(L"C:\\b.txt");
    EXPECT_TRUE(filed_.empty()) << "nothing is filed before the quiet time is over";
    queue_.OnBatchTimer();
    EXPECT_EQ(filed_, (Batches{{L"C:\\a.txt", L"C:\\b.txt"}}));
    queue_.OnBatchTimer();
    EXPECT_EQ(filed_.size(), 1u) << "an empty batch files nothing";
}

TEST_F(SendToQueueTest, PathsArrivingWhileABatchIsFiledWaitForTheNextOne)
{
    // The filing's menu pumps messages: another path, its batch timer and a
    // list file arrive while it is open.
    const std::wstring list = TempPath(L"cdrqueue-late.tmp");
    bool first = true;
    whileFiling_ = [this, &first, &list] {
        if (!std::exchange(first, false)) {
            return;
        }
        queue_.QueuePath(L"C:\\late.txt");
        queue_.OnBatchTimer();
        WriteList(list, L"C:\\listed.txt\r\n");
        queue_.PostList(list);
        EXPECT_EQ(DeliverListMessages(), 1);
        EXPECT_EQ(filed_.size(), 1u) << "a second menu must not open over the first";
    };
    queue_.QueuePath(L"C:\\first.txt");
    queue_.OnBatchTimer();
    EXPECT_EQ(filed_, (Batches{{L"C:\\first.txt"}}));
    queue_.OnBatchTimer();
    EXPECT_EQ(filed_, (Batches{{L"C:\\first.txt"}, {L"C:\\late.txt", L"C:\\listed.txt"}}));
}

TEST_F(SendToQueueTest, WhileAnOperationRunsBatchesAndListsWaitForItsEnd)
{
    const std::wstring list = TempPath(L"cdrqueue-waiting.tmp");
    {
        const OperationState::Scope prompt = operation_.Begin();
        queue_.QueuePath(L"C:\\a.txt");
        queue_.OnBatchTimer();
        WriteList(list, L"C:\\b.txt\r\n");
        queue_.PostList(list);
        EXPECT_EQ(DeliverListMessages(), 1);
        queue_.OnBatchTimer();
        EXPECT_TRUE(filed_.empty()) << "nothing is filed inside the prompt's loop";
    }
    queue_.OnBatchTimer();
    EXPECT_EQ(filed_, (Batches{{L"C:\\a.txt", L"C:\\b.txt"}}));
}

TEST_F(SendToQueueTest, NothingIsFiledOnceShutdownBegan)
{
    queue_.QueuePath(L"C:\\a.txt");
    queue_.BeginShutdown();
    queue_.OnBatchTimer();
    EXPECT_TRUE(filed_.empty());
}

TEST_F(SendToQueueTest, AListFileIsReadOnceAndDeleted)
{
    const std::wstring list = TempPath(L"cdrqueue-test.tmp");
    WriteList(list, L"C:\\one.txt\r\nC:\\two words.txt\r\n");
    queue_.PostList(list);
    EXPECT_EQ(DeliverListMessages(), 1);
    EXPECT_EQ(filed_, (Batches{{L"C:\\one.txt", L"C:\\two words.txt"}}));
    EXPECT_FALSE(Exists(list)) << "the sender hands the file over";

    // A stray message, as any process may post, finds the mailbox empty.
    PostMessageW(window_, WM_APP_SEND_TO_LIST, 0, 0);
    EXPECT_EQ(DeliverListMessages(), 1);
    EXPECT_EQ(filed_.size(), 1u);
}

}  // namespace
}  // namespace cadrels
