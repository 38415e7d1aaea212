// File moves on real files in the test prefix, each through the engine the
// program would choose here, through our own engine and through the shell's
// alone (where it exists: under Wine 10, not Wine 8). The same expectations
// hold for all three.
#include "fileops/FileMoves.h"
#include "fileops/NativeMoveEngine.h"
#include "fileops/ShellMoveEngine.h"
#include "fileops/UndoManager.h"
#include "model/ContainerFolders.h"

#include "LogCapture.h"
#include "TestFiles.h"
#include "TestMoveEngines.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>

namespace cadrels {
namespace {

using testing::EngineFactory;
using testing::EngineKind;
using testing::EngineKindName;
using testing::EngineUnavailable;
using testing::FileExists;
using testing::FolderExists;
using testing::MakeTempFolder;
using testing::ReadBytes;
using testing::RemoveTree;
using testing::ShellEngineRequired;
using testing::WriteBytes;

class FileMovesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        root_ = MakeTempFolder(L"moves");
        ASSERT_FALSE(root_.empty());
        desk_ = root_ + L"\\desk";
        cadrel_ = root_ + L"\\cadrel";
        ASSERT_TRUE(CreateDirectoryW(desk_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(cadrel_.c_str(), nullptr));
    }
    void TearDown() override
    {
        RemoveTree(root_);
        CoUninitialize();
    }

    std::vector<std::wstring> WriteFiles(const std::wstring& folder, std::initializer_list<const char*> names)
    {
        std::vector<std::wstring> paths;
        for (const char* name : names) {
            const std::wstring path = folder + L"\\" + std::wstring(name, name + std::strlen(name));
            EXPECT_TRUE(WriteBytes(path, name));
            paths.push_back(path);
        }
        return paths;
    }

    // A drop of the desk files into the cadrel, recorded as the program does.
    UndoEntry Drop(const std::vector<std::wstring>& paths)
    {
        MoveReport report = MoveIntoFolder(engines_, paths, cadrel_);
        EXPECT_TRUE(report.succeeded);
        UndoEntry entry;
        entry.description = L"drop";
        entry.moves = std::move(report.moved);
        return entry;
    }

    std::wstring root_;
    std::wstring desk_;
    std::wstring cadrel_;
    MoveEngineFactory engines_ = CreateMoveEngine;
    OperationState operation_;
    UndoManager manager_{operation_, [this](const MoveOptions& options) { return engines_(options); }};
};

class EngineMovesTest : public FileMovesTest, public ::testing::WithParamInterface<EngineKind> {
protected:
    void SetUp() override
    {
        FileMovesTest::SetUp();  // COM first: the shell's engine needs it
        const std::string missing = EngineUnavailable(GetParam());
        if (!missing.empty()) {
            ASSERT_FALSE(ShellEngineRequired()) << missing;
            GTEST_SKIP() << missing;
        }
        engines_ = EngineFactory(GetParam());
        if (GetParam() == EngineKind::Chosen && ShellEngineRequired()) {
            ASSERT_EQ(std::wstring(engines_(MoveOptions{true, false})->Name()), L"IFileOperation")
                << "the program would not pick the shell's engine here";
        }
    }
};

TEST_P(EngineMovesTest, ThreeDroppedFilesAreUndoneAndRedone)
{
    std::printf("Move engine here: %ls\n", engines_(MoveOptions{})->Name());
    const auto paths = WriteFiles(desk_, {"a.txt", "b.txt", "c.txt"});
    UndoEntry entry = Drop(paths);
    ASSERT_EQ(entry.moves.size(), 3u);
    EXPECT_EQ(entry.moves[0], (MovePair{desk_ + L"\\a.txt", cadrel_ + L"\\a.txt"}));
    ASSERT_TRUE(manager_.History().Push(entry));

    ASSERT_TRUE(manager_.Undo());
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        const std::wstring leaf(name, name + std::strlen(name));
        EXPECT_EQ(ReadBytes(desk_ + L"\\" + leaf), name);
        EXPECT_FALSE(FileExists(cadrel_ + L"\\" + leaf));
    }
    EXPECT_FALSE(manager_.Undo()) << "nothing left to undo";

