#include "TestFiles.h"

#include <gtest/gtest.h>

#include <winioctl.h>

#include <cstring>
#include <vector>

namespace cadrels::testing {
namespace {

// A junction made the way `mklink /J` makes one: a mount-point reparse point
// on an empty directory.
bool MakeJunction(const std::wstring& link, const std::wstring& target)
{
    if (!CreateDirectoryW(link.c_str(), nullptr)) {
        return false;
    }
    HANDLE handle = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const std::wstring substitute = L"\\??\\" + target;
    const USHORT substituteBytes = static_cast<USHORT>(substitute.size() * sizeof(wchar_t));
    const USHORT printBytes = static_cast<USHORT>(target.size() * sizeof(wchar_t));
    // Tag, lengths, then the mount-point buffer: four USHORT offsets and the
    // two NUL-terminated names.
    const size_t pathBytes = substituteBytes + 2 + printBytes + 2;
    std::vector<BYTE> buffer(8 + 8 + pathBytes, 0);
    auto* header = reinterpret_cast<DWORD*>(buffer.data());
    header[0] = IO_REPARSE_TAG_MOUNT_POINT;
    *reinterpret_cast<USHORT*>(buffer.data() + 4) = static_cast<USHORT>(8 + pathBytes);
    auto* offsets = reinterpret_cast<USHORT*>(buffer.data() + 8);
    offsets[0] = 0;
    offsets[1] = substituteBytes;
    offsets[2] = static_cast<USHORT>(substituteBytes + 2);
    offsets[3] = printBytes;
    std::memcpy(buffer.data() + 16, substitute.data(), substituteBytes);
    std::memcpy(buffer.data() + 16 + substituteBytes + 2, target.data(), printBytes);
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                                    nullptr, 0, &returned, nullptr);
    CloseHandle(handle);
    if (!ok) {
        RemoveDirectoryW(link.c_str());
    }
    return ok != FALSE;
}

// A link that really leads to `outside`: a reparse-point directory through
// which the outside file shows.
bool IsWorkingLink(const std::wstring& link)
{
    const DWORD attributes = GetFileAttributesW(link.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && ReadBytes(link + L"\\keep.txt") == "precious";
}

void ExpectOutsideKept(const std::wstring& outside)
{
    EXPECT_EQ(ReadBytes(outside + L"\\keep.txt"), "precious");
}

TEST(RemoveTree, RemovesLinksButNeverWhatTheyPointTo)
{
    int linksTried = 0;
    // Links made here: a junction, and a directory symbolic link where the
    // system lets an unprivileged process make one.
    const std::wstring outside = MakeTempFolder(L"outside");
    const std::wstring tree = MakeTempFolder(L"tree");
    ASSERT_TRUE(WriteBytes(outside + L"\\keep.txt", "precious"));
    ASSERT_TRUE(CreateDirectoryW((tree + L"\\inner").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(tree + L"\\inner\\mine.txt", "mine"));
    MakeJunction(tree + L"\\inner\\junction", outside);
    CreateSymbolicLinkW((tree + L"\\dirlink").c_str(), outside.c_str(),
                        SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    linksTried += IsWorkingLink(tree + L"\\inner\\junction") + IsWorkingLink(tree + L"\\dirlink");
    if (linksTried > 0) {
        EXPECT_TRUE(RemoveTree(tree));
        EXPECT_FALSE(FolderExists(tree));
        ExpectOutsideKept(outside);
    }
    RemoveTree(tree);
    RemoveTree(outside);

    // A link the test environment made from outside: Wine makes none itself,
    // and cannot remove this one either (it reports the folder behind it as
    // not empty), so only the survival of what it points to is checked.
    const std::wstring fixture = L"C:\\link-fixture";
    if (IsWorkingLink(fixture + L"\\tree\\inner\\link")) {
        ++linksTried;
        RemoveTree(fixture + L"\\tree");
        EXPECT_FALSE(FileExists(fixture + L"\\tree\\inner\\mine.txt"));
        ExpectOutsideKept(fixture + L"\\outside");
    }
    if (linksTried == 0) {
        GTEST_SKIP() << "no link could be made here, and the environment provided none";
    }
    RecordProperty("links", linksTried);
}

}  // namespace
}  // namespace cadrels::testing
