#include "fileops/CollisionName.h"
#include "fileops/OperationState.h"
#include "fileops/UndoHistory.h"
#include "fileops/WatchPlan.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

UndoEntry Entry(const std::wstring& name, int kind = UndoKindMoves)
{
    UndoEntry entry;
    entry.kind = kind;
    entry.undoable = kind == UndoKindMoves;
    entry.description = name;
    entry.moves.push_back(MovePair{L"C:\\a\\" + name, L"C:\\b\\" + name});
    return entry;
}

TEST(UndoHistory, ANewActionClearsRedoAndTheFiftyNewestStayUndoable)
{
    UndoHistory history;
    for (int i = 0; i < 51; ++i) {
        EXPECT_TRUE(history.Push(Entry(std::to_wstring(i))));
    }
    ASSERT_EQ(history.UndoStack().size(), 50u);
    EXPECT_EQ(history.UndoStack().front().description, L"1") << "the oldest fell off";
    EXPECT_EQ(history.NextUndo()->description, L"50");

    ASSERT_TRUE(history.TakeForUndo());
    history.FinishUndo(Entry(L"50"));
    ASSERT_NE(history.NextRedo(), nullptr);
    history.Push(Entry(L"new"));
    EXPECT_EQ(history.NextRedo(), nullptr) << "a new action forgets what could be redone";
}

TEST(UndoHistory, AnEntryWithoutMovesChangesNothing)
{
    UndoHistory history;
    history.Push(Entry(L"kept"));
    ASSERT_TRUE(history.TakeForUndo());
    history.FinishUndo(Entry(L"kept"));
    UndoEntry empty;
    empty.description = L"nothing moved";
    EXPECT_FALSE(history.Push(empty));
    EXPECT_TRUE(history.UndoStack().empty());
    EXPECT_EQ(history.RedoStack().size(), 1u) << "a drop that moved nothing keeps the redo stack";

    // An undo or redo that could move nothing leaves no entry behind.
    history.FinishUndo(empty);
    history.FinishRedo(empty);
    EXPECT_EQ(history.RedoStack().size(), 1u);
    EXPECT_TRUE(history.UndoStack().empty());
}

TEST(UndoHistory, ARecycleEntryOnTopBlocksUndoButNotRedo)
{
    UndoHistory history;
    history.Push(Entry(L"older"));
    history.Push(Entry(L"newer"));
    history.FinishUndo(*history.TakeForUndo());
    history.FinishUndo(*history.TakeForUndo());
    // A redo's return to the undo stack keeps the redo stack.
    history.FinishRedo(*history.TakeForRedo());
    EXPECT_EQ(history.RedoStack().size(), 1u);
    EXPECT_EQ(history.NextRedo()->description, L"newer");

    history.Push(Entry(L"recycled", UndoKindRecycled));
    EXPECT_EQ(history.NextUndo(), nullptr);
    EXPECT_FALSE(history.TakeForUndo());
    EXPECT_EQ(history.UndoStack().size(), 2u) << "the entries below stay, unreachable";

    UndoEntry recycledRedo = Entry(L"recycled", UndoKindRecycled);
    history.FinishUndo(recycledRedo);
    EXPECT_TRUE(history.TakeForRedo()) << "redo does not consult the undoable flag";
}

TEST(UndoHistory, RedoPutsEntriesBackWithoutTheTrim)
{
    UndoHistory history;
    for (int i = 0; i < 50; ++i) {
        history.Push(Entry(std::to_wstring(i)));
    }
    ASSERT_TRUE(history.TakeForUndo());
    history.FinishUndo(Entry(L"49"));
    history.Push(Entry(L"x"));  // redo cleared, 50 again
    ASSERT_TRUE(history.TakeForUndo());
    history.FinishUndo(Entry(L"x"));
    ASSERT_TRUE(history.TakeForRedo());
    history.FinishRedo(Entry(L"x"));
    EXPECT_EQ(history.UndoStack().size(), 50u);
    EXPECT_EQ(history.UndoStack().front().description, L"0");
}

TEST(CollisionName, NumbersGoBeforeAFileExtensionAndAfterAFolderName)
{
    struct Case {
        const wchar_t* name;
        int number;
        bool folder;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"report.txt", 2, false, L"report (2).txt"},
        {L"archive.tar.gz", 3, false, L"archive.tar (3).gz"},
        {L"README", 2, false, L"README (2)"},
        {L".profile", 2, false, L".profile (2)"},
        {L"photos.2024", 2, true, L"photos.2024 (2)"},
        {L"a (2).txt", 2, false, L"a (2) (2).txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CollisionName(c.name, c.number, c.folder), c.expected) << c.name;
    }
}

TEST(WatchPlan, RetryDelaysDoubleUpToThirtySeconds)
{
    std::vector<std::uint32_t> delays;
    for (std::uint32_t delay = FirstRetryDelayMs; delays.size() < 9; delay = NextRetryDelay(delay)) {
        delays.push_back(delay);
    }
    EXPECT_EQ(delays, (std::vector<std::uint32_t>{500, 1000, 2000, 4000, 8000, 16000, 30000, 30000, 30000}));
}

TEST(WatchPlan, DesktopFirstThenAcceptedExtrasUpToSixtyThree)
{
    std::vector<std::wstring> extras = {L"", L"C:\\junction", L"C:\\one"};
    for (int i = 0; i < 70; ++i) {
        extras.push_back(L"C:\\w" + std::to_wstring(i));
    }
    const auto accept = [](const std::wstring& path) { return path != L"C:\\junction"; };
    const std::vector<std::wstring> list = WatchedFolderList(L"C:\\Desktop", extras, accept);
    ASSERT_EQ(list.size(), 63u);
    EXPECT_EQ(list[0], L"C:\\Desktop");
    EXPECT_EQ(list[1], L"C:\\one");
    EXPECT_EQ(list.back(), L"C:\\w60") << "the Desktop and the first 62 valid extra folders";

    const std::vector<std::wstring> withoutDesktop = WatchedFolderList(L"", {L"C:\\one"}, accept);
    EXPECT_EQ(withoutDesktop, (std::vector<std::wstring>{L"C:\\one"}));
}

TEST(OperationState, NestedScopesKeepItRunningUntilTheLastEnds)
{
    OperationState state;
    EXPECT_FALSE(state.Running());
    {
        const OperationState::Scope outer = state.Begin();
        {
            OperationState::Scope inner = state.Begin();
            const OperationState::Scope moved = std::move(inner);
            EXPECT_TRUE(state.Running());
        }
        EXPECT_TRUE(state.Running());
    }
    EXPECT_FALSE(state.Running());
}

}  // namespace
}  // namespace cadrels