    ASSERT_TRUE(manager_.Redo());
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\b.txt"), "b.txt");
    EXPECT_FALSE(FileExists(desk_ + L"\\b.txt"));
    EXPECT_EQ(manager_.History().NextUndo()->moves, entry.moves);
    EXPECT_FALSE(operation_.Running());
}

TEST_P(EngineMovesTest, UndoLeavesAFileThatAppearedAtTheOldPlaceAndTheEntrySaysSo)
{
    manager_.History().Push(Drop(WriteFiles(desk_, {"a.txt", "b.txt", "c.txt"})));
    ASSERT_TRUE(WriteBytes(desk_ + L"\\a.txt", "new"));

    ASSERT_TRUE(manager_.Undo());
    EXPECT_EQ(ReadBytes(desk_ + L"\\a.txt"), "new");
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\a.txt"), "a.txt") << "the moved file stays in the cadrel";
    EXPECT_EQ(ReadBytes(desk_ + L"\\b.txt"), "b.txt");
    EXPECT_EQ(ReadBytes(desk_ + L"\\c.txt"), "c.txt");
    ASSERT_EQ(manager_.History().NextRedo()->moves.size(), 2u) << "only what moved back can move forward again";

    // Redo must not carry the new desk file off as if it were the old one.
    ASSERT_TRUE(manager_.Redo());
    EXPECT_EQ(ReadBytes(desk_ + L"\\a.txt"), "new");
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\a.txt"), "a.txt");
    EXPECT_FALSE(FileExists(cadrel_ + L"\\a (2).txt"));
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\b.txt"), "b.txt");
}

// The user moved the file away and another of the same size took its name:
// undo and redo leave that one alone, and say which pairs they skipped.
TEST_P(EngineMovesTest, UndoAndRedoMoveOnlyTheFileThatMovedNotOneThatTookItsName)
{
    ASSERT_TRUE(manager_.Push(Drop(WriteFiles(desk_, {"a.txt", "b.txt"}))));
    ASSERT_TRUE(MoveFileW((cadrel_ + L"\\a.txt").c_str(), (root_ + L"\\away.txt").c_str()));
    ASSERT_TRUE(WriteBytes(cadrel_ + L"\\a.txt", "other"));

    ASSERT_TRUE(manager_.Undo());
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\a.txt"), "other");
    EXPECT_FALSE(FileExists(desk_ + L"\\a.txt"));
    EXPECT_EQ(ReadBytes(desk_ + L"\\b.txt"), "b.txt");
    EXPECT_EQ(manager_.Skipped(), (std::vector<MovePair>{{desk_ + L"\\a.txt", cadrel_ + L"\\a.txt"}}));
    ASSERT_NE(manager_.History().NextRedo(), nullptr);
    EXPECT_EQ(manager_.History().NextRedo()->moves,
              (std::vector<MovePair>{{desk_ + L"\\b.txt", cadrel_ + L"\\b.txt"}}));

    ASSERT_TRUE(MoveFileW((desk_ + L"\\b.txt").c_str(), (root_ + L"\\b-away.txt").c_str()));
    ASSERT_TRUE(WriteBytes(desk_ + L"\\b.txt", "B.TXT"));
    ASSERT_TRUE(manager_.Redo());
    EXPECT_EQ(ReadBytes(desk_ + L"\\b.txt"), "B.TXT");
    EXPECT_FALSE(FileExists(cadrel_ + L"\\b.txt"));
    EXPECT_EQ(manager_.Skipped(), (std::vector<MovePair>{{desk_ + L"\\b.txt", cadrel_ + L"\\b.txt"}}));

    // The file that really moved still goes back and forth.
    ASSERT_TRUE(manager_.Push(Drop({desk_ + L"\\b.txt"})));
    ASSERT_TRUE(manager_.Undo());
    EXPECT_TRUE(manager_.Skipped().empty());
    EXPECT_EQ(ReadBytes(desk_ + L"\\b.txt"), "B.TXT");
    ASSERT_TRUE(manager_.Redo());
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\b.txt"), "B.TXT");
}

