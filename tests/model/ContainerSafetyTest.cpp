// The property that matters most: no folder that is not a container, and no
// container holding anything but its marker, is ever renamed or removed.
#include "ContainerTree.h"

#include "base/UniqueHandle.h"

#include <gtest/gtest.h>

namespace cadrels::testing {
namespace {

TEST(ContainerRootTest, OnlyRealChildrenOfARootAreInsideIt)
{
    const ContainerRoots roots{L"C:\\Users\\u\\Cadrels", L"C:\\Users\\u\\AppData\\Local\\Cadrels\\containers"};
    const std::wstring inside[] = {
        L"C:\\Users\\u\\Cadrels\\a",  L"C:\\Users\\u\\Cadrels/a",          L"c:\\USERS\\U\\cadrels\\Travail",
        L"C:\\Users\\u\\Cadrels\\a\\", L"C:\\Users\\u\\Cadrels\\a/b",       L"C:\\Users\\u\\Cadrels\\\\a",
        L"C:\\Users\\u\\Cadrels\\.a", L"C:\\Users\\u\\AppData\\Local\\Cadrels\\containers\\x",
    };
    const std::wstring outside[] = {
        L"",
        L"C:\\Users\\u\\Cadrels",
        L"C:\\Users\\u\\Cadrels\\",
        L"C:\\Users\\u\\Cadrels\\\\",
        L"C:\\Users\\u\\Cadrels/\\",
        L"C:\\Users\\u\\Cadrels\\.",
        L"C:\\Users\\u\\Cadrels\\. ",
        L"C:\\Users\\u\\Cadrels\\...",
        L"C:\\Users\\u\\Cadrels\\..",
        L"C:\\Users\\u\\Cadrels\\..\\Documents",
        L"C:\\Users\\u\\Cadrels\\a\\..",
        L"C:\\Users\\u\\Cadrels\\a\\.. \\..\\b",
        L"C:\\Users\\u\\Cadrels\\a::$INDEX_ALLOCATION",
        L"C:\\Users\\u\\Cadrels\\*",
        L"C:\\Users\\u\\Cadrels2\\a",
        L"C:\\Users\\u\\Cadrel\\a",
        L"C:/Users/u/Cadrels/a",
        L"C:\\Users\\USER~1\\Cadrels\\a",
        L"\\\\?\\C:\\Users\\u\\Cadrels\\a",
        L"C:\\Users\\u\\AppData\\Local\\Cadrels\\containers",
        L"C:\\Users\\u\\AppData\\Local\\Cadrels\\snapshots",
        L"D:\\Users\\u\\Cadrels\\a",
    };
    for (const std::wstring& path : inside) {
        EXPECT_TRUE(IsInsideContainerRoot(path, roots)) << path;
    }
    for (const std::wstring& path : outside) {
        EXPECT_FALSE(IsInsideContainerRoot(path, roots)) << path;
    }
    EXPECT_FALSE(IsInsideContainerRoot(L"C:\\x\\a", ContainerRoots{})) << "an unresolved root holds nothing";
}

class ContainerSafety : public ContainerTree {
protected:
    // Neither renamed nor removed, and still holding what it held.
    void ExpectUntouched(const std::wstring& tabPath, const std::wstring& folderOnDisk)
    {
        EXPECT_EQ(RenameContainerForTitle(tabPath, L"Renamed", "{C}", roots_), tabPath);
        EXPECT_FALSE(RemoveEmptyContainer(tabPath, roots_)) << tabPath;
        EXPECT_TRUE(FolderExists(folderOnDisk)) << tabPath;
        EXPECT_FALSE(FolderExists(roots_.root + L"\\Renamed")) << tabPath;
        EXPECT_FALSE(FolderExists(base_ + L"\\profile\\Renamed")) << tabPath;
    }
};

TEST_F(ContainerSafety, FoldersThatAreNotEmptyContainersAreNeverRenamedOrRemoved)
{
    // The root holding nothing but a marker: any spelling of it that slipped
    // through would be removed.
    ASSERT_TRUE(WriteBytes(roots_.root + L"\\.cadrel-container", ""));
    for (const std::wstring& alias :
         {roots_.root, roots_.root + L"\\", roots_.root + L"\\\\", roots_.root + L"\\.", roots_.root + L"/. "}) {
        ExpectUntouched(alias, roots_.root);
    }

    const std::wstring noMarker = Folder(roots_.root + L"\\NoMarker");
    ExpectUntouched(noMarker, noMarker);
    EnsureContainer(noMarker, roots_);
    EXPECT_FALSE(Marked(noMarker)) << "no marker appears outside the claim";
    for (const std::wstring& alias : {noMarker + L"\\..", noMarker + L"\\..\\", noMarker + L"/... "}) {
        ExpectUntouched(alias, roots_.root);
    }

    const std::wstring outside = Folder(base_ + L"\\profile\\Outside", true);
    ExpectUntouched(outside, outside);

    const std::wstring markerDirectory = Folder(roots_.root + L"\\MarkerIsAFolder");
    Folder(markerDirectory + L"\\.cadrel-container");
    EXPECT_FALSE(HasContainerMarker(markerDirectory));
    ExpectUntouched(markerDirectory, markerDirectory);

    const std::wstring withIni = Container(L"WithDesktopIni");
    ASSERT_TRUE(WriteBytes(withIni + L"\\desktop.ini", "[.ShellClassInfo]"));
    SetFileAttributesW((withIni + L"\\desktop.ini").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_FALSE(RemoveEmptyContainer(withIni, roots_));
    EXPECT_TRUE(FileExists(withIni + L"\\desktop.ini"));
    EXPECT_TRUE(Marked(withIni));

    const std::wstring withFolder = Container(L"WithSubfolder");
    Folder(withFolder + L"\\empty");
    EXPECT_FALSE(RemoveEmptyContainer(withFolder, roots_));
    EXPECT_TRUE(FolderExists(withFolder + L"\\empty"));
}

TEST_F(ContainerSafety, AContainerNamedThroughAnotherSpellingIsStillHandledInPlace)
{
    // The file system ignores case, so a marker spelled in capitals is the marker.
    const std::wstring upper = Folder(roots_.root + L"\\Upper");
    ASSERT_TRUE(WriteBytes(upper + L"\\.CADREL-CONTAINER", ""));
    EXPECT_TRUE(IsContainer(upper, roots_));

    std::wstring upperRoot = roots_.root;
    for (wchar_t& c : upperRoot) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    EXPECT_TRUE(RemoveEmptyContainer(upperRoot + L"\\UPPER\\", roots_));
    EXPECT_FALSE(FolderExists(upper));

    // "root\Sub/Travail" is renamed inside Sub, never moved up into the profile.
    const std::wstring nested = Folder(roots_.root + L"\\Sub\\Travail", true);
    EXPECT_EQ(RenameContainerForTitle(roots_.root + L"\\Sub/Travail", L"Notes", "{C}", roots_),
              roots_.root + L"\\Sub\\Notes");
    EXPECT_TRUE(IsContainer(roots_.root + L"\\Sub\\Notes", roots_));
    EXPECT_FALSE(FolderExists(nested));

    const std::wstring trailing = Container(L"Trailing");
    EXPECT_EQ(RenameContainerForTitle(trailing + L"\\", L"Moved", "{C}", roots_), roots_.root + L"\\Moved");

    // A short 8.3 spelling of the tree is not textually inside the root: left alone.
    const std::wstring longName = Container(L"A rather long container name");
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(longName.c_str(), shortPath, MAX_PATH), 0u);
    if (_wcsicmp(shortPath, longName.c_str()) == 0) {
        GTEST_SKIP() << "no short name differs from the long one here: " << shortPath;
    }
    ExpectUntouched(shortPath, longName);
}

TEST_F(ContainerSafety, RenamingKeepsTheFolderWhenOnlyTheCaseChangesAndNumbersCollisions)
{
    const std::wstring travail = Container(L"Travail");
    EXPECT_EQ(RenameContainerForTitle(travail, L"travail", "{C}", roots_), travail);
    EXPECT_EQ(RenameContainerForTitle(travail, L"TRAVAIL...", "{C}", roots_), travail);
    const std::wstring summer = Container(L"été");
    EXPECT_EQ(RenameContainerForTitle(summer, L"Été", "{C}", roots_), summer) << "beyond ASCII too";
    EXPECT_FALSE(FolderExists(roots_.root + L"\\Été (2)"));
    Folder(roots_.root + L"\\Archive");
    const std::wstring renamed = RenameContainerForTitle(travail, L"Archive", "{C}", roots_);
    EXPECT_EQ(renamed, roots_.root + L"\\Archive (2)");
    EXPECT_TRUE(IsContainer(renamed, roots_));
    EXPECT_EQ(RenameContainerForTitle(roots_.root + L"\\Gone", L"x", "{C}", roots_), roots_.root + L"\\Gone");
}

TEST_F(ContainerSafety, RenamingMovesTheFolderOnlyThroughTheInstalledMover)
{
    const std::wstring travail = Container(L"Travail");
    std::vector<std::wstring> asked;
    SetFolderMover([&asked](const std::wstring& from, const std::wstring& to) {
        asked.push_back(from + L" -> " + to);
        return false;  // as a move the engine refused
    });
    EXPECT_EQ(RenameContainerForTitle(travail, L"Archive", "{C}", roots_), travail);
    EXPECT_EQ(asked, (std::vector<std::wstring>{travail + L" -> " + roots_.root + L"\\Archive"}));
    EXPECT_TRUE(IsContainer(travail, roots_)) << "a refused move leaves the container as it was";
    EXPECT_FALSE(FolderExists(roots_.root + L"\\Archive"));

    SetFolderMover(MoveFolderThroughEngine);
    EXPECT_EQ(RenameContainerForTitle(travail, L"Archive", "{C}", roots_), roots_.root + L"\\Archive");
    EXPECT_TRUE(IsContainer(roots_.root + L"\\Archive", roots_));
}

TEST_F(ContainerSafety, ARemovalThatFailsLeavesAContainerBehind)
{
    const std::wstring busy = Container(L"Busy");
    UniqueFile holder(CreateFileW(busy.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FALSE(RemoveEmptyContainer(busy, roots_));
    EXPECT_TRUE(IsContainer(busy, roots_)) << "the marker is written back";
    holder.Reset();
    EXPECT_TRUE(RemoveEmptyContainer(busy, roots_));
    EXPECT_FALSE(FolderExists(busy));
}

TEST_F(ContainerSafety, EnsureRecreatesOnlyMissingFoldersInsideARoot)
{
    const std::wstring missing = roots_.root + L"\\Missing\\Deep";
    EXPECT_TRUE(EnsureContainer(missing, roots_));
    EXPECT_TRUE(IsContainer(missing, roots_));

    const std::wstring stale = Container(L"Stale");
    ASSERT_TRUE(WriteBytes(stale + L"\\.cadrel-container", "old"));
    EXPECT_TRUE(EnsureContainer(stale, roots_));
    EXPECT_EQ(ReadBytes(stale + L"\\.cadrel-container"), "") << "an existing marker is written again";

    for (const std::wstring& path : {base_ + L"\\profile\\Elsewhere", roots_.root + L"\\..\\Escaped"}) {
        EXPECT_FALSE(EnsureContainer(path, roots_)) << path;
    }
    EXPECT_FALSE(FolderExists(base_ + L"\\profile\\Elsewhere"));
    EXPECT_FALSE(FolderExists(base_ + L"\\profile\\Escaped"));
}

}  // namespace
}  // namespace cadrels::testing
