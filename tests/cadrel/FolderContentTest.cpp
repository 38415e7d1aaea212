#include "cadrel/FolderContent.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

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
        {"listing nothing", [](FolderContent& c) { c.List(L"", {}, SortByName, false); }},
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
    std::wstring root_;
    HWND window_ = nullptr;
    FolderContent content_;
};

TEST_F(FolderContentOnDisk, ListsInItsOrderWithPinnedNamesFirst)
{
    Write(L"small.txt", 1);
    Write(L"large.txt", 500);
    Write(L"middle.txt", 50);
    content_.List(root_, {L"SMALL.TXT"}, SortBySize, true);
    ASSERT_EQ(content_.Count(), 3);
    EXPECT_EQ(Names(content_), (std::vector<std::wstring>{L"small.txt", L"large.txt", L"middle.txt"}));
    EXPECT_TRUE(content_.Items()[0].pinned);
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
