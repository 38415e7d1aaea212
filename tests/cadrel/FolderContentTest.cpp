#include "cadrel/FolderContent.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include "base/UniqueHandle.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace cadrels {
namespace {

using testing::MakeTempFolder;
using testing::RemoveTree;
using testing::WriteBytes;

CadrelItem File(const wchar_t* name, std::uint64_t size = 0)
{
    CadrelItem item;
    item.path = std::wstring(L"C:\\f\\") + name;
    item.name = name;
    item.size = size;
    return item;
}

CadrelItem Folder(const wchar_t* name)
{
    CadrelItem item = File(name);
    item.isFolder = true;
    return item;
}

std::vector<std::wstring> Names(const FolderContent& content)
{
    std::vector<std::wstring> names;
    for (const CadrelItem& item : content.Items()) {
        names.push_back(item.name);
    }
    return names;
}

std::vector<bool> Bits(std::initializer_list<int> bits)
{
    std::vector<bool> out;
    for (int bit : bits) {
        out.push_back(bit != 0);
    }
    return out;
}

void AssignFive(FolderContent& content)
{
    content.Assign({File(L"a"), File(L"b"), File(L"c"), File(L"d"), File(L"e")});
}

TEST(FolderContent, StartsUnlistedAndEmpty)
{
    const FolderContent content;
    EXPECT_FALSE(content.Listed());
    EXPECT_EQ(content.Count(), 0);
    EXPECT_EQ(content.Anchor(), -1);
    EXPECT_EQ(content.FirstSelected(), -1);
    EXPECT_FLOAT_EQ(content.ScrollOffset(), 0.0f);
}

TEST(FolderContent, SelectionCallsKeepToTheItemsThereAre)
{
    FolderContent content;
    AssignFive(content);
    content.SelectOnly(2);
    EXPECT_EQ(content.Selection(), Bits({0, 0, 1, 0, 0}));
    content.ToggleSelected(4);
    content.ToggleSelected(2);
    EXPECT_EQ(content.Selection(), Bits({0, 0, 0, 0, 1}));
    EXPECT_EQ(content.SelectedPaths(), std::vector<std::wstring>{L"C:\\f\\e"});

    // Out of range: SelectOnly clears, toggles do nothing.
    content.ToggleSelected(5);
    content.ToggleSelected(-1);
    EXPECT_EQ(content.SelectedCount(), 1);
    content.SelectOnly(9);
    EXPECT_EQ(content.SelectedCount(), 0);
    EXPECT_EQ(content.Selection().size(), 5u);

    // Ranges run either way and are cut at the ends; they replace what was.
    content.SelectOnly(0);
    content.SelectRange(3, 1);
    EXPECT_EQ(content.Selection(), Bits({0, 1, 1, 1, 0}));
    content.SelectRange(-4, 1);
    EXPECT_EQ(content.Selection(), Bits({1, 1, 0, 0, 0}));
    content.SelectRange(3, 40);
    EXPECT_EQ(content.Selection(), Bits({0, 0, 0, 1, 1}));
    EXPECT_EQ(content.FirstSelected(), 3);
    EXPECT_EQ(content.SelectedPaths(), (std::vector<std::wstring>{L"C:\\f\\d", L"C:\\f\\e"}));

    content.ClearSelection();
    EXPECT_EQ(content.SelectedCount(), 0);
    EXPECT_EQ(content.Selection().size(), 5u);
}

TEST(FolderContent, BandAndPathSelectionsCoverEveryItem)
{
    FolderContent content;
    AssignFive(content);
    // A band made against fewer items than there are now leaves the rest unselected.
    content.SetSelection(Bits({1, 0, 1}));
    EXPECT_EQ(content.Selection(), Bits({1, 0, 1, 0, 0}));
    content.SetSelection(Bits({0, 0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(content.Selection(), Bits({0, 0, 0, 0, 1}));

    content.SelectPaths({L"C:\\f\\d", L"C:\\f\\gone", L"C:\\f\\b"});
    EXPECT_EQ(content.Selection(), Bits({0, 1, 0, 1, 0}));
    EXPECT_EQ(content.IndexOfPath(L"C:\\f\\d"), 3);
    EXPECT_EQ(content.IndexOfPath(L"C:\\f\\gone"), -1);
    EXPECT_EQ(content.AllPaths().size(), 5u);
}

TEST(FolderContent, AnchorIsAnItemOrNone)
{
    FolderContent content;
    AssignFive(content);
    content.SetAnchor(4);
    EXPECT_EQ(content.Anchor(), 4);
    content.SetAnchor(5);
    EXPECT_EQ(content.Anchor(), -1);
    content.SetAnchor(-3);
    EXPECT_EQ(content.Anchor(), -1);
}

// Selection bits stand for positions: whatever orders the items again must
// drop them and the anchor, or they would point at other files.
TEST(FolderContent, EveryNewOrderDropsSelectionAndAnchor)
{
    struct Case {
        const char* what;
        void (*reorder)(FolderContent&);
    };
    const Case cases[] = {
        {"relisting", [](FolderContent& c) { c.Assign({File(L"x"), File(L"y"), File(L"z")}); }},
        {"sorting", [](FolderContent& c) { c.Sort(SortBySize, true); }},
        {"pinning", [](FolderContent& c) { c.Repin({L"c"}, SortByName, false); }},
        {"listing nothing", [](FolderContent& c) { c.RequestListing(L"", nullptr, 0, true); }},
    };
    for (const Case& c : cases) {
        FolderContent content;
        AssignFive(content);
        content.SelectRange(1, 3);
        content.SetAnchor(1);
        c.reorder(content);
        EXPECT_EQ(content.SelectedCount(), 0) << c.what;
        EXPECT_EQ(content.Anchor(), -1) << c.what;
        EXPECT_EQ(content.Selection().size(), content.Items().size()) << c.what;
        EXPECT_TRUE(content.Listed()) << c.what;
    }
}

TEST(FolderContent, SortAndRepinKeepPinnedThenFoldersFirst)
{
    FolderContent content;
    content.Assign({File(L"b", 30), Folder(L"z"), File(L"a", 10), File(L"c", 20)});
    content.Sort(SortBySize, false);
    EXPECT_EQ(Names(content), (std::vector<std::wstring>{L"z", L"a", L"c", L"b"}));
    content.Sort(SortBySize, true);
    EXPECT_EQ(Names(content), (std::vector<std::wstring>{L"z", L"b", L"c", L"a"}));
    content.Sort(SortByName, false);
    EXPECT_EQ(Names(content), (std::vector<std::wstring>{L"z", L"a", L"b", L"c"}));

    content.Repin({L"C"}, SortBySize, true);
    EXPECT_EQ(Names(content), (std::vector<std::wstring>{L"c", L"z", L"b", L"a"}));
    EXPECT_TRUE(content.Items()[0].pinned);
    // Unpinning puts the item back where the order has it.
    content.Repin({}, SortBySize, true);
    EXPECT_EQ(Names(content), (std::vector<std::wstring>{L"z", L"b", L"c", L"a"}));
    EXPECT_FALSE(content.Items()[2].pinned);
}

TEST(FolderContent, ScrollStaysWithinWhatTheItemsReach)
{
    CadrelView view;
    view.width = 300;
    view.height = 300;
    std::vector<CadrelItem> many;
    for (int i = 0; i < 60; ++i) {
        many.push_back(File((L"item" + std::to_wstring(i)).c_str()));
    }
    FolderContent content;
    content.Assign(many);
    const float max = content.MaxScroll(view);
    ASSERT_GT(max, 0.0f);

    // The wheel runs down to the end and no further, and back to 0.
    EXPECT_FALSE(content.Wheel(120, view));
    EXPECT_TRUE(content.Wheel(-120, view));
    EXPECT_GT(content.ScrollOffset(), 0.0f);
    for (int i = 0; i < 200; ++i) {
        content.Wheel(-120, view);
    }
    EXPECT_FLOAT_EQ(content.ScrollOffset(), max);
    EXPECT_FALSE(content.Wheel(-120, view));

    // Fewer items after a relisting: the offset comes back within reach.
    content.Assign({many.begin(), many.begin() + 20});
    const float smaller = content.MaxScroll(view);
    ASSERT_LT(smaller, max);
    content.ClampScroll(view);
    EXPECT_FLOAT_EQ(content.ScrollOffset(), smaller);

    // A rolled cadrel does not scroll by the wheel; a taller one needs no scrolling.
    CadrelView rolled = view;
    rolled.rolled = true;
    EXPECT_FALSE(content.Wheel(120, rolled));
    CadrelView tall = view;
    tall.height = 4000;
    content.ClampScroll(tall);
    EXPECT_FLOAT_EQ(content.ScrollOffset(), 0.0f);

    content.Wheel(-120, view);
    content.ResetScroll();
    EXPECT_FLOAT_EQ(content.ScrollOffset(), 0.0f);
}

class FolderContentOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = MakeTempFolder(L"content");
        ASSERT_FALSE(root_.empty());
        window_ = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override
    {
        content_.StopWatching();
        DestroyWindow(window_);
        RemoveTree(root_);
    }
    void Write(const wchar_t* name, size_t bytes) const
    {
        ASSERT_TRUE(WriteBytes(root_ + L"\\" + name, std::string(bytes, 'x'))) << name;
    }
    void Request(const std::wstring& folder, bool keepSelection = false)
    {
        content_.RequestListing(folder, window_, Listed, keepSelection);
    }
    // Pumps the listing worker's messages until nothing more is asked for
    // and applies each result; the kinds applied, in order.
    std::vector<FolderContent::Applied> Arrivals(const std::vector<std::wstring>& pinned, int sortKey,
                                                 bool descending, DWORD quietMs = 300)
    {
        std::vector<FolderContent::Applied> applied;
        ULONGLONG quietUntil = GetTickCount64() + quietMs;
        const ULONGLONG giveUp = GetTickCount64() + 15000;
        while (GetTickCount64() < giveUp && (content_.ListingWaiting() || GetTickCount64() < quietUntil)) {
            MSG message;
            while (PeekMessageW(&message, window_, Listed, Listed, PM_REMOVE)) {
                for (auto kind = content_.ApplyListed(pinned, sortKey, descending);
                     kind != FolderContent::Applied::Nothing;
                     kind = content_.ApplyListed(pinned, sortKey, descending)) {
                    applied.push_back(kind);
                    quietUntil = GetTickCount64() + quietMs;
                }
            }
            Sleep(10);
        }
        return applied;
    }
    bool ChangeArrives(DWORD timeoutMs) const
    {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        MSG message;
        while (GetTickCount64() < end) {
            if (PeekMessageW(&message, window_, Changed, Changed, PM_REMOVE)) {
                return true;
            }
            Sleep(20);
        }
        return false;
    }

    static constexpr UINT Changed = WM_APP + 7;
    static constexpr UINT Listed = WM_APP + 8;
    std::wstring root_;
    HWND window_ = nullptr;
    FolderContent content_;
};

TEST_F(FolderContentOnDisk, ListsInItsOrderWithPinnedNamesFirst)
{
    Write(L"small.txt", 1);
    Write(L"large.txt", 500);
    Write(L"middle.txt", 50);
    Request(root_);
    EXPECT_FALSE(content_.Listed()) << "the listing runs on a worker";
    Arrivals({L"SMALL.TXT"}, SortBySize, true);
    ASSERT_TRUE(content_.Listed());
    ASSERT_EQ(content_.Count(), 3);
    EXPECT_EQ(Names(content_), (std::vector<std::wstring>{L"small.txt", L"large.txt", L"middle.txt"}));
    EXPECT_TRUE(content_.Items()[0].pinned);
}

// The names are shown before any subfolder is walked; the sizes follow and
// reorder a list sorted by size, keeping what the user selected.
TEST_F(FolderContentOnDisk, SubfolderSizesArriveAfterTheNamesAndKeepTheSelection)
{
    Write(L"file.txt", 50);
    const std::wstring big = root_ + L"\\big";
    ASSERT_TRUE(CreateDirectoryW(big.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(big + L"\\inside.bin", std::string(4000, 'x')));
    const std::wstring small = root_ + L"\\small";
    ASSERT_TRUE(CreateDirectoryW(small.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(small + L"\\inside.bin", std::string(10, 'x')));

    Request(root_);
    const auto first = Arrivals({}, SortBySize, true);
    ASSERT_EQ(first, (std::vector{FolderContent::Applied::Entries, FolderContent::Applied::Sizes}));
    EXPECT_EQ(Names(content_), (std::vector<std::wstring>{L"big", L"small", L"file.txt"}));
    EXPECT_EQ(content_.Items()[0].size, 4000u);
    EXPECT_EQ(content_.Items()[1].size, 10u);

    // The small folder grows past the big one: the relisting keeps the old
    // sizes until the walk brings the new ones, and the selection follows.
    ASSERT_TRUE(WriteBytes(small + L"\\more.bin", std::string(9000, 'x')));
    content_.SelectPaths({big});
    Request(root_, true);
    MSG message;
    const ULONGLONG giveUp = GetTickCount64() + 10000;
    FolderContent::Applied entries = FolderContent::Applied::Nothing;
    while (entries == FolderContent::Applied::Nothing && GetTickCount64() < giveUp) {
        if (PeekMessageW(&message, window_, Listed, Listed, PM_REMOVE)) {
            entries = content_.ApplyListed({}, SortBySize, true);
        }
        Sleep(5);
    }
    ASSERT_EQ(entries, FolderContent::Applied::Entries);
    EXPECT_EQ(Names(content_), (std::vector<std::wstring>{L"big", L"small", L"file.txt"}))
        << "until the walk answers, the sizes known before stand";
    EXPECT_EQ(content_.Items()[1].size, 10u);
    Arrivals({}, SortBySize, true);
    EXPECT_EQ(Names(content_), (std::vector<std::wstring>{L"small", L"big", L"file.txt"}));
    EXPECT_EQ(content_.Items()[0].size, 9010u);
    EXPECT_EQ(content_.SelectedPaths(), std::vector<std::wstring>{big});
}

// A folder that does not answer (a share gone away) cannot hold back the next
// folder shown, and its late answer never replaces what is shown now.
TEST_F(FolderContentOnDisk, ALateListingOfAFolderNoLongerShownIsDropped)
{
    const std::wstring slow = root_ + L"\\slow";
    const std::wstring quick = root_ + L"\\quick";
    ASSERT_TRUE(CreateDirectoryW(slow.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(quick.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(slow + L"\\s.txt", "s"));
    ASSERT_TRUE(WriteBytes(quick + L"\\q.txt", "q"));

    UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const HANDLE releaseEvent = release.Get();
    FolderLister::SetFaultForTests([releaseEvent](std::size_t) -> DWORD {
        WaitForSingleObject(releaseEvent, 20000);
        return 0;
    });
    Request(slow);
    FolderLister::SetFaultForTests(nullptr);
    Request(quick);
    Arrivals({}, SortByName, false);
    ASSERT_EQ(Names(content_), std::vector<std::wstring>{L"q.txt"});

    SetEvent(releaseEvent);
    const auto late = Arrivals({}, SortByName, false, 700);
    EXPECT_TRUE(late.empty());
    EXPECT_EQ(Names(content_), std::vector<std::wstring>{L"q.txt"});
}

// A folder written to all the time is listed by one worker at a time, with
// one more listing for everything that changed meanwhile.
TEST_F(FolderContentOnDisk, RequestsForABusyFolderWaitForTheListingRunning)
{
    Write(L"one.txt", 1);
    UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const HANDLE releaseEvent = release.Get();
    auto started = std::make_shared<std::atomic<int>>(0);
    FolderLister::SetFaultForTests([releaseEvent, started](std::size_t entriesRead) -> DWORD {
        if (entriesRead == 1) {
            ++*started;
            WaitForSingleObject(releaseEvent, 20000);
        }
        return 0;
    });
    Request(root_);
    for (int i = 0; i < 5; ++i) {
        Write((L"more" + std::to_wstring(i) + L".txt").c_str(), 1);
        Request(root_, true);
    }
    Sleep(200);
    EXPECT_EQ(started->load(), 1);
    SetEvent(releaseEvent);
    Arrivals({}, SortByName, false);
    FolderLister::SetFaultForTests(nullptr);
    EXPECT_EQ(started->load(), 2) << "one listing after the one running, for all five requests";
    EXPECT_EQ(content_.Count(), 6);
    EXPECT_FALSE(content_.ListingWaiting());
}

TEST_F(FolderContentOnDisk, WatcherTellsTheWindowOfAChangeUntilStopped)
{
    content_.StartWatching(L"", window_, Changed);
    EXPECT_FALSE(content_.Watching());
    content_.StartWatching(root_, nullptr, Changed);
    EXPECT_FALSE(content_.Watching());

    content_.StartWatching(root_, window_, Changed);
    ASSERT_TRUE(content_.Watching());
    // The watcher's thread may not be waiting yet when the first file lands.
    bool arrived = false;
    for (int attempt = 0; attempt < 10 && !arrived; ++attempt) {
        Write((L"new" + std::to_wstring(attempt) + L".txt").c_str(), 3);
        arrived = ChangeArrives(500);
    }
    EXPECT_TRUE(arrived);

    content_.StopWatching();
    EXPECT_FALSE(content_.Watching());
    MSG stale;
    while (PeekMessageW(&stale, window_, Changed, Changed, PM_REMOVE)) {
    }
    Write(L"later.txt", 3);
    EXPECT_FALSE(ChangeArrives(700));
}

}  // namespace
}  // namespace cadrels
