// The Recycle Bin engine on real folders of the test prefix. Wine 8's shell
// file operation is not implemented: there the engine has to say so and
// leave the folder alone; where it runs, a recycled folder is gone from disk
// and counted in the bin. Recycled items land in the host's trash under
// Wine; each test takes back what it put there.
#include "fileops/RecycleBin.h"

#include "TestFiles.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>

#include <optional>
#include <string>

namespace cadrels {
namespace {

using testing::EmptyHostTrash;
using testing::FileExists;
using testing::FolderExists;
using testing::MakeTempFolder;
using testing::RemoveTree;
using testing::WriteBytes;


// A drive letter no volume answers to.
std::wstring UnusedDriveRoot()
{
    const DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'Y'; letter > L'D'; --letter) {
        if ((drives & (1u << (letter - L'A'))) == 0) {
            return std::wstring(1, letter) + L":\\";
        }
    }
    return {};
}

class RecycleBinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        root_ = MakeTempFolder(L"recycle");
        ASSERT_FALSE(root_.empty());
    }
    void TearDown() override
    {
        RemoveTree(root_);
        EmptyHostTrash(L"RecycleBinTest");
        CoUninitialize();
    }

    // A folder holding one file of `bytes` bytes.
    std::wstring FolderWithFile(const wchar_t* name, size_t bytes)
    {
        const std::wstring folder = root_ + L"\\" + name;
        EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        EXPECT_TRUE(WriteBytes(folder + L"\\contenu.txt", std::string(bytes, 'x')));
        return folder;
    }

    std::wstring root_;
};

TEST_F(RecycleBinTest, TakesAFolderOnTheFixedDriveAndNothingElsewhere)
{
    const std::wstring folder = FolderWithFile(L"RecycleBinTest-small", 10);
    EXPECT_TRUE(RecycleBinCanTake(folder));

    const std::wstring unused = UnusedDriveRoot();
    ASSERT_FALSE(unused.empty());
    EXPECT_FALSE(RecycleBinCanTake(unused + L"dossier")) << "no volume";
    EXPECT_FALSE(RecycleBinCanTake(root_ + L"\\" + std::wstring(MAX_PATH, L'a'))) << "too long a path";
    EXPECT_FALSE(RecycledItemCount(root_ + L"\\" + std::wstring(MAX_PATH, L'a')).has_value());
}

// The user's settings for the volume's bin: switched off, or too small.
TEST_F(RecycleBinTest, TheVolumeSettingsOfTheUserDecide)
{
    const std::wstring folder = FolderWithFile(L"RecycleBinTest-sized", 4096);
    wchar_t root[MAX_PATH] = {};
    wchar_t volume[64] = {};
    ASSERT_TRUE(GetVolumePathNameW(folder.c_str(), root, MAX_PATH));
    if (!GetVolumeNameForVolumeMountPointW(root, volume, 64)) {
        GTEST_SKIP() << "this system names no volume for " << ::testing::PrintToString(std::wstring(root));
    }
    const std::wstring name = volume;
    const size_t open = name.find(L'{');
    const size_t close = name.find(L'}');
    ASSERT_NE(open, std::wstring::npos);
    ASSERT_NE(close, std::wstring::npos);
    const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\" +
                             name.substr(open, close - open + 1);
    HKEY handle = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                              &disposition),
              ERROR_SUCCESS);
    const auto set = [&](const wchar_t* value, DWORD data) {
        return RegSetValueExW(handle, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
               ERROR_SUCCESS;
    };

    EXPECT_TRUE(set(L"MaxCapacity", 0));
    EXPECT_FALSE(RecycleBinCanTake(folder)) << "4 KiB do not fit in a bin of 0 MB";
    EXPECT_TRUE(set(L"MaxCapacity", 1));
    EXPECT_TRUE(RecycleBinCanTake(folder)) << "they fit in 1 MB";
    EXPECT_TRUE(set(L"NukeOnDelete", 1));
    EXPECT_FALSE(RecycleBinCanTake(folder)) << "the bin is switched off";
    EXPECT_TRUE(set(L"NukeOnDelete", 0));
    EXPECT_TRUE(RecycleBinCanTake(folder));

    RegDeleteValueW(handle, L"MaxCapacity");
    RegDeleteValueW(handle, L"NukeOnDelete");
    RegCloseKey(handle);
    if (disposition == REG_CREATED_NEW_KEY) {
        RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    }
}

TEST_F(RecycleBinTest, TheFileOperationRecyclesOrLeavesTheFolderWhole)
{
    const std::wstring folder = FolderWithFile(L"RecycleBinTest-shell", 10);
    const std::optional<long long> before = RecycledItemCount(folder);

    switch (RecycleWithFileOperation(folder)) {
    case RecycleResult::Unavailable:
        EXPECT_TRUE(FileExists(folder + L"\\contenu.txt")) << "an engine that cannot run touches nothing";
        break;
    case RecycleResult::Refused:
        EXPECT_TRUE(FileExists(folder + L"\\contenu.txt")) << "nobody agreed to delete it for good";
        break;
    case RecycleResult::Recycled: {
        EXPECT_FALSE(FolderExists(folder));
        const std::optional<long long> after = RecycledItemCount(root_);
        if (before && after) {
            EXPECT_EQ(*after, *before + 1) << "the folder is in the bin";
        }
        break;
    }
    }
}

TEST_F(RecycleBinTest, TheCountFollowsWhatTheBinReceives)
{
    const std::optional<long long> before = RecycledItemCount(root_);
    if (!before) {
        // Wine 8's SHQueryRecycleBinW fails for every drive.
        GTEST_SKIP() << "the shell cannot count the Recycle Bin here";
    }

    // One item per call recycles correctly under Wine as on Windows.
    const std::wstring folder = FolderWithFile(L"RecycleBinTest-counted", 10);
    std::wstring from = folder;
    from.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI;
    ASSERT_EQ(SHFileOperationW(&operation), 0);
    ASSERT_FALSE(FolderExists(folder));

    const std::optional<long long> after = RecycledItemCount(root_);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(*after, *before + 1);
}

}  // namespace
}  // namespace cadrels
