// The shell engine over a file operation of the test's own that does what
// Wine 10's does: it keeps every sink until the operation itself goes
// (Advise never hands out the cookie Unadvise needs), reports moves with a
// success code other than S_OK, replaces a file that holds the target name,
// stops the batch when a sink fails a PreMoveItem, and cannot copy. Real
// shells are free to do any of that; nothing the engine reports may depend
// on them not doing it. The real shell's engine runs in FileMovesTest.
#include "fileops/CollisionName.h"
#include "fileops/MoveEngine.h"
#include "fileops/MoveRecorder.h"
#include "fileops/ShellMoveEngine.h"

#include "TestFiles.h"
#include "TestMoveEngines.h"
#include "base/ComObject.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <memory>

namespace cadrels {
namespace {

using Microsoft::WRL::ComPtr;
using testing::FileExists;
using testing::MakeTempFolder;
using testing::ReadBytes;
using testing::RemoveTree;
using testing::WriteBytes;

// The copy engine's "done, do not descend": what Wine 10 reports for a move.
constexpr HRESULT DoneDoNotProcessChildren = 0x00270008;

// What the fake saw; outlives it.
struct Journal {
    int operationsPerformed = 0;
    int copiesRefused = 0;
    // What the last Release of each sink returned, when the operation went.
    std::vector<ULONG> finalSinkReleases;
    // Collisions as the Windows shell handles them, by the flags: renamed
    // with FOF_RENAMEONCOLLISION, replaced with FOF_NOCONFIRMATION, else
    // the Replace/Skip question, which this user answers Replace.
    bool windowsCollisions = false;
    int replaceQuestions = 0;
    // Written by "another program" after the sinks' last look at an item.
    std::wstring takenAfterLastLook;
};

class WineLikeFileOperation final : public ComObject<IFileOperation> {
public:
    explicit WineLikeFileOperation(std::shared_ptr<Journal> journal) : journal_(std::move(journal)) {}

