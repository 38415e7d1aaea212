#include "model/AtomicFile.h"
#include "model/FolderTree.h"
#include "model/LayoutFile.h"

#include "LogCapture.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdint>

namespace cadrels {
namespace {

using testing::FileExists;
using testing::MakeTempFolder;
using testing::ReadBytes;
using testing::RemoveTree;
using testing::WriteBytes;

// A layout document whose grid value tells which file the settings came from.
std::string LayoutWithGrid(int grid, bool withPage = true)
{
    std::string text = "{\"grid\":" + std::to_string(grid) + ",\"workspaces\":[";
    if (withPage) {
        text += R"({"id":"{PAGE}","name":"p","cadrels":[{"id":"{C}","tabs":[{"title":"t","folder":"C:\\x"}]}]})";
    }
    return text + "]}";
}

class LayoutFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = MakeTempFolder(L"layout");
        ASSERT_FALSE(folder_.empty());
        path_ = folder_ + L"\\layout.json";
    }
    void TearDown() override
    {
        SetReplaceFileFunctionForTesting(nullptr);
        RemoveTree(folder_);
    }

    std::wstring Bak() const { return path_ + L".bak"; }

    std::vector<std::wstring> FolderEntries() const { return FileNamesMatching(folder_ + L"\\*"); }

    Settings Sample(int grid) const
    {
        Settings s;
        s.grid = grid;
        s.workspaces.push_back(Workspace{"{P}", L"Page", false, {}, {}});
        return s;
    }

    std::wstring folder_;
    std::wstring path_;
};

enum class Main { Missing, Empty, Oversized, NotJson, Array, Null, NoPage, Good };
enum class BakState { Good, Bad, Absent };

void WriteMain(const std::wstring& path, Main kind)
{
    switch (kind) {
    case Main::Missing:
        break;
    case Main::Empty:
        WriteBytes(path, "");
        break;
    case Main::Oversized: {
        // Past the 64 MiB limit by one byte; the size alone makes it unusable.
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        LARGE_INTEGER size{};
        size.QuadPart = static_cast<LONGLONG>(MaxReadableFileBytes) + 1;
        SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
        break;
    }
    case Main::NotJson:
        WriteBytes(path, "{\"grid\": 5, \"workspaces\": [],}");
        break;
    case Main::Array:
        WriteBytes(path, "[]");
        break;
    case Main::Null:
        WriteBytes(path, "null");
        break;
    case Main::NoPage:
        WriteBytes(path, LayoutWithGrid(11, false));
        break;
    case Main::Good:
        WriteBytes(path, LayoutWithGrid(1));
        break;
    }
}

TEST_F(LayoutFileTest, RecoveryMatrix)
{
    const Main mains[] = {Main::Missing, Main::Empty, Main::Oversized, Main::NotJson,
                          Main::Array,   Main::Null,  Main::NoPage,    Main::Good};
    const BakState baks[] = {BakState::Good, BakState::Bad, BakState::Absent};
    for (Main main : mains) {
        for (BakState bak : baks) {
            SCOPED_TRACE("main " + std::to_string(static_cast<int>(main)) + " bak " +
                         std::to_string(static_cast<int>(bak)));
            RemoveTree(folder_);
            CreateDirectoryW(folder_.c_str(), nullptr);
            WriteMain(path_, main);
            if (bak == BakState::Good) {
                WriteBytes(Bak(), LayoutWithGrid(2));
            } else if (bak == BakState::Bad) {
                WriteBytes(Bak(), "not json at all");
            }
            const bool mainUsable = main == Main::NoPage || main == Main::Good;
            const bool mainExists = main != Main::Missing;
            const std::string mainBytes = main == Main::Oversized ? std::string() : ReadBytes(path_);

            LayoutFile file(path_);
            Settings settings;
            settings.grid = 99;  // tells "untouched" apart
            const bool loaded = file.Load(settings);

            if (main == Main::Good) {
                EXPECT_TRUE(loaded);
                EXPECT_EQ(settings.grid, 1);
            } else if (bak == BakState::Good) {
                EXPECT_TRUE(loaded);
                EXPECT_EQ(settings.grid, 2) << "the .bak file wins";
                EXPECT_EQ(settings.workspaces.size(), 1u);
            } else if (main == Main::NoPage) {
                EXPECT_TRUE(loaded) << "a readable file without pages still counts";
                EXPECT_EQ(settings.grid, 11);
                ASSERT_EQ(settings.workspaces.size(), 1u) << "with one empty page";
                EXPECT_TRUE(settings.workspaces[0].cadrels.empty());
            } else {
                EXPECT_FALSE(loaded) << "a first run";
                EXPECT_EQ(settings.grid, 99) << "the settings are untouched";
            }

            // The .bak file is only looked at when the main file has no page.
            const bool bakRead = main != Main::Good;
            const size_t expectedCopies =
                (mainExists && !mainUsable ? 1u : 0u) + (bakRead && bak == BakState::Bad ? 1u : 0u);
            EXPECT_EQ(file.SetAsideCopies().size(), expectedCopies);

            // Two saves would rotate any damaged file out of existence...
            ASSERT_TRUE(file.Save(Sample(7)));
            ASSERT_TRUE(file.Save(Sample(8)));
            // ...but every copy made aside still holds what was there.
            for (const std::wstring& copy : file.SetAsideCopies()) {
                ASSERT_TRUE(FileExists(copy));
                const bool isMainCopy = copy.find(L"layout.json.unreadable-") != std::wstring::npos;
                if (isMainCopy && main == Main::Oversized) {
                    WIN32_FILE_ATTRIBUTE_DATA data{};
                    GetFileAttributesExW(copy.c_str(), GetFileExInfoStandard, &data);
                    EXPECT_EQ(data.nFileSizeLow, static_cast<DWORD>(MaxReadableFileBytes) + 1);
                } else {
                    EXPECT_EQ(ReadBytes(copy), isMainCopy ? mainBytes : std::string("not json at all"));
                }
            }
            Settings reread;
            bool pagesFound = false;
            ASSERT_TRUE(LoadSettingsFile(path_, reread, pagesFound));
            EXPECT_EQ(reread.grid, 8);
        }
    }
}