TEST_P(EngineMovesTest, RedoRenamesOnCollisionAndTheNextUndoFindsTheRenamedFile)
{
    manager_.History().Push(Drop(WriteFiles(desk_, {"a.txt", "b.txt"})));
    ASSERT_TRUE(manager_.Undo());
    ASSERT_TRUE(WriteBytes(cadrel_ + L"\\a.txt", "other"));

    ASSERT_TRUE(manager_.Redo());
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\a.txt"), "other");
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\a (2).txt"), "a.txt");
    EXPECT_EQ(manager_.History().NextUndo()->moves[0], (MovePair{desk_ + L"\\a.txt", cadrel_ + L"\\a (2).txt"}));

    ASSERT_TRUE(manager_.Undo());
    EXPECT_EQ(ReadBytes(desk_ + L"\\a.txt"), "a.txt");
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\a.txt"), "other") << "the file that was there first is never touched";
    EXPECT_FALSE(FileExists(cadrel_ + L"\\a (2).txt"));
}

TEST_P(EngineMovesTest, AnEmptyBatchChangesNothingAndAnEntryThatCannotMoveIsDropped)
{
    EXPECT_TRUE(ExecuteMoves(engines_, {}, true).succeeded);
    const MoveReport none = ExecuteMoves(engines_, {{desk_ + L"\\missing", cadrel_ + L"\\missing"}}, true);
    EXPECT_FALSE(none.succeeded) << "nothing could be queued";
    EXPECT_TRUE(none.moved.empty());

    manager_.History().Push(Drop(WriteFiles(desk_, {"a.txt"})));
    ASSERT_TRUE(DeleteFileW((cadrel_ + L"\\a.txt").c_str())) << "deleted behind the program's back";
    ASSERT_TRUE(manager_.Undo());
    EXPECT_EQ(manager_.History().NextRedo(), nullptr) << "an entry that moved nothing goes nowhere";
    EXPECT_EQ(manager_.History().NextUndo(), nullptr);
}

TEST_P(EngineMovesTest, ABatchThatFailsPartWayReportsTheMovesThatHappened)
{
    const auto paths = WriteFiles(desk_, {"a.txt", "b.txt", "c.txt"});
    auto engine = engines_(MoveOptions{true, false});
    for (const std::wstring& path : paths) {
        ASSERT_TRUE(engine->Queue(path, cadrel_, {}));
    }
    ASSERT_TRUE(DeleteFileW(paths[1].c_str()));
    EXPECT_FALSE(SUCCEEDED(engine->Perform()));
    const std::vector<MovePair> expected = {{paths[0], cadrel_ + L"\\a.txt"}, {paths[2], cadrel_ + L"\\c.txt"}};
    EXPECT_EQ(engine->Moved(), expected);
}

