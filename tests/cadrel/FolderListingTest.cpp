#include "cadrel/FolderListing.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrels {
namespace {

using testing::MakeTempFolder;
using testing::RemoveTree;
using testing::WriteBytes;

std::vector<std::wstring> Names(const std::vector<CadrelItem>& items)
{
    std::vector<std::wstring> names;
    for (const CadrelItem& item : items) {
        names.push_back(item.name);
    }
    return names;
}

class FolderListingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = MakeTempFolder(L"listing");
        ASSERT_FALSE(root_.empty());
    }
    void TearDown() override { RemoveTree(root_); }

    std::wstring Path(const wchar_t* name) const { return root_ + L"\\" + name; }
    void Write(const wchar_t* name, size_t bytes) const
    {
        ASSERT_TRUE(WriteBytes(Path(name), std::string(bytes, 'x'))) << name;
    }
    void MakeFolder(const wchar_t* name) const { ASSERT_TRUE(CreateDirectoryW(Path(name).c_str(), nullptr)); }

    std::wstring root_;
};

TEST_F(FolderListingTest, ShowsWhatAUserShouldSeeWithSizesAndShortcutNames)
{
    Write(L"Report.lnk", 3);
    Write(L"notes.txt", 5);
    Write(L"desktop.ini", 7);
    Write(L"DESKTOP.INI.txt", 1);
    Write(L"hidden.txt", 2);
    Write(L"system.txt", 2);
    ASSERT_TRUE(SetFileAttributesW(Path(L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW(Path(L"system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM));
    MakeFolder(L"Sub");
    Write(L"Sub\\one.bin", 100);
    MakeFolder(L"Sub\\Deeper");
    Write(L"Sub\\Deeper\\two.bin", 20);

    const FolderListing listing = ListFolder(root_, {});
    EXPECT_TRUE(listing.present);
    EXPECT_EQ(listing.error, static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_EQ(Names(listing.items), (std::vector<std::wstring>{L"Sub", L"DESKTOP.INI.txt", L"notes.txt", L"Report"}));
    EXPECT_TRUE(listing.items[0].isFolder);
    EXPECT_EQ(listing.items[0].size, 120u) << "a folder's size counts the files of its subfolders";
    EXPECT_EQ(listing.items[0].path, Path(L"Sub"));
    EXPECT_EQ(listing.items[2].size, 5u);
    EXPECT_NE(listing.items[2].time, 0u);
    EXPECT_EQ(listing.items[3].path, Path(L"Report.lnk"));
}

TEST_F(FolderListingTest, MissingEmptyAndFileFoldersListNothing)
{
    EXPECT_FALSE(ListFolder(L"", {}).present);
    const FolderListing missing = ListFolder(Path(L"nothing-here"), {});
    EXPECT_FALSE(missing.present);
    EXPECT_TRUE(missing.items.empty());
    EXPECT_TRUE(ListFolder(root_ + L"\\no\\such\\path", {}).items.empty());
    EXPECT_TRUE(ListFolder(L"\\\\?\\Z:\\<>bad|name", {}).items.empty());

    Write(L"plain.txt", 4);
    EXPECT_TRUE(ListFolder(Path(L"plain.txt"), {}).items.empty()) << "a file is not a folder to list";
    EXPECT_TRUE(ListFolder(root_ + L"\\", {}).items.size() == 1) << "a trailing separator lists the same folder";
}

TEST_F(FolderListingTest, AFolderDeeperThan260CharactersIsListedWithItsSizes)
{
    std::wstring deep = root_;
    for (int level = 0; level < 5; ++level) {
        deep += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + level));
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr)) << GetLastError();
    }
    ASSERT_TRUE(CreateDirectoryW((deep + L"\\inner").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(deep + L"\\inner\\nested.bin", std::string(9, 'x')));
    ASSERT_TRUE(WriteBytes(deep + L"\\long.txt", "long"));
    ASSERT_GT(deep.size(), 300u);

    const FolderListing listing = ListFolder(deep, {});
    EXPECT_TRUE(listing.present);
    ASSERT_EQ(Names(listing.items), (std::vector<std::wstring>{L"inner", L"long.txt"}));
    EXPECT_EQ(listing.items[0].size, 9u);
    EXPECT_EQ(listing.items[1].path, deep + L"\\long.txt");
    EXPECT_EQ(listing.items[1].size, 4u);
}

TEST_F(FolderListingTest, PinsAndSortsWithTheOptionsGiven)
{
    Write(L"old.txt", 1);
    Write(L"b.txt", 9);
    Write(L"A.txt", 9);
    MakeFolder(L"Dir");
    FILETIME old{};
    old.dwHighDateTime = 0x01000000;  // far in the past
    {
        HANDLE file = CreateFileW(Path(L"old.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &old));
        CloseHandle(file);
    }
    ListingOptions options;
    options.pinnedNames = {L"OLD.TXT"};
    options.sortKey = SortByDate;
    options.descending = true;
    FolderListing listing = ListFolder(root_, options);
    ASSERT_EQ(listing.items.size(), 4u);
    EXPECT_EQ(listing.items[0].name, L"old.txt");
    EXPECT_TRUE(listing.items[0].pinned);
    EXPECT_EQ(listing.items[1].name, L"Dir");

    options.pinnedNames.clear();
    options.sortKey = SortBySize;
    options.descending = false;
    listing = ListFolder(root_, options);
    EXPECT_EQ(Names(listing.items), (std::vector<std::wstring>{L"Dir", L"old.txt", L"A.txt", L"b.txt"}));
}

TEST_F(FolderListingTest, TheSizeBudgetIsSharedByAllFoldersOfOneListing)
{
    for (const wchar_t* folder : {L"One", L"Two"}) {
        MakeFolder(folder);
        for (const wchar_t* file : {L"\\a", L"\\b", L"\\c"}) {
            Write((std::wstring(folder) + file).c_str(), 10);
        }
    }
    auto totalSize = [&](size_t budget) {
        ListingOptions options;
        options.sizeBudget = budget;
        std::uint64_t total = 0;
        for (const CadrelItem& item : ListFolder(root_, options).items) {
            total += item.size;
        }
        return total;
    };
    EXPECT_EQ(totalSize(FolderSizeBudget), 60u);
    EXPECT_EQ(totalSize(4), 40u) << "four entries in all, whichever folders they fall in";
    EXPECT_EQ(totalSize(0), 0u);

    size_t budget = 2;
    EXPECT_EQ(FolderContentSize(Path(L"One"), budget), 20u);
    EXPECT_EQ(budget, 0u);
    EXPECT_EQ(FolderContentSize(Path(L"Two"), budget), 0u) << "a spent budget counts nothing more";
}

TEST_F(FolderListingTest, AFailingEnumerationKeepsWhatWasGatheredPinnedAndSorted)
{
    for (const wchar_t* name : {L"e.txt", L"d.txt", L"c.txt", L"b.txt", L"a.txt"}) {
        Write(name, 1);
    }
    ListingOptions options;
    options.pinnedNames = {L"e.txt", L"a.txt"};
    options.fault = [](size_t entriesRead) { return entriesRead == 4 ? DWORD{ERROR_ACCESS_DENIED} : DWORD{0}; };
    const FolderListing listing = ListFolder(root_, options);
    EXPECT_TRUE(listing.present);
    EXPECT_EQ(listing.error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    // "." and ".." are among the first entries read, so two or three files came in.
    ASSERT_GE(listing.items.size(), 2u);
    ASSERT_LE(listing.items.size(), 4u);
    for (size_t i = 1; i < listing.items.size(); ++i) {
        const CadrelItem& a = listing.items[i - 1];
        const CadrelItem& b = listing.items[i];
        EXPECT_TRUE(a.pinned > b.pinned || (a.pinned == b.pinned && CompareNoCase(a.path, b.path) < 0))
            << "items stay in order after the failure";
    }
    for (const CadrelItem& item : listing.items) {
        EXPECT_EQ(item.pinned, item.name == L"e.txt" || item.name == L"a.txt") << "pins applied after the failure";
    }
}

TEST_F(FolderListingTest, AFolderRemovedMidListingEndsWithoutLosingTheOrder)
{
    for (int i = 0; i < 40; ++i) {
        Write((L"f" + std::to_wstring(100 + i) + L".txt").c_str(), 1);
    }
    ListingOptions options;
    options.descending = true;
    // The listed folder disappears under the enumeration, as when a user deletes it.
    options.fault = [&](size_t entriesRead) {
        if (entriesRead == 10) {
            RemoveTree(root_);
        }
        return DWORD{0};
    };
    const FolderListing listing = ListFolder(root_, options);
    EXPECT_LE(listing.items.size(), 40u);
    for (size_t i = 1; i < listing.items.size(); ++i) {
        EXPECT_GT(CompareNoCase(listing.items[i - 1].path, listing.items[i].path), 0);
    }
    RemoveTree(root_);
    EXPECT_FALSE(ListFolder(root_, {}).present);
}

}  // namespace
}  // namespace cadrels
