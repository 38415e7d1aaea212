// The shell's file operation pumps messages while it works; an undo or redo
// arriving then must not run under the batch.
#include "fileops/FileMoves.h"
#include "fileops/NativeMoveEngine.h"
#include "fileops/UndoManager.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace cadrels {
namespace {

using testing::FileExists;
using testing::MakeTempFolder;
using testing::ReadBytes;
using testing::RemoveTree;
using testing::WriteBytes;

constexpr UINT UndoRequest = WM_APP + 23;
constexpr UINT RedoRequest = WM_APP + 24;

struct Receiver {
    UndoManager* manager = nullptr;
    std::vector<bool> answers;  // what each request that ran returned
};
Receiver* receiver = nullptr;

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (receiver != nullptr && (message == UndoRequest || message == RedoRequest)) {
        receiver->answers.push_back(message == UndoRequest ? receiver->manager->Undo().has_value()
                                                            : receiver->manager->Redo());
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Does what the shell does in the middle of a batch: lets every posted
// message run, here an undo and a redo request that arrive meanwhile.
class PumpingEngine final : public MoveEngine {
public:
    PumpingEngine(const MoveOptions& options, HWND window) : inner_(options), window_(window) {}
    bool Queue(const std::wstring& source, const std::wstring& folder, const std::wstring& name) override
    {
        return inner_.Queue(source, folder, name);
    }
    HRESULT Perform() override
    {
        PostMessageW(window_, UndoRequest, 0, 0);
        PostMessageW(window_, RedoRequest, 0, 0);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        return inner_.Perform();
    }
    const std::vector<MovePair>& Moved() const override { return inner_.Moved(); }
    const wchar_t* Name() const override { return L"pumping"; }

private:
    NativeMoveEngine inner_;
    HWND window_;
};

TEST(Reentrancy, AnUndoPostedWhileABatchRunsIsRefusedAndTouchesNoFile)
{
    const std::wstring root = MakeTempFolder(L"reentry");
    ASSERT_FALSE(root.empty());
    const std::wstring from = root + L"\\from";
    const std::wstring to = root + L"\\to";
    ASSERT_TRUE(CreateDirectoryW(from.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(to.c_str(), nullptr));

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ReceiverProc;
    windowClass.lpszClassName = L"Cadrels.Test.Reentrancy";
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr);
    ASSERT_NE(window, nullptr);

    OperationState operation;
    UndoManager manager(operation, [window](const MoveOptions& options) -> std::unique_ptr<MoveEngine> {
        return std::make_unique<PumpingEngine>(options, window);
    });
    Receiver state{&manager, {}};
    receiver = &state;

    // Two earlier actions, each one file moved from `from` to `to`.
    for (const wchar_t* name : {L"first.txt", L"second.txt"}) {
        ASSERT_TRUE(WriteBytes(to + L"\\" + name, "x"));
        UndoEntry entry;
        entry.moves.push_back(MovePair{from + L"\\" + name, to + L"\\" + name});
        manager.History().Push(entry);
    }

    ASSERT_TRUE(manager.Undo());
    EXPECT_EQ(state.answers, (std::vector<bool>{false, false})) << "both requests ran and were refused";
    EXPECT_TRUE(FileExists(from + L"\\second.txt"));
    EXPECT_TRUE(FileExists(to + L"\\first.txt")) << "the refused undo moved nothing";
    EXPECT_EQ(manager.History().UndoStack().size(), 1u);
    EXPECT_EQ(manager.History().RedoStack().size(), 1u);
    EXPECT_FALSE(operation.Running());

    // With nothing running the same requests go through.
    state.answers.clear();
    PostMessageW(window, UndoRequest, 0, 0);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    EXPECT_EQ(state.answers, (std::vector<bool>{false, false, true})) << "nested refused, outer done";
    EXPECT_TRUE(FileExists(from + L"\\first.txt"));

    receiver = nullptr;
    DestroyWindow(window);
    RemoveTree(root);
}

// A batch whose moves-done message is dispatched inside the undo's own
// message pumping: a new action is pushed while the undo runs.
class PushingEngine final : public MoveEngine {
public:
    PushingEngine(const MoveOptions& options, std::function<void()> meanwhile)
        : inner_(options), meanwhile_(std::move(meanwhile))
    {
    }
    bool Queue(const std::wstring& source, const std::wstring& folder, const std::wstring& name) override
    {
        return inner_.Queue(source, folder, name);
    }
    HRESULT Perform() override
    {
        if (meanwhile_) {
            meanwhile_();
        }
        return inner_.Perform();
    }
    const std::vector<MovePair>& Moved() const override { return inner_.Moved(); }
    const wchar_t* Name() const override { return L"pushing"; }

private:
    NativeMoveEngine inner_;
    std::function<void()> meanwhile_;
};

TEST(Reentrancy, UndoGivesTheEntryItFinishedEvenWhenAnActionIsPushedDuringIt)
{
    const std::wstring root = MakeTempFolder(L"reentry-push");
    ASSERT_FALSE(root.empty());
    const std::wstring from = root + L"\\from";
    const std::wstring to = root + L"\\to";
    ASSERT_TRUE(CreateDirectoryW(from.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(to.c_str(), nullptr));

    OperationState operation;
    UndoManager* self = nullptr;
    bool pushDuringUndo = false;
    UndoManager manager(operation, [&](const MoveOptions& options) -> std::unique_ptr<MoveEngine> {
        return std::make_unique<PushingEngine>(options, [&] {
            if (std::exchange(pushDuringUndo, false)) {
                UndoEntry arrived;
                arrived.moves.push_back(MovePair{from + L"\\other.txt", to + L"\\other.txt"});
                self->Push(arrived);
            }
        });
    });
    self = &manager;
    ASSERT_TRUE(WriteBytes(to + L"\\other.txt", "o"));
    for (const wchar_t* name : {L"first.txt", L"second.txt"}) {
        ASSERT_TRUE(WriteBytes(to + L"\\" + name, "x"));
        UndoEntry entry;
        entry.moves.push_back(MovePair{from + L"\\" + name, to + L"\\" + name});
        ASSERT_TRUE(manager.Push(entry));
    }
    ASSERT_TRUE(manager.Undo());
    ASSERT_EQ(manager.History().RedoStack().size(), 1u);

    pushDuringUndo = true;
    const std::optional<UndoEntry> undone = manager.Undo();
    ASSERT_TRUE(undone);
    EXPECT_EQ(undone->moves, (std::vector<MovePair>{{from + L"\\first.txt", to + L"\\first.txt"}}))
        << "the files this undo brought back, to be held back from filing";
    EXPECT_TRUE(FileExists(from + L"\\first.txt"));
    EXPECT_EQ(manager.History().RedoStack().size(), 1u)
        << "the pushed action cleared the redo stack: its size cannot tell that an undo finished";
    RemoveTree(root);
}

}  // namespace
}  // namespace cadrels