TEST_P(EngineMovesTest, WithoutRenamingATakenNameFailsAndReplacesNothing)
{
    const auto paths = WriteFiles(desk_, {"a.txt"});
    ASSERT_TRUE(WriteBytes(cadrel_ + L"\\a.txt", "taken"));
    auto engine = engines_(MoveOptions{false, false});
    ASSERT_TRUE(engine->Queue(paths[0], cadrel_, {}));
    EXPECT_EQ(engine->Perform(), HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
    EXPECT_TRUE(engine->Moved().empty());
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\a.txt"), "taken");
    EXPECT_EQ(ReadBytes(paths[0]), "a.txt");

    // Undo of a pair whose old place is taken skips that pair.
    const MoveReport report = ExecuteMoves(engines_, {{cadrel_ + L"\\a.txt", paths[0]}}, false);
    EXPECT_FALSE(report.succeeded);
    EXPECT_EQ(ReadBytes(paths[0]), "a.txt");
}

TEST_P(EngineMovesTest, AMoveOntoItsOwnPlaceIsNoMoveAndALetterCaseRenameIsOne)
{
    const auto paths = WriteFiles(desk_, {"a.txt"});
    auto renaming = engines_(MoveOptions{true, false});
    ASSERT_TRUE(renaming->Queue(paths[0], desk_, {}));
    EXPECT_EQ(renaming->Perform(), S_OK);
    EXPECT_TRUE(renaming->Moved().empty()) << "the file is already where it should go";
    EXPECT_EQ(ReadBytes(paths[0]), "a.txt");
    EXPECT_FALSE(FileExists(desk_ + L"\\a (2).txt"));

    auto strict = engines_(MoveOptions{false, false});
    ASSERT_TRUE(strict->Queue(paths[0], desk_, L"A.txt"));
    EXPECT_EQ(strict->Perform(), S_OK);
    EXPECT_EQ(strict->Moved(), (std::vector<MovePair>{{paths[0], desk_ + L"\\A.txt"}}));
    EXPECT_EQ(ReadBytes(desk_ + L"\\A.txt"), "a.txt");

    // Beyond ASCII the file system ignores case all the same.
    ASSERT_TRUE(WriteBytes(desk_ + L"\\été.txt", "summer"));
    auto accented = engines_(MoveOptions{false, false});
    ASSERT_TRUE(accented->Queue(desk_ + L"\\été.txt", desk_, L"Été.txt"));
    EXPECT_EQ(accented->Perform(), S_OK);
    EXPECT_EQ(accented->Moved(), (std::vector<MovePair>{{desk_ + L"\\été.txt", desk_ + L"\\Été.txt"}}));
    EXPECT_EQ(ReadBytes(desk_ + L"\\Été.txt"), "summer");
    EXPECT_FALSE(FileExists(desk_ + L"\\Été (2).txt"));
}

TEST_P(EngineMovesTest, FoldersMoveWholeAndTakeANumberOnCollision)
{
    const std::wstring photos = desk_ + L"\\photos";
    ASSERT_TRUE(CreateDirectoryW(photos.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((photos + L"\\2024").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(photos + L"\\2024\\p.jpg", "jpeg"));
    ASSERT_TRUE(CreateDirectoryW((cadrel_ + L"\\photos").c_str(), nullptr));

    const MoveReport report = MoveIntoFolder(engines_, {photos}, cadrel_);
    ASSERT_TRUE(report.succeeded);
    ASSERT_EQ(report.moved.size(), 1u);
    EXPECT_EQ(report.moved[0].to, cadrel_ + L"\\photos (2)");
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\photos (2)\\2024\\p.jpg"), "jpeg");
    EXPECT_FALSE(FolderExists(photos));

    auto engine = engines_(MoveOptions{true, false});
    ASSERT_TRUE(engine->Queue(cadrel_ + L"\\photos (2)", cadrel_ + L"\\photos (2)\\2024", {}));
    EXPECT_FALSE(SUCCEEDED(engine->Perform())) << "a folder cannot go inside itself";
    EXPECT_TRUE(FolderExists(cadrel_ + L"\\photos (2)\\2024"));
}

TEST_F(FileMovesTest, AFolderCopiedAcrossVolumesIsWholeBeforeTheSourceGoes)
{
    const std::wstring source = desk_ + L"\\tree";
    ASSERT_TRUE(CreateDirectoryW(source.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((source + L"\\sub").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(source + L"\\sub\\deep.txt", "deep"));
    ASSERT_TRUE(WriteBytes(source + L"\\top.txt", "top"));

    ASSERT_TRUE(CreateDirectoryW((cadrel_ + L"\\taken").c_str(), nullptr));
    EXPECT_FALSE(SUCCEEDED(MoveFolderByCopy(source, cadrel_ + L"\\taken")));
    EXPECT_EQ(ReadBytes(source + L"\\top.txt"), "top") << "nothing is merged into an existing folder";
    EXPECT_FALSE(SUCCEEDED(MoveFolderByCopy(source, source + L"\\sub\\inside")));

    ASSERT_EQ(MoveFolderByCopy(source, cadrel_ + L"\\tree"), S_OK);
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\tree\\sub\\deep.txt"), "deep");
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\tree\\top.txt"), "top");
    EXPECT_FALSE(FolderExists(source));
}

TEST_P(EngineMovesTest, CopiesLeaveTheSourcesAndNeverReplaceAnything)
{
    const auto paths = WriteFiles(desk_, {"a.txt", "b.txt"});
    const std::wstring tree = desk_ + L"\\tree";
    ASSERT_TRUE(CreateDirectoryW(tree.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(tree + L"\\inner.txt", "inner"));
    ASSERT_TRUE(WriteBytes(cadrel_ + L"\\b.txt", "taken"));

    auto copying = engines_(MoveOptions{false, true, true});
    if (GetParam() == EngineKind::Shell) {
        auto* shell = static_cast<ShellMoveEngine*>(copying.get());
        if (!shell->Queue(paths[0], cadrel_, {}) && shell->QueueFailure() == E_NOTIMPL) {
            GTEST_SKIP() << "this shell's IFileOperation::CopyItem answers E_NOTIMPL; the program copies with "
                            "its own engine here (the Chosen case)";
        }
    } else {
        ASSERT_TRUE(copying->Queue(paths[0], cadrel_, {}));
    }
    ASSERT_TRUE(copying->Queue(paths[1], cadrel_, {}));
    ASSERT_TRUE(copying->Queue(tree, cadrel_, {}));
    EXPECT_FALSE(SUCCEEDED(copying->Perform())) << "b.txt is taken and is not replaced";
    const std::vector<MovePair> copied = {{paths[0], cadrel_ + L"\\a.txt"}, {tree, cadrel_ + L"\\tree"}};
    EXPECT_EQ(copying->Moved(), copied);
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\a.txt"), "a.txt");
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\b.txt"), "taken");
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\tree\\inner.txt"), "inner");
    EXPECT_EQ(ReadBytes(paths[0]), "a.txt") << "the sources stay";
    EXPECT_EQ(ReadBytes(tree + L"\\inner.txt"), "inner");

    // A copy into its own folder takes a new name when asked to, and never
    // "copies" a file onto itself.
    auto renaming = engines_(MoveOptions{true, false, true});
    ASSERT_TRUE(renaming->Queue(paths[0], desk_, {}));
    EXPECT_EQ(renaming->Perform(), S_OK);
    ASSERT_EQ(renaming->Moved().size(), 1u);
    EXPECT_EQ(renaming->Moved()[0].to, desk_ + L"\\a (2).txt");
    auto strict = engines_(MoveOptions{false, false, true});
    ASSERT_TRUE(strict->Queue(paths[0], desk_, {}));
    EXPECT_EQ(strict->Perform(), HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
    EXPECT_EQ(ReadBytes(paths[0]), "a.txt");
    auto inside = engines_(MoveOptions{true, false, true});
    ASSERT_TRUE(inside->Queue(tree, tree, {}));
    EXPECT_FALSE(SUCCEEDED(inside->Perform())) << "a folder is not copied into itself";
    EXPECT_FALSE(FolderExists(tree + L"\\tree"));
}

TEST_P(EngineMovesTest, FolderContentsMoveExceptTheContainerMarker)
{
    WriteFiles(cadrel_, {"a.txt", "b.txt"});
    ASSERT_TRUE(WriteBytes(cadrel_ + L"\\" + ContainerMarkerName, ""));
    ASSERT_TRUE(WriteBytes(desk_ + L"\\a.txt", "desk"));

    const MoveReport report = MoveFolderContents(engines_, cadrel_, desk_);
    EXPECT_TRUE(report.succeeded);
    EXPECT_EQ(report.moved.size(), 2u);
    EXPECT_EQ(ReadBytes(desk_ + L"\\a.txt"), "desk");
    EXPECT_EQ(ReadBytes(desk_ + L"\\a (2).txt"), "a.txt");
    EXPECT_EQ(ReadBytes(desk_ + L"\\b.txt"), "b.txt");
    EXPECT_TRUE(FileExists(cadrel_ + L"\\" + ContainerMarkerName));
    EXPECT_TRUE(MoveFolderContents(engines_, cadrel_, root_ + L"\\absent").succeeded)
        << "only the marker is left: nothing to move";
    WriteFiles(cadrel_, {"c.txt"});
    EXPECT_FALSE(MoveFolderContents(engines_, cadrel_, root_ + L"\\absent").succeeded);
    EXPECT_TRUE(FileExists(cadrel_ + L"\\c.txt"));
}

// Deep project trees and synced folders go past 260 characters; a file there
// is dropped, undone and redone like any other.
TEST_P(EngineMovesTest, PathsLongerThan260CharactersMoveUndoAndRedo)
{
    std::wstring deep = desk_;
    std::wstring deepCadrel = cadrel_;
    for (int level = 0; level < 5; ++level) {
        const std::wstring part = L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + level));
        deep += part;
        deepCadrel += part;
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr)) << GetLastError();
        ASSERT_TRUE(CreateDirectoryW(deepCadrel.c_str(), nullptr)) << GetLastError();
    }
    const std::wstring file = deep + L"\\long.txt";
    ASSERT_GT(file.size(), 300u);
    ASSERT_TRUE(WriteBytes(file, "long"));

    if (GetParam() == EngineKind::Shell) {
        // The shell stops at MAX_PATH; it refuses up front rather than fail
        // part-way, and the program's choice (the Chosen case) takes over.
        auto shell = engines_(MoveOptions{true, false});
        EXPECT_FALSE(shell->Queue(file, deepCadrel, {}));
        EXPECT_EQ(static_cast<ShellMoveEngine*>(shell.get())->QueueFailure(),
                  HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
        EXPECT_EQ(ReadBytes(file), "long");
        return;
    }
    // A short move queued first rides in the same batch.
    const auto shortOne = WriteFiles(desk_, {"short.txt"});
    const std::vector<MovePair> batch = {{shortOne[0], cadrel_ + L"\\short.txt"},
                                         {file, deepCadrel + L"\\long.txt"}};
    const MoveReport report = ExecuteMoves(engines_, batch, true);
    ASSERT_TRUE(report.succeeded);
    ASSERT_EQ(report.moved, batch);
    EXPECT_EQ(ReadBytes(deepCadrel + L"\\long.txt"), "long");
    EXPECT_EQ(ReadBytes(cadrel_ + L"\\short.txt"), "short.txt");
    UndoEntry entry;
    entry.description = L"drop";
    entry.moves = report.moved;
    ASSERT_TRUE(manager_.Push(std::move(entry)));

    ASSERT_TRUE(manager_.Undo());
    EXPECT_EQ(ReadBytes(file), "long");
    EXPECT_FALSE(FileExists(deepCadrel + L"\\long.txt"));
    EXPECT_EQ(ReadBytes(shortOne[0]), "short.txt");
    ASSERT_TRUE(manager_.Redo());
    EXPECT_EQ(ReadBytes(deepCadrel + L"\\long.txt"), "long");
    EXPECT_FALSE(FileExists(file));
    EXPECT_TRUE(manager_.Skipped().empty());
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineMovesTest,
                         ::testing::Values(EngineKind::Chosen, EngineKind::Own, EngineKind::Shell),
                         [](const ::testing::TestParamInfo<EngineKind>& info) { return EngineKindName(info.param); });

}  // namespace
}  // namespace cadrels
