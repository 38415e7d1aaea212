// Our own engine with another program standing in at its seams: a name
// taken between the look and the move, a target that vanishes at once, and
// a folder that changes while it is copied to another volume.
#include "fileops/NativeMoveEngine.h"

#include "TestFiles.h"
#include "TestMoveEngines.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

using testing::FileExists;
using testing::FolderExists;
using testing::MakeTempFolder;
using testing::ReadBytes;
using testing::RemoveTree;
using testing::WriteBytes;

class NativeMoveEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = MakeTempFolder(L"native-engine");
        ASSERT_FALSE(root_.empty());
        from_ = root_ + L"\\from";
        to_ = root_ + L"\\to";
        ASSERT_TRUE(CreateDirectoryW(from_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(to_.c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(root_); }

    std::wstring root_;
    std::wstring from_;
    std::wstring to_;
};

TEST_F(NativeMoveEngineTest, ANameTakenBetweenTheLookAndTheCallIsNeverReplaced)
{
    const NativeMoveSeams takeTheName{[](const std::wstring& target) { WriteBytes(target, "arrived meanwhile"); },
                                      {}};
    for (const bool copy : {false, true}) {
        SCOPED_TRACE(copy ? "copy" : "move");
        ASSERT_TRUE(WriteBytes(from_ + L"\\a.txt", "a"));
        NativeMoveEngine strict(MoveOptions{false, false, copy}, takeTheName);
        ASSERT_TRUE(strict.Queue(from_ + L"\\a.txt", to_, {}));
        EXPECT_EQ(strict.Perform(), HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
        EXPECT_TRUE(strict.Moved().empty());
        EXPECT_EQ(ReadBytes(to_ + L"\\a.txt"), "arrived meanwhile");
        EXPECT_EQ(ReadBytes(from_ + L"\\a.txt"), "a");

        // With renaming the item takes the next name instead; the seam takes
        // each name it is about to get, so it lands on the third.
        ASSERT_TRUE(DeleteFileW((to_ + L"\\a.txt").c_str()));
        int taken = 0;
        NativeMoveEngine renaming(MoveOptions{true, false, copy},
                                  NativeMoveSeams{[&taken](const std::wstring& target) {
                                                      if (++taken <= 2) {
                                                          WriteBytes(target, "arrived meanwhile");
                                                      }
                                                  },
                                                  {}});
        ASSERT_TRUE(renaming.Queue(from_ + L"\\a.txt", to_, {}));
        EXPECT_EQ(renaming.Perform(), S_OK);
        EXPECT_EQ(renaming.Moved(), (std::vector<MovePair>{{from_ + L"\\a.txt", to_ + L"\\a (3).txt"}}));
        EXPECT_EQ(ReadBytes(to_ + L"\\a.txt"), "arrived meanwhile");
        EXPECT_EQ(ReadBytes(to_ + L"\\a (2).txt"), "arrived meanwhile");
        EXPECT_EQ(ReadBytes(to_ + L"\\a (3).txt"), "a");
        EXPECT_EQ(FileExists(from_ + L"\\a.txt"), copy);
        RemoveTree(to_);
        ASSERT_TRUE(CreateDirectoryW(to_.c_str(), nullptr));
    }
}

TEST_F(NativeMoveEngineTest, AMoveWhoseTargetIsGoneAtOnceIsNotReported)
{
    const std::wstring elsewhere = root_ + L"\\elsewhere.txt";
    ASSERT_TRUE(WriteBytes(from_ + L"\\a.txt", "a"));
    ASSERT_TRUE(WriteBytes(from_ + L"\\b.txt", "b"));
    NativeMoveEngine engine(MoveOptions{true, false}, NativeMoveSeams{{}, [&](const std::wstring& target) {
                                                                          if (target == to_ + L"\\a.txt") {
                                                                              MoveFileW(target.c_str(),
                                                                                        elsewhere.c_str());
                                                                          }
                                                                      }});
    ASSERT_TRUE(engine.Queue(from_ + L"\\a.txt", to_, {}));
    ASSERT_TRUE(engine.Queue(from_ + L"\\b.txt", to_, {}));
    EXPECT_EQ(engine.Perform(), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(engine.Moved(), (std::vector<MovePair>{{from_ + L"\\b.txt", to_ + L"\\b.txt"}}))
        << "only a move whose target is on disk is reported";
    EXPECT_EQ(ReadBytes(elsewhere), "a");
}

class FolderByCopyTest : public NativeMoveEngineTest {
protected:
    void SetUp() override
    {
        NativeMoveEngineTest::SetUp();
        tree_ = from_ + L"\\tree";
        ASSERT_TRUE(CreateDirectoryW(tree_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((tree_ + L"\\sub").c_str(), nullptr));
        ASSERT_TRUE(WriteBytes(tree_ + L"\\sub\\deep.txt", "deep"));
        ASSERT_TRUE(WriteBytes(tree_ + L"\\sub\\deeper.txt", "deeper"));
        ASSERT_TRUE(WriteBytes(tree_ + L"\\top.txt", "top"));
    }

    std::wstring tree_;
};

TEST_F(FolderByCopyTest, AListingCutShortFailsAndTheSourceStaysWhole)
{
    // The listing of the subfolder breaks after its first entry, as a
    // network share that drops does.
    int steps = 0;
    const FolderCopySeams seams{[&](const std::wstring& folder) -> DWORD {
                                    return folder == tree_ + L"\\sub" && ++steps >= 3 ? ERROR_NETNAME_DELETED
                                                                                      : ERROR_SUCCESS;
                                },
                                {}};
    EXPECT_EQ(MoveFolderByCopy(tree_, to_ + L"\\tree", seams), HRESULT_FROM_WIN32(ERROR_NETNAME_DELETED));
    EXPECT_FALSE(FolderExists(to_ + L"\\tree")) << "a short copy is removed again";
    EXPECT_EQ(ReadBytes(tree_ + L"\\sub\\deep.txt"), "deep");
    EXPECT_EQ(ReadBytes(tree_ + L"\\sub\\deeper.txt"), "deeper");
    EXPECT_EQ(ReadBytes(tree_ + L"\\top.txt"), "top");

    steps = 0;
    EXPECT_EQ(CopyFolder(tree_, to_ + L"\\copy", seams), HRESULT_FROM_WIN32(ERROR_NETNAME_DELETED));
    EXPECT_FALSE(FolderExists(to_ + L"\\copy"));
}

TEST_F(FolderByCopyTest, OnlyWhatWasCopiedAndIsUnchangedLeavesTheSource)
{
    const FolderCopySeams seams{{}, [&] {
                                    // Saved into the folder and changed in it while the copy ran.
                                    WriteBytes(tree_ + L"\\sub\\late.txt", "late");
                                    WriteBytes(tree_ + L"\\top.txt", "top, edited");
                                }};
    EXPECT_EQ(MoveFolderByCopy(tree_, to_ + L"\\tree", seams), HRESULT_FROM_WIN32(ERROR_DIR_NOT_EMPTY));
    EXPECT_EQ(ReadBytes(to_ + L"\\tree\\sub\\deep.txt"), "deep");
    EXPECT_EQ(ReadBytes(to_ + L"\\tree\\sub\\deeper.txt"), "deeper");
    EXPECT_EQ(ReadBytes(to_ + L"\\tree\\top.txt"), "top");
    EXPECT_FALSE(FileExists(tree_ + L"\\sub\\deep.txt")) << "copied and unchanged: moved";
    EXPECT_EQ(ReadBytes(tree_ + L"\\sub\\late.txt"), "late") << "never copied: never deleted";
    EXPECT_EQ(ReadBytes(tree_ + L"\\top.txt"), "top, edited") << "changed since its copy: kept";

    // What stayed goes with the next move.
    ASSERT_TRUE(RemoveTree(to_ + L"\\tree"));
    EXPECT_EQ(MoveFolderByCopy(tree_, to_ + L"\\tree"), S_OK);
    EXPECT_EQ(ReadBytes(to_ + L"\\tree\\sub\\late.txt"), "late");
    EXPECT_FALSE(FolderExists(tree_));
}

}  // namespace
}  // namespace cadrels
