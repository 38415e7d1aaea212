#include "fileops/MoveRecorder.h"

#include "TestFiles.h"
#include "TestMoveEngines.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <new>

namespace cadrels {
namespace {

using Microsoft::WRL::ComPtr;
using testing::MakeTempFolder;
using testing::RemoveTree;
using testing::WriteBytes;

class MoveRecorderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        folder_ = MakeTempFolder(L"recorder");
        ASSERT_FALSE(folder_.empty());
        ASSERT_TRUE(WriteBytes(folder_ + L"\\a.txt", "a"));
        ASSERT_TRUE(WriteBytes(folder_ + L"\\b.txt", "b"));
    }
    void TearDown() override
    {
        RemoveTree(folder_);
        CoUninitialize();
    }

    ComPtr<IShellItem> Item(const std::wstring& path)
    {
        ComPtr<IShellItem> item;
        EXPECT_TRUE(SUCCEEDED(SHCreateItemFromParsingName(path.c_str(), nullptr, IID_PPV_ARGS(&item))));
        return item;
    }

    std::wstring folder_;
};

TEST_F(MoveRecorderTest, AnswersOnlyItsInterfacesAndCountsItsReferences)
{
    const ComPtr<MoveRecorder> recorder = MoveRecorder::Create();
    ASSERT_TRUE(recorder);
    EXPECT_EQ(recorder->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(recorder->QueryInterface(IID_IShellItem, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    ComPtr<IFileOperationProgressSink> sink;
    ASSERT_EQ(recorder->QueryInterface(IID_PPV_ARGS(&sink)), S_OK);
    EXPECT_EQ(static_cast<void*>(sink.Get()), static_cast<void*>(recorder.Get()));
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(recorder->QueryInterface(IID_PPV_ARGS(&unknown)), S_OK);
    EXPECT_EQ(recorder->AddRef(), 4u);
    EXPECT_EQ(recorder->Release(), 3u);
}

TEST_F(MoveRecorderTest, KeepsSuccessfulMovesWithTheirTargetPath)
{
    const ComPtr<MoveRecorder> recorder = MoveRecorder::Create();
    const ComPtr<IShellItem> a = Item(folder_ + L"\\a.txt");
    const ComPtr<IShellItem> b = Item(folder_ + L"\\b.txt");
    const ComPtr<IShellItem> folder = Item(folder_);

    EXPECT_EQ(recorder->PostMoveItem(0, a.Get(), folder.Get(), L"x.txt", E_FAIL, nullptr), S_OK);
    EXPECT_TRUE(recorder->Recorded().empty()) << "a refused move is not recorded";

    recorder->PostMoveItem(0, a.Get(), folder.Get(), L"renamed.txt", S_OK, b.Get());
    recorder->PostMoveItem(0, a.Get(), folder.Get(), L"named.txt", S_OK, nullptr);
    recorder->PostMoveItem(0, a.Get(), folder.Get(), L"", S_OK, nullptr);
    recorder->PostRenameItem(0, a.Get(), L"c.txt", S_OK, b.Get());
    recorder->PostRenameItem(0, a.Get(), L"c.txt", S_OK, nullptr);
    recorder->PostMoveItem(0, nullptr, folder.Get(), L"x.txt", S_OK, b.Get());
    // The copy engine's own success codes (here "done, children not
    // processed", as Wine 10 reports every move) are successes.
    recorder->PostMoveItem(0, a.Get(), folder.Get(), nullptr, 0x00270008, b.Get());
    recorder->PostCopyItem(0, a.Get(), folder.Get(), L"copy.txt", S_OK, nullptr);

    const std::wstring from = folder_ + L"\\a.txt";
    const std::vector<MovePair> expected = {
        {from, folder_ + L"\\b.txt"},   {from, folder_ + L"\\named.txt"}, {from, folder_ + L"\\a.txt"},
        {from, folder_ + L"\\b.txt"},   {from, folder_ + L"\\b.txt"},     {from, folder_ + L"\\copy.txt"},
    };
    EXPECT_EQ(recorder->Recorded(), expected);
}

TEST_F(MoveRecorderTest, ItsItemCheckDecidesBeforeEachItemAndNeverThrowsIntoTheShell)
{
    const ComPtr<IShellItem> a = Item(folder_ + L"\\a.txt");
    const ComPtr<IShellItem> folder = Item(folder_);
    std::vector<std::wstring> asked;
    const ComPtr<MoveRecorder> checking =
        MoveRecorder::Create([&asked](IShellItem* item, IShellItem*, LPCWSTR name) -> HRESULT {
            asked.push_back(FileSystemPath(item) + L">" + name);
            return name == std::wstring(L"no.txt") ? HRESULT_FROM_WIN32(ERROR_FILE_EXISTS) : S_OK;
        });
    EXPECT_EQ(checking->PreMoveItem(0, a.Get(), folder.Get(), L"yes.txt"), S_OK);
    EXPECT_EQ(checking->PreMoveItem(0, a.Get(), folder.Get(), L"no.txt"), HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
    EXPECT_EQ(checking->PreCopyItem(0, a.Get(), folder.Get(), L"no.txt"), HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0], folder_ + L"\\a.txt>yes.txt");

    const ComPtr<MoveRecorder> throwing =
        MoveRecorder::Create([](IShellItem*, IShellItem*, LPCWSTR) -> HRESULT { throw std::bad_alloc(); });
    EXPECT_EQ(throwing->PreMoveItem(0, a.Get(), folder.Get(), L"x.txt"), E_OUTOFMEMORY);
    EXPECT_EQ(MoveRecorder::Create()->PreMoveItem(0, a.Get(), folder.Get(), L"x.txt"), S_OK);
}

}  // namespace
}  // namespace cadrels
