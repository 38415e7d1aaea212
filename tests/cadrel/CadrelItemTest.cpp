#include "cadrel/CadrelItem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrels {
namespace {

TEST(ItemDisplayName, DropsOnlyShortcutExtensions)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"C:\\Desk\\Report.lnk", L"Report"},
        {L"C:\\Desk\\Site.URL", L"Site"},
        {L"C:\\Desk\\notes.txt", L"notes.txt"},
        {L"C:\\Desk\\archive.lnk.zip", L"archive.lnk.zip"},
        {L"C:/Desk/Mixed/Report.Lnk", L"Report"},
        {L"C:\\Desk\\Folder\\\\", L"Folder"},
        {L"C:\\Desk\\.lnk", L".lnk"},
        {L"plain", L"plain"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ItemDisplayName(c.path), c.name) << c.path;
    }
}

TEST(ItemExtension, IsTheLowerCasedTextAfterTheLastDotOfTheName)
{
    EXPECT_EQ(ItemExtension(L"C:\\a.b\\photo.JPG"), L"jpg");
    EXPECT_EQ(ItemExtension(L"C:\\a.b\\README"), L"") << "a dot in a parent folder does not count";
    EXPECT_EQ(ItemExtension(L"x.tar.GZ"), L"gz");
    EXPECT_EQ(ItemExtension(L"trailing."), L"");
}

CadrelItem File(const wchar_t* path, std::uint64_t size = 0, std::uint64_t time = 0)
{
    CadrelItem item;
    item.path = path;
    item.name = ItemDisplayName(path);
    item.size = size;
    item.time = time;
    return item;
}

CadrelItem Folder(const wchar_t* path)
{
    CadrelItem item = File(path);
    item.isFolder = true;
    return item;
}

std::vector<std::wstring> Names(const std::vector<CadrelItem>& items)
{
    std::vector<std::wstring> names;
    for (const CadrelItem& item : items) {
        names.push_back(item.name);
    }
    return names;
}

TEST(ApplyPinned, MatchesFileNamesIgnoringCaseAndClearsOldPins)
{
    std::vector<CadrelItem> items = {File(L"D:\\Report.lnk"), File(L"D:\\b.txt"), File(L"D:\\c.txt")};
    items[2].pinned = true;
    ApplyPinned(items, {L"REPORT.LNK", L"", L"missing.txt"});
    EXPECT_TRUE(items[0].pinned) << "the pinned name is the file name, extension included";
    EXPECT_FALSE(items[1].pinned);
    EXPECT_FALSE(items[2].pinned) << "a name no longer pinned loses its mark";

    ApplyPinned(items, {L"Report"});
    EXPECT_FALSE(items[0].pinned) << "the display name is not the file name";
}

struct SortCase {
    const char* label;
    int key;
    bool descending;
    std::vector<std::wstring> expected;
};

// A pinned old file, two folders, and files that tie on size and extension.
std::vector<CadrelItem> Mixed()
{
    std::vector<CadrelItem> items = {
        File(L"D:\\new.txt", 30, 900),  File(L"D:\\Big.dat", 500, 500), File(L"D:\\pinned.log", 10, 1),
        Folder(L"D:\\zeta"),            File(L"D:\\b.TXT", 30, 700),    Folder(L"D:\\Alpha"),
        File(L"D:\\a.txt", 30, 800),
    };
    items[2].pinned = true;
    return items;
}

TEST(SortItems, KeepsPinnedThenFoldersFirstAndReversesOnlyTheKey)
{
    const SortCase cases[] = {
        {"name", SortByName, false, {L"pinned.log", L"Alpha", L"zeta", L"a.txt", L"b.TXT", L"Big.dat", L"new.txt"}},
        {"name desc", SortByName, true, {L"pinned.log", L"zeta", L"Alpha", L"new.txt", L"Big.dat", L"b.TXT", L"a.txt"}},
        {"type", SortByType, false, {L"pinned.log", L"Alpha", L"zeta", L"Big.dat", L"a.txt", L"b.TXT", L"new.txt"}},
        {"date desc", SortByDate, true, {L"pinned.log", L"zeta", L"Alpha", L"new.txt", L"a.txt", L"b.TXT", L"Big.dat"}},
        {"date", SortByDate, false, {L"pinned.log", L"Alpha", L"zeta", L"Big.dat", L"b.TXT", L"a.txt", L"new.txt"}},
        // Equal sizes fall back to the path ignoring case; descending reverses that too.
        {"size", SortBySize, false, {L"pinned.log", L"Alpha", L"zeta", L"a.txt", L"b.TXT", L"new.txt", L"Big.dat"}},
        {"size desc", SortBySize, true, {L"pinned.log", L"zeta", L"Alpha", L"Big.dat", L"new.txt", L"b.TXT", L"a.txt"}},
    };
    for (const SortCase& c : cases) {
        std::vector<CadrelItem> items = Mixed();
        SortItems(items, c.key, c.descending);
        EXPECT_EQ(Names(items), c.expected) << c.label;
    }
}

TEST(SortItems, PinnedFolderAndPinnedFileKeepTheFolderFirst)
{
    std::vector<CadrelItem> items = {File(L"D:\\a.txt"), Folder(L"D:\\z"), File(L"D:\\b.txt")};
    items[0].pinned = true;
    items[1].pinned = true;
    SortItems(items, SortByName, true);
    EXPECT_EQ(Names(items), (std::vector<std::wstring>{L"z", L"a.txt", L"b.txt"}));
}

}  // namespace
}  // namespace cadrels