TEST_F(LayoutFileTest, TheFirstSaveMovesTheFileInAndTheSecondKeepsABak)
{
    LayoutFile file(path_);
    ASSERT_TRUE(file.Save(Sample(1)));
    EXPECT_TRUE(FileExists(path_));
    EXPECT_FALSE(FileExists(Bak()));
    EXPECT_FALSE(FileExists(path_ + L".tmp"));
    ASSERT_TRUE(file.Save(Sample(2)));
    Settings bak;
    bool pagesFound = false;
    ASSERT_TRUE(LoadSettingsFile(Bak(), bak, pagesFound));
    EXPECT_EQ(bak.grid, 1);
    EXPECT_EQ(FolderEntries(), (std::vector<std::wstring>{L"layout.json", L"layout.json.bak"}));
}

TEST_F(LayoutFileTest, AByteOrderMarkIsIgnored)
{
    WriteBytes(path_, "\xEF\xBB\xBF" + LayoutWithGrid(3));
    Settings settings;
    EXPECT_TRUE(LayoutFile(path_).Load(settings));
    EXPECT_EQ(settings.grid, 3);
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path_, bytes));
    EXPECT_EQ(bytes.front(), '{');
    WriteBytes(path_, "\xEF\xBB\xBF");
    EXPECT_TRUE(ReadWholeFile(path_, bytes));
    EXPECT_TRUE(bytes.empty()) << "three bytes of mark leave nothing";
}

TEST_F(LayoutFileTest, ASaveFailsCleanlyWhileAnotherHandleBlocksTheReplace)
{
    LayoutFile file(path_);
    ASSERT_TRUE(file.Save(Sample(1)));
    ASSERT_TRUE(file.Save(Sample(2)));
    const std::string mainBefore = ReadBytes(path_);
    const std::string bakBefore = ReadBytes(Bak());

    // Another program holds the file without delete sharing.
    HANDLE holder = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const Settings next = Sample(3);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(file.Save(next));
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    CloseHandle(holder);

    // A floor only: the tries take at least their pauses, however busy the machine.
    EXPECT_GE(elapsed, 150) << "five tries 40 ms apart";
    EXPECT_EQ(ReadBytes(path_), mainBefore);
    EXPECT_EQ(ReadBytes(Bak()), bakBefore);
    EXPECT_FALSE(FileExists(path_ + L".tmp"));
    EXPECT_EQ(next.grid, 3);
    EXPECT_TRUE(file.Save(next)) << "the next save tries again";
}

BOOL WINAPI ReplaceThatLosesTheTarget(LPCWSTR replaced, LPCWSTR, LPCWSTR backup, DWORD, LPVOID, LPVOID)
{
    // What ReplaceFileW leaves behind on ERROR_UNABLE_TO_MOVE_REPLACEMENT_2.
    MoveFileExW(replaced, backup, MOVEFILE_REPLACE_EXISTING);
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    return FALSE;
}

