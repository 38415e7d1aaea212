#include "fileops/MoveRecorder.h"

#include "TestFiles.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <wrl/client.h>

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

TEST_F(MoveRecorderTest, AnswersOnlyItsInterfacesAndNeverDeletesItself)
{
    std::vector<MovePair> moves;
    MoveRecorder recorder(&moves);
    EXPECT_EQ(recorder.QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(recorder.QueryInterface(IID_IShellItem, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    ComPtr<IFileOperationProgressSink> sink;
    ASSERT_EQ(recorder.QueryInterface(IID_PPV_ARGS(&sink)), S_OK);
    EXPECT_EQ(recorder.References(), 2u);
    sink.Reset();
    EXPECT_EQ(recorder.Release(), 0u) << "the last release leaves the frame's object alone";
    EXPECT_EQ(recorder.AddRef(), 1u);
}

TEST_F(MoveRecorderTest, KeepsSuccessfulMovesWithTheirTargetPath)
{
    std::vector<MovePair> moves;
    MoveRecorder recorder(&moves);
    const ComPtr<IShellItem> a = Item(folder_ + L"\\a.txt");
    const ComPtr<IShellItem> b = Item(folder_ + L"\\b.txt");
    const ComPtr<IShellItem> folder = Item(folder_);

    recorder.PostMoveItem(0, a.Get(), folder.Get(), L"x.txt", E_FAIL, nullptr);
    EXPECT_TRUE(moves.empty()) << "a refused move is not recorded";

    recorder.PostMoveItem(0, a.Get(), folder.Get(), L"renamed.txt", S_OK, b.Get());
    recorder.PostMoveItem(0, a.Get(), folder.Get(), L"named.txt", S_OK, nullptr);
    recorder.PostMoveItem(0, a.Get(), folder.Get(), L"", S_OK, nullptr);
    recorder.PostRenameItem(0, a.Get(), L"c.txt", S_OK, b.Get());
    recorder.PostRenameItem(0, a.Get(), L"c.txt", S_OK, nullptr);
    recorder.PostMoveItem(0, nullptr, folder.Get(), L"x.txt", S_OK, b.Get());

    const std::wstring from = folder_ + L"\\a.txt";
    const std::vector<MovePair> expected = {
        {from, folder_ + L"\\b.txt"},
        {from, folder_ + L"\\named.txt"},
        {from, folder_ + L"\\a.txt"},
        {from, folder_ + L"\\b.txt"},
    };
    EXPECT_EQ(moves, expected);
}

}  // namespace
}  // namespace cadrels
