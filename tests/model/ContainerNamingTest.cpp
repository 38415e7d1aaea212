#include "ContainerTree.h"

#include <gtest/gtest.h>

namespace cadrels::testing {
namespace {

TEST(ContainerFolderName, MakesASafeWindowsNameOfAnyTitle)
{
    struct Case {
        std::wstring title;
        std::string id;
        std::wstring expected;
    };
    const std::wstring fortySeven(47, L'a');
    const Case cases[] = {
        {L"Photos: 2024?", "", L"Photos_ 2024_"},
        {L"a\tb/c\\d*e\"f<g>h|i", "", L"a_b_c_d_e_f_g_h_i"},
        {L"Notes...", "", L"Notes"},
        {L"Notes . . ", "", L"Notes"},
        {L"Été 2024", "", L"Été 2024"},
        {L"con.txt", "", L"_con.txt"},
        {L"CON", "", L"_CON"},
        {L"aux  ", "", L"_aux"},
        {L"Lpt9.tar.gz", "", L"_Lpt9.tar.gz"},
        {L"nul", "", L"_nul"},
        {L"lpt10", "", L"lpt10"},
        {L"com0", "", L"com0"},
        {L"console", "", L"console"},
        {L"", "{1A2B3C4D-5E6F-7A8B-9C0D-112233445566}", L"Cadrel-1A2B3C4D"},
        {L" .. ", "{AB-CD}", L"Cadrel-ABCD"},
        {L"", "", L"Cadrel-x"},
        {L"", "{-}", L"Cadrel-x"},
        // Trailing dots and spaces go before the cut and after it: a name
        // ending in either cannot be opened by the path that was kept.
        {std::wstring(60, L'x'), "", std::wstring(48, L'x')},
        {std::wstring(48, L'y') + L"....  ", "", std::wstring(48, L'y')},
        {fortySeven + L" tail of the title", "", fortySeven},
        {fortySeven.substr(1) + L". tail", "", fortySeven.substr(1)},
        // A cut that leaves only dots would name the parent folder itself.
        {std::wstring(50, L'.') + L"b", "{77-88}", L"Cadrel-7788"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ContainerFolderName(c.title, c.id), c.expected) << c.title;
    }
}

class UniqueContainerPathTest : public ContainerTree {};

TEST_F(UniqueContainerPathTest, SkipsExistingAndReservedPathsUpToTheIdFallback)
{
    const std::wstring& root = roots_.root;
    EXPECT_EQ(UniqueContainerPath(root, L"Travail", {}), root + L"\\Travail");
    Folder(root + L"\\Travail");
    ASSERT_TRUE(WriteBytes(root + L"\\Travail (2)", "a file takes the name too"));
    EXPECT_EQ(UniqueContainerPath(root, L"Travail", {}), root + L"\\Travail (3)");
    EXPECT_EQ(UniqueContainerPath(root, L"travail", {root + L"\\TRAVAIL (3)"}), root + L"\\travail (4)");

    std::vector<std::wstring> reserved;
    for (int n = 3; n <= 998; ++n) {
        reserved.push_back(root + L"\\Travail (" + std::to_wstring(n) + L")");
    }
    EXPECT_EQ(UniqueContainerPath(root, L"Travail", reserved), root + L"\\Travail (999)");
    reserved.push_back(root + L"\\Travail (999)");
    const std::wstring fallback = UniqueContainerPath(root, L"Travail", reserved);
    const std::wstring prefix = root + L"\\Travail_{";
    ASSERT_EQ(fallback.size(), prefix.size() + 37) << fallback;
    EXPECT_EQ(fallback.substr(0, prefix.size()), prefix);
    EXPECT_EQ(fallback.back(), L'}');
}

class CreateContainerTest : public ContainerTree {};

TEST_F(CreateContainerTest, NumbersASecondContainerOfTheSameTitleAndMarksBoth)
{
    RemoveTree(base_ + L"\\profile");
    const std::wstring first = CreateContainer(L"Travail", "{C}", roots_);
    const std::wstring second = CreateContainer(L"Travail", "{C}", roots_);
    EXPECT_EQ(first, roots_.root + L"\\Travail") << "the root is created when missing";
    EXPECT_EQ(second, roots_.root + L"\\Travail (2)");
    for (const std::wstring& folder : {first, second}) {
        ASSERT_TRUE(IsContainer(folder, roots_)) << folder;
        EXPECT_NE(GetFileAttributesW((folder + L"\\.cadrel-container").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    }
}

TEST_F(CreateContainerTest, FailsWithAnEmptyPathWhenTheRootCannotBeMade)
{
    RemoveTree(roots_.root);
    ASSERT_TRUE(WriteBytes(roots_.root, "a file where the root should be"));
    EXPECT_EQ(CreateContainer(L"Travail", "{C}", roots_), L"");
    EXPECT_EQ(CreateContainer(L"Travail", "{C}", ContainerRoots{}), L"");
}

}  // namespace
}  // namespace cadrels::testing
