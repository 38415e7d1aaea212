// The layout file as the running program uses it: loaded with recovery at
// start, written at start and at exit.
#include "CadrelsProcess.h"
#include "TestFiles.h"

#include "model/FolderTree.h"
#include "model/LayoutFile.h"

#include <knownfolders.h>

#include <gtest/gtest.h>

namespace cadrels::testing {
namespace {

class LayoutStartup : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = AppDataFolder();
        containerRoot_ = ContainerRootFolder();
        ASSERT_TRUE(RemoveTree(folder_));
        ASSERT_TRUE(RemoveTree(containerRoot_));
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        layout_ = folder_ + L"\\layout.json";
    }
    void TearDown() override
    {
        if (process_.Running()) {
            process_.Quit();
        }
        RemoveTree(folder_);
        RemoveTree(containerRoot_);
    }

    void RunOnce()
    {
        ASSERT_TRUE(process_.Start());
        ASSERT_TRUE(process_.WaitUntilReady());
        ASSERT_EQ(process_.Quit(), std::optional<DWORD>(0));
    }

    Settings LoadMain() const
    {
        Settings settings;
        bool pagesFound = false;
        EXPECT_TRUE(LoadSettingsFile(layout_, settings, pagesFound));
        return settings;
    }

    std::wstring folder_;
    std::wstring containerRoot_;  // a start on an empty page makes a container there
    std::wstring layout_;
    CadrelsProcess process_;
};

TEST_F(LayoutStartup, AFirstStartWritesTheLayoutFile)
{
    RemoveTree(folder_);
    RunOnce();
    ASSERT_TRUE(FileExists(layout_));
    const Settings settings = LoadMain();
    ASSERT_EQ(settings.workspaces.size(), 1u);
    EXPECT_EQ(settings.workspaces[0].id.size(), 38u);
    EXPECT_TRUE(FileExists(layout_ + L".bak")) << "saved at start and again at exit";
    EXPECT_FALSE(FileExists(layout_ + L".tmp"));
}

TEST_F(LayoutStartup, ADamagedFileIsRestoredFromBakAndKeptAside)
{
    const std::string good = R"({"grid":24,"language":1,"workspaces":[{"id":"{P}","name":"Mine"}]})";
    ASSERT_TRUE(WriteBytes(layout_ + L".bak", good));
    ASSERT_TRUE(WriteBytes(layout_, R"({"grid":24,"workspaces":[{"id":"{P}"},],})"));
    RunOnce();
    EXPECT_EQ(process_.CountLines(L"Disposition principale illisible/vide : restauration depuis .bak"), 1u);
    EXPECT_EQ(process_.CountLines(L"Disposition illisible mise de cote"), 1u);
    const Settings settings = LoadMain();
    EXPECT_EQ(settings.grid, 24);
    EXPECT_EQ(settings.language, 1);
    EXPECT_EQ(settings.workspaces.at(0).name, L"Mine");

    const std::vector<std::wstring> copies = FileNamesMatching(layout_ + L".unreadable-*");
    ASSERT_FALSE(copies.empty()) << "the hand-edited file survives two saves";
    EXPECT_EQ(ReadBytes(folder_ + L"\\" + copies.front()), R"({"grid":24,"workspaces":[{"id":"{P}"},],})");
}

TEST_F(LayoutStartup, AnUnusableFileWithoutBakStartsAfreshButIsNotLost)
{
    ASSERT_TRUE(WriteBytes(layout_, "null"));
    RunOnce();
    EXPECT_EQ(process_.CountLines(L"restauration depuis .bak"), 0u);
    EXPECT_EQ(process_.CountLines(L"Disposition illisible mise de cote"), 1u);
    EXPECT_EQ(LoadMain().workspaces.size(), 1u);
}

}  // namespace
}  // namespace cadrels::testing