    HRESULT STDMETHODCALLTYPE Advise(IFileOperationProgressSink* sink, DWORD*) override
    {
        if (sink == nullptr) {
            return E_INVALIDARG;
        }
        sink->AddRef();
        sinks_.push_back(sink);  // and the cookie is left as it was
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetOperationFlags(DWORD flags) override
    {
        flags_ = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetProgressMessage(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetProgressDialog(IOperationsProgressDialog*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetProperties(IPropertyChangeArray*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOwnerWindow(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ApplyPropertiesToItem(IShellItem*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ApplyPropertiesToItems(IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RenameItem(IShellItem*, LPCWSTR, IFileOperationProgressSink*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE RenameItems(IUnknown*, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveItem(IShellItem* item, IShellItem* folder, LPCWSTR name,
                                       IFileOperationProgressSink*) override
    {
        if (item == nullptr || folder == nullptr) {
            return E_INVALIDARG;
        }
        moves_.push_back(Move{item, folder, name != nullptr ? name : L""});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE MoveItems(IUnknown*, IShellItem*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyItem(IShellItem*, IShellItem*, LPCWSTR, IFileOperationProgressSink*) override
    {
        ++journal_->copiesRefused;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CopyItems(IUnknown*, IShellItem*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteItem(IShellItem*, IFileOperationProgressSink*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteItems(IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NewItem(IShellItem*, DWORD, LPCWSTR, LPCWSTR, IFileOperationProgressSink*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE PerformOperations() override
    {
        ++journal_->operationsPerformed;
        for (IFileOperationProgressSink* sink : sinks_) {
            sink->StartOperations();
        }
        for (const Move& move : moves_) {
            const std::wstring from = FileSystemPath(move.item.Get());
            std::wstring name = move.name;
            if (name.empty()) {
                name = from.substr(from.rfind(L'\\') + 1);
            }
            const std::wstring target = FileSystemPath(move.folder.Get()) + L"\\" + name;
            for (IFileOperationProgressSink* sink : sinks_) {
                const HRESULT hr = sink->PreMoveItem(0, move.item.Get(), move.folder.Get(), move.name.c_str());
                if (FAILED(hr)) {
                    return hr;  // the rest of the batch is dropped, and nobody hears the end
                }
            }
            if (!journal_->takenAfterLastLook.empty()) {
                WriteBytes(std::exchange(journal_->takenAfterLastLook, {}), "arrived meanwhile");
            }
            const std::wstring to = WindowsTarget(from, target);
            HRESULT result = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
            ComPtr<IShellItem> newItem;
            if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING)) {
                result = DoneDoNotProcessChildren;
                SHCreateItemFromParsingName(to.c_str(), nullptr, IID_PPV_ARGS(&newItem));
            } else {
                aborted_ = true;
            }
            for (IFileOperationProgressSink* sink : sinks_) {
                sink->PostMoveItem(0, move.item.Get(), move.folder.Get(), move.name.c_str(), result, newItem.Get());
            }
        }
        for (IFileOperationProgressSink* sink : sinks_) {
            sink->FinishOperations(S_OK);
        }
        moves_.clear();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAnyOperationsAborted(WINBOOL* aborted) override
    {
        *aborted = aborted_;
        return S_OK;
    }

protected:
    ~WineLikeFileOperation() override
    {
        for (IFileOperationProgressSink* sink : sinks_) {
            journal_->finalSinkReleases.push_back(sink->Release());
        }
    }

private:
    // Where the item goes when `target` is taken at the moment of the move.
    std::wstring WindowsTarget(const std::wstring& from, const std::wstring& target)
    {
        if (!journal_->windowsCollisions || !FileExists(target) || _wcsicmp(from.c_str(), target.c_str()) == 0) {
            return target;
        }
        if ((flags_ & FOF_RENAMEONCOLLISION) != 0) {
            const size_t slash = target.rfind(L'\\');
            for (int number = 2;; ++number) {
                const std::wstring renamed =
                    target.substr(0, slash + 1) + CollisionName(target.substr(slash + 1), number, false);
                if (!FileExists(renamed)) {
                    return renamed;
                }
            }
        }
        if ((flags_ & FOF_NOCONFIRMATION) == 0) {
            ++journal_->replaceQuestions;
        }
        return target;
    }

    struct Move {
        ComPtr<IShellItem> item;
        ComPtr<IShellItem> folder;
        std::wstring name;
    };

    std::shared_ptr<Journal> journal_;
    std::vector<IFileOperationProgressSink*> sinks_;  // held, as the shell holds them
    std::vector<Move> moves_;
    DWORD flags_ = 0;
    BOOL aborted_ = FALSE;
};

// Overwrites the stack below the caller, where a finished call's frame lay:
// an object that lived in such a frame is garbage afterwards, as it would
// be after any later calls.
__attribute__((noinline)) void OverwriteDeadFrames()
{
    volatile unsigned char filler[64 * 1024];
    std::memset(const_cast<unsigned char*>(filler), 0xCC, sizeof filler);
}

class ShellMoveEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        root_ = MakeTempFolder(L"shell-engine");
        ASSERT_FALSE(root_.empty());
        from_ = root_ + L"\\from";
        to_ = root_ + L"\\to";
        ASSERT_TRUE(CreateDirectoryW(from_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(to_.c_str(), nullptr));
    }
    void TearDown() override
    {
        RemoveTree(root_);
        CoUninitialize();
    }

    std::unique_ptr<ShellMoveEngine> Engine(const MoveOptions& options)
    {
        ComPtr<IFileOperation> operation;
        AdoptComObject(operation, static_cast<IFileOperation*>(new WineLikeFileOperation(journal_)));
        HRESULT failure = E_FAIL;
        std::unique_ptr<ShellMoveEngine> engine = ShellMoveEngine::Create(operation, options, failure);
        EXPECT_EQ(failure, S_OK);
        return engine;
    }

    std::shared_ptr<Journal> journal_ = std::make_shared<Journal>();
    std::wstring root_;
    std::wstring from_;
    std::wstring to_;
};

TEST_F(ShellMoveEngineTest, ASinkTheShellKeepsPastTheBatchStaysAliveUntilTheShellLetsGo)
{
    ASSERT_TRUE(WriteBytes(from_ + L"\\a.txt", "a"));
    std::unique_ptr<ShellMoveEngine> engine = Engine(MoveOptions{true, false});
    ASSERT_TRUE(engine->Queue(from_ + L"\\a.txt", to_, {}));
    EXPECT_EQ(engine->Perform(), S_OK);
    const std::vector<MovePair> expected = {{from_ + L"\\a.txt", to_ + L"\\a.txt"}};
    EXPECT_EQ(engine->Moved(), expected) << "a success code other than S_OK is a success";

    OverwriteDeadFrames();
    engine.reset();  // the operation goes, and releases the sink it kept
    ASSERT_EQ(journal_->operationsPerformed, 1);
    EXPECT_EQ(journal_->finalSinkReleases, (std::vector<ULONG>{0u})) << "the shell held the last reference";
}

TEST_F(ShellMoveEngineTest, ATakenNameIsNeverReplacedEvenByAShellThatWould)
{
    ASSERT_TRUE(WriteBytes(from_ + L"\\a.txt", "moved"));
    ASSERT_TRUE(WriteBytes(to_ + L"\\a.txt", "there"));
    ASSERT_TRUE(CreateDirectoryW((from_ + L"\\photos").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(from_ + L"\\photos\\p.jpg", "new"));
    ASSERT_TRUE(CreateDirectoryW((to_ + L"\\photos").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(to_ + L"\\photos\\p.jpg", "old"));

    std::unique_ptr<ShellMoveEngine> renaming = Engine(MoveOptions{true, false});
    ASSERT_TRUE(renaming->Queue(from_ + L"\\a.txt", to_, {}));
    ASSERT_TRUE(renaming->Queue(from_ + L"\\photos", to_, {}));
    EXPECT_EQ(renaming->Perform(), S_OK);
    const std::vector<MovePair> expected = {{from_ + L"\\a.txt", to_ + L"\\a (2).txt"},
                                            {from_ + L"\\photos", to_ + L"\\photos (2)"}};
    EXPECT_EQ(renaming->Moved(), expected);
    EXPECT_EQ(ReadBytes(to_ + L"\\a.txt"), "there");
    EXPECT_EQ(ReadBytes(to_ + L"\\a (2).txt"), "moved");
    EXPECT_EQ(ReadBytes(to_ + L"\\photos\\p.jpg"), "old") << "folders are not merged";
    EXPECT_EQ(ReadBytes(to_ + L"\\photos (2)\\p.jpg"), "new");

    // Without renaming, the taken name keeps its file, the item stays, and
    // the batch says so while the other items go.
    ASSERT_TRUE(WriteBytes(from_ + L"\\a.txt", "second"));
    ASSERT_TRUE(WriteBytes(from_ + L"\\b.txt", "b"));
    std::unique_ptr<ShellMoveEngine> strict = Engine(MoveOptions{false, false});
    ASSERT_TRUE(strict->Queue(from_ + L"\\a.txt", to_, {}));
    ASSERT_TRUE(strict->Queue(from_ + L"\\b.txt", to_, {}));
    EXPECT_EQ(strict->Perform(), HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
    EXPECT_EQ(strict->Moved(), (std::vector<MovePair>{{from_ + L"\\b.txt", to_ + L"\\b.txt"}}));
    EXPECT_EQ(ReadBytes(to_ + L"\\a.txt"), "there");
    EXPECT_EQ(ReadBytes(from_ + L"\\a.txt"), "second");
}

TEST_F(ShellMoveEngineTest, TwoItemsOfOneNameInOneBatchBothArrive)
{
    ASSERT_TRUE(CreateDirectoryW((from_ + L"\\other").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(from_ + L"\\a.txt", "first"));
    ASSERT_TRUE(WriteBytes(from_ + L"\\other\\A.TXT", "second"));
    std::unique_ptr<ShellMoveEngine> engine = Engine(MoveOptions{true, false});
    ASSERT_TRUE(engine->Queue(from_ + L"\\a.txt", to_, {}));
    ASSERT_TRUE(engine->Queue(from_ + L"\\other\\A.TXT", to_, {}));
    EXPECT_EQ(engine->Perform(), S_OK);
    EXPECT_EQ(ReadBytes(to_ + L"\\a.txt"), "first");
    EXPECT_EQ(ReadBytes(to_ + L"\\A (2).TXT"), "second");
    EXPECT_EQ(engine->Moved().size(), 2u);
}

TEST_F(ShellMoveEngineTest, ANameTakenAfterQueueingStopsTheItemInsteadOfReplacing)
{
    ASSERT_TRUE(WriteBytes(from_ + L"\\a.txt", "a"));
    ASSERT_TRUE(WriteBytes(from_ + L"\\b.txt", "b"));
    std::unique_ptr<ShellMoveEngine> engine = Engine(MoveOptions{true, false});
    ASSERT_TRUE(engine->Queue(from_ + L"\\a.txt", to_, {}));
    ASSERT_TRUE(engine->Queue(from_ + L"\\b.txt", to_, {}));
    ASSERT_TRUE(WriteBytes(to_ + L"\\b.txt", "arrived meanwhile"));
    EXPECT_FALSE(SUCCEEDED(engine->Perform()));
    EXPECT_EQ(engine->Moved(), (std::vector<MovePair>{{from_ + L"\\a.txt", to_ + L"\\a.txt"}}));
    EXPECT_EQ(ReadBytes(to_ + L"\\b.txt"), "arrived meanwhile");
    EXPECT_EQ(ReadBytes(from_ + L"\\b.txt"), "b");
}

TEST_F(ShellMoveEngineTest, ANameTakenAfterTheLastLookIsNeitherAskedAboutNorReplaced)
{
    journal_->windowsCollisions = true;
    for (const bool renaming : {false, true}) {
        SCOPED_TRACE(renaming ? "renaming" : "strict");
        RemoveTree(to_);
        ASSERT_TRUE(CreateDirectoryW(to_.c_str(), nullptr));
        ASSERT_TRUE(WriteBytes(from_ + L"\\a.txt", "a"));
        journal_->takenAfterLastLook = to_ + L"\\a.txt";
        journal_->replaceQuestions = 0;
        std::unique_ptr<ShellMoveEngine> engine = Engine(MoveOptions{renaming, false});
        ASSERT_TRUE(engine->Queue(from_ + L"\\a.txt", to_, {}));
        EXPECT_EQ(engine->Perform(), S_OK);
        EXPECT_EQ(journal_->replaceQuestions, 0) << "a question the user can answer Replace";
        EXPECT_EQ(ReadBytes(to_ + L"\\a.txt"), "arrived meanwhile");
        EXPECT_EQ(ReadBytes(to_ + L"\\a (2).txt"), "a");
        EXPECT_EQ(engine->Moved(), (std::vector<MovePair>{{from_ + L"\\a.txt", to_ + L"\\a (2).txt"}}))
            << "the name the shell gave is the one reported";
    }
}

// The fake names the new item as Wine's lookup does ("a.txt"); the entry
// keeps the spelling the rename asked for.
TEST_F(ShellMoveEngineTest, ALetterCaseRenameIsNoCollision)
{
    ASSERT_TRUE(WriteBytes(from_ + L"\\a.txt", "a"));
    std::unique_ptr<ShellMoveEngine> engine = Engine(MoveOptions{false, true});
    ASSERT_TRUE(engine->Queue(from_ + L"\\a.txt", from_, L"A.txt"));
    EXPECT_EQ(engine->Perform(), S_OK);
    EXPECT_EQ(engine->Moved(), (std::vector<MovePair>{{from_ + L"\\a.txt", from_ + L"\\A.txt"}}));
    EXPECT_EQ(ReadBytes(from_ + L"\\A.txt"), "a");
}

TEST_F(ShellMoveEngineTest, AShellThatCannotCopyLeavesTheBatchToOurOwnEngine)
{
    ASSERT_TRUE(WriteBytes(from_ + L"\\a.txt", "a"));
    ASSERT_TRUE(WriteBytes(from_ + L"\\b.txt", "b"));
    const MoveOptions copying{true, false, true};
    std::unique_ptr<MoveEngine> engine = PreferShellEngine(Engine(copying), copying);
    ASSERT_TRUE(engine->Queue(from_ + L"\\a.txt", to_, {}));
    ASSERT_TRUE(engine->Queue(from_ + L"\\b.txt", to_, {}));
    EXPECT_EQ(engine->Perform(), S_OK);
    EXPECT_EQ(journal_->copiesRefused, 1) << "asked once, then never again in this batch";
    EXPECT_EQ(std::wstring(engine->Name()), L"MoveFileExW");
    const std::vector<MovePair> expected = {{from_ + L"\\a.txt", to_ + L"\\a.txt"},
                                            {from_ + L"\\b.txt", to_ + L"\\b.txt"}};
    EXPECT_EQ(engine->Moved(), expected);
    EXPECT_EQ(ReadBytes(from_ + L"\\a.txt"), "a") << "a copy leaves its source";
    EXPECT_EQ(ReadBytes(to_ + L"\\b.txt"), "b");

    // A batch whose first item was refused here (its name taken, no
    // renaming) still goes to our own engine whole, and still says so.
    ASSERT_TRUE(WriteBytes(from_ + L"\\c.txt", "c"));
    const MoveOptions strictCopy{false, false, true};
    std::unique_ptr<MoveEngine> strict = PreferShellEngine(Engine(strictCopy), strictCopy);
    ASSERT_TRUE(strict->Queue(from_ + L"\\a.txt", to_, {}));
    ASSERT_TRUE(strict->Queue(from_ + L"\\c.txt", to_, {}));
    EXPECT_EQ(strict->Perform(), HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
    EXPECT_EQ(strict->Moved(), (std::vector<MovePair>{{from_ + L"\\c.txt", to_ + L"\\c.txt"}}));
    EXPECT_EQ(ReadBytes(to_ + L"\\c.txt"), "c");

    // Moves stay with the shell.
    const MoveOptions moving{true, false};
    std::unique_ptr<MoveEngine> mover = PreferShellEngine(Engine(moving), moving);
    ASSERT_TRUE(mover->Queue(from_ + L"\\a.txt", to_, {}));
    EXPECT_EQ(mover->Perform(), S_OK);
    EXPECT_EQ(std::wstring(mover->Name()), L"IFileOperation");
    EXPECT_EQ(journal_->operationsPerformed, 1);
    EXPECT_EQ(ReadBytes(to_ + L"\\a (2).txt"), "a");
    EXPECT_FALSE(FileExists(from_ + L"\\a.txt"));
}

}  // namespace
}  // namespace cadrels