int replaceCalls = 0;
BOOL WINAPI ReplaceThatAlwaysFails(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID)
{
    ++replaceCalls;
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
}

TEST_F(LayoutFileTest, AReplaceThatMovedTheTargetAwayStillPutsTheNewContentInPlace)
{
    LayoutFile file(path_);
    ASSERT_TRUE(file.Save(Sample(1)));
    SetReplaceFileFunctionForTesting(ReplaceThatLosesTheTarget);
    EXPECT_TRUE(file.Save(Sample(2)));
    Settings main;
    Settings bak;
    bool pagesFound = false;
    ASSERT_TRUE(LoadSettingsFile(path_, main, pagesFound));
    EXPECT_EQ(main.grid, 2) << "the newest content is not lost";
    ASSERT_TRUE(LoadSettingsFile(Bak(), bak, pagesFound));
    EXPECT_EQ(bak.grid, 1);
    EXPECT_FALSE(FileExists(path_ + L".tmp"));
}

// A .tmp kept as the only copy of the last save (its replace failed after
// the old file went to .bak, or the program died between the flush and the
// replace) is read when it is whole and newer; otherwise it is ignored.
TEST_F(LayoutFileTest, ALeftOverTmpIsReadWhenItIsTheNewestGoodCopy)
{
    const std::wstring tmp = path_ + L".tmp";
    const auto setWriteTime = [](const std::wstring& path, std::uint64_t ticks) {
        HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
        CloseHandle(file);
    };
    constexpr std::uint64_t Older = 133'000'000'000'000'000ull;
    constexpr std::uint64_t Newer = Older + 600'000'000ull;
    struct Case {
        const char* what;
        bool mainPresent;
        std::string tmpText;
        std::uint64_t tmpTime;
        int expectedGrid;
    };
    const Case cases[] = {
        {"newer than the file", true, LayoutWithGrid(2), Newer, 2},
        {"the file gone, its .bak older", false, LayoutWithGrid(2), Newer, 2},
        {"cut short", true, LayoutWithGrid(2).substr(0, 20), Newer, 1},
        {"older than the file", true, LayoutWithGrid(2), Older - 600'000'000ull, 1},
        {"without a page", true, LayoutWithGrid(2, false), Newer, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW(path_.c_str());
        ASSERT_TRUE(WriteBytes(Bak(), LayoutWithGrid(0)));
        if (c.mainPresent) {
            ASSERT_TRUE(WriteBytes(path_, LayoutWithGrid(1)));
            setWriteTime(path_, Older);
        }
        ASSERT_TRUE(WriteBytes(tmp, c.tmpText));
        setWriteTime(tmp, c.tmpTime);
        LayoutFile file(path_);
        Settings settings;
        EXPECT_TRUE(file.Load(settings));
        EXPECT_EQ(settings.grid, c.expectedGrid);
    }

    // The next save keeps what was read from the .tmp.
    ASSERT_TRUE(WriteBytes(tmp, LayoutWithGrid(7)));
    setWriteTime(tmp, Newer);
    LayoutFile file(path_);
    Settings settings;
    ASSERT_TRUE(file.Load(settings));
    ASSERT_TRUE(file.Save(settings));
    Settings reread;
    ASSERT_TRUE(LayoutFile(path_).Load(reread));
    EXPECT_EQ(reread.grid, 7);
    EXPECT_FALSE(FileExists(tmp));
}

TEST_F(LayoutFileTest, AReplaceThatKeepsFailingIsTriedFiveTimes)
{
    LayoutFile file(path_);
    ASSERT_TRUE(file.Save(Sample(1)));
    const std::string before = ReadBytes(path_);
    replaceCalls = 0;
    SetReplaceFileFunctionForTesting(ReplaceThatAlwaysFails);
    EXPECT_FALSE(file.Save(Sample(2)));
    EXPECT_EQ(replaceCalls, 5);
    EXPECT_EQ(ReadBytes(path_), before);
    EXPECT_FALSE(FileExists(path_ + L".tmp"));
}

TEST_F(LayoutFileTest, AFileThatCannotBeCopiedAsideBlocksSavesUntilItCanBe)
{
    WriteBytes(path_, "{ broken");
    // Held exclusively: neither readable nor copyable, as at a busy logon.
    HANDLE holder = CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    LayoutFile file(path_);
    Settings settings;
    EXPECT_FALSE(file.Load(settings));
    EXPECT_TRUE(file.SetAsideCopies().empty());
    EXPECT_FALSE(file.Save(Sample(1))) << "never overwrite what could not be preserved";
    CloseHandle(holder);
    EXPECT_EQ(ReadBytes(path_), "{ broken");

    EXPECT_TRUE(file.Save(Sample(1)));
    ASSERT_EQ(file.SetAsideCopies().size(), 1u);
    EXPECT_EQ(ReadBytes(file.SetAsideCopies()[0]), "{ broken");
}

TEST_F(LayoutFileTest, OnlyTheNewestUnreadableCopiesAreKept)
{
    for (int i = 0; i < 8; ++i) {
        WriteBytes(path_, "broken " + std::to_string(i));
        LayoutFile file(path_);
        Settings settings;
        file.Load(settings);
    }
    size_t copies = 0;
    std::vector<std::string> contents;
    for (const std::wstring& name : FolderEntries()) {
        if (name.find(L".unreadable-") != std::wstring::npos) {
            ++copies;
            contents.push_back(ReadBytes(folder_ + L"\\" + name));
        }
    }
    EXPECT_EQ(copies, LayoutFile::KeptUnreadableCopies);
    EXPECT_EQ(contents.back(), "broken 7") << "the newest survives";
    EXPECT_EQ(std::count(contents.begin(), contents.end(), "broken 0"), 0) << "the oldest went";
}

// A folder missing on the way to the file means "no file", like a missing
// file: nothing to set aside, and no save held back for it.
TEST_F(LayoutFileTest, AMissingFolderOnTheWayIsAbsenceNotAnUnreadableFile)
{
    testing::LogCapture log;
    const std::wstring deeper = folder_ + L"\\not-yet\\deeper";
    LayoutFile file(deeper + L"\\layout.json");
    Settings settings;
    EXPECT_FALSE(file.Load(settings));
    EXPECT_TRUE(file.SetAsideCopies().empty());
    EXPECT_EQ(log.Count(L"copie de cote impossible"), 0u) << "nothing there to preserve";

    ASSERT_TRUE(CreateFolderTree(deeper));
    EXPECT_TRUE(file.Save(Sample(3)));
    EXPECT_EQ(log.Count(L"copie de cote impossible"), 0u);
    EXPECT_TRUE(file.SetAsideCopies().empty());
}

TEST_F(LayoutFileTest, AbsenceIsToldApartFromAnUnreadableFile)
{
    WriteBytes(path_, "x");
    EXPECT_FALSE(IsAbsent(path_));
    EXPECT_TRUE(IsAbsent(folder_ + L"\\missing.json"));
    EXPECT_TRUE(IsAbsent(folder_ + L"\\missing\\layout.json"));
    EXPECT_TRUE(IsAbsent(path_ + L"\\under-a-file.json"));
    HANDLE holder = CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(IsAbsent(path_)) << "held, but there";
    CloseHandle(holder);
    for (unsigned long error : {2ul, 3ul, 53ul, 64ul, 123ul, 267ul}) {
        EXPECT_TRUE(IsNotFoundError(error)) << error;
    }
    for (unsigned long error : {0ul, 5ul, 32ul, 33ul, 1920ul}) {
        EXPECT_FALSE(IsNotFoundError(error)) << error;
    }
}

TEST_F(LayoutFileTest, AnEmptyPathLoadsAndSavesNothing)
{
    LayoutFile file(L"");
    Settings settings;
    EXPECT_FALSE(file.Load(settings));
    EXPECT_FALSE(file.Save(settings));
}

}  // namespace
// A path from a restored file or another process that names a pipe is never
// opened: opening it would connect to whoever serves the pipe.
TEST(ReadWholeFile, NeverOpensAPipe)
{
    const std::wstring name = L"\\\\.\\pipe\\cadrels-read-test-" + std::to_wstring(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE, 1, 4096,
                                   4096, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    HANDLE connected = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    OVERLAPPED overlapped{};
    overlapped.hEvent = connected;
    const bool waiting = !ConnectNamedPipe(pipe, &overlapped) && GetLastError() == ERROR_IO_PENDING;
    ASSERT_TRUE(waiting);

    std::string bytes;
    EXPECT_FALSE(ReadWholeFile(name, bytes));
    EXPECT_FALSE(ReadWholeFile(L"//./pipe/cadrels-read-test-" + std::to_wstring(GetCurrentProcessId()), bytes));
    EXPECT_EQ(WaitForSingleObject(connected, 300), static_cast<DWORD>(WAIT_TIMEOUT)) << "nobody connected";

    CancelIo(pipe);
    CloseHandle(connected);
    CloseHandle(pipe);
}

}  // namespace cadrels
