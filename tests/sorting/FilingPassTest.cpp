// Filing and arranging on real files in the test prefix, through the move
// engine the program would choose here.
#include "sorting/FileClasses.h"
#include "sorting/FilingPass.h"
#include "sorting/FileReadiness.h"
#include "sorting/ShellFileFacts.h"

#include "model/ContainerFolders.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>

namespace cadrels {
namespace {

using testing::FileExists;
using testing::FolderExists;
using testing::MakeTempFolder;
using testing::ReadBytes;
using testing::RemoveTree;
using testing::WriteBytes;

class FilingPassTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        root_ = MakeTempFolder(L"filing");
        ASSERT_FALSE(root_.empty());
        desk_ = root_ + L"\\desk";
        ASSERT_TRUE(CreateDirectoryW(desk_.c_str(), nullptr));
    }
    void TearDown() override
    {
        RemoveTree(root_);
        CoUninitialize();
    }

    std::wstring Folder(const std::wstring& name)
    {
        const std::wstring path = root_ + L"\\" + name;
        EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        return path;
    }
    void Write(const std::wstring& path, DWORD attributes = 0)
    {
        ASSERT_TRUE(WriteBytes(path, "x"));
        if (attributes != 0) {
            ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
        }
    }
    static void SetWriteTime(const std::wstring& path, std::uint64_t ticks)
    {
        HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
        CloseHandle(file);
    }
    static SortRule Exts(const wchar_t* exts, int priority = 0)
    {
        SortRule rule;
        rule.enabled = true;
        rule.exts = exts;
        rule.priority = priority;
        return rule;
    }

    std::wstring root_;
    std::wstring desk_;
};

TEST_F(FilingPassTest, FilesGoToTheFirstMatchingCandidateAndTheRestStays)
{
    const std::wstring docs = Folder(L"docs");
    const std::wstring first = Folder(L"first");
    const std::wstring second = Folder(L"second");
    Write(desk_ + L"\\a.pdf");
    Write(desk_ + L"\\b.txt");
    Write(desk_ + L"\\c.png");
    Write(desk_ + L"\\hidden.pdf", FILE_ATTRIBUTE_HIDDEN);
    Write(desk_ + L"\\system.pdf", FILE_ATTRIBUTE_SYSTEM);
    Write(desk_ + L"\\desktop.ini");
    ASSERT_TRUE(CreateDirectoryW((desk_ + L"\\sub.pdf").c_str(), nullptr));
    Write(docs + L"\\a.pdf");  // a name already taken at the destination

    std::vector<FilingCandidate> candidates = {MakeCandidate(Exts(L"png"), first), MakeCandidate(Exts(L"png"), second),
                                               MakeCandidate(Exts(L"pdf txt", 1), docs)};
    OrderCandidates(candidates);
    ShellFileFacts facts;
    const FilingResult result = FileFolder(desk_, candidates, facts, CreateMoveEngine, UtcNow());
    EXPECT_TRUE(result.queued);
    EXPECT_TRUE(result.report.succeeded);
    EXPECT_EQ(result.report.moved.size(), 3u);

    EXPECT_TRUE(FileExists(docs + L"\\a (2).pdf")) << "renamed on collision, nothing replaced";
    EXPECT_TRUE(FileExists(docs + L"\\b.txt"));
    EXPECT_TRUE(FileExists(first + L"\\c.png")) << "equal priorities: the one created first";
    EXPECT_FALSE(FileExists(second + L"\\c.png"));
    for (const wchar_t* stays : {L"\\hidden.pdf", L"\\system.pdf", L"\\desktop.ini"}) {
        EXPECT_TRUE(FileExists(desk_ + stays)) << stays;
    }
    EXPECT_TRUE(FolderExists(desk_ + L"\\sub.pdf"));
    EXPECT_EQ(facts.AttributeReads(), 0u) << "the listing's size and dates serve every rule";

    // A file held back stays; the others are still offered.
    Write(desk_ + L"\\back.txt");
    Write(desk_ + L"\\new.txt");
    const FilingResult held = FileFolder(desk_, candidates, facts, CreateMoveEngine, UtcNow(),
                                         [&](const std::wstring& path, const FileStat& stat) {
                                             EXPECT_GT(stat.lastWrite, 0u);
                                             return path == desk_ + L"\\back.txt";
                                         });
    EXPECT_EQ(held.report.moved.size(), 1u);
    EXPECT_TRUE(FileExists(desk_ + L"\\back.txt"));
    EXPECT_TRUE(FileExists(docs + L"\\new.txt"));
    DeleteFileW((desk_ + L"\\back.txt").c_str());

    // The pass run again over the same folder finds nothing left to move.
    const FilingResult again = FileFolder(desk_, candidates, facts, CreateMoveEngine, UtcNow());
    EXPECT_FALSE(again.queued);
    EXPECT_TRUE(again.report.moved.empty());
}

// What a browser and an office program leave while they write: never
// filed. The same files once finished are.
TEST_F(FilingPassTest, DownloadsInProgressLockFilesFreshEmptyFilesAndOpenFilesStay)
{
    const std::wstring docs = Folder(L"docs");
    for (const wchar_t* name : {L"facture mars.pdf.crdownload", L"facture.pdf.part", L"facture.PARTIAL",
                                L"facture.download", L"facture.opdownload", L"~$facture.docx"}) {
        Write(desk_ + L"\\" + name);
    }
    ASSERT_TRUE(WriteBytes(desk_ + L"\\facture vide.pdf", ""));
    ASSERT_TRUE(WriteBytes(desk_ + L"\\facture ancienne vide.pdf", ""));
    SetWriteTime(desk_ + L"\\facture ancienne vide.pdf", UtcNow() - 2 * YoungEmptyFileAge);
    Write(desk_ + L"\\facture ouverte.pdf");
    Write(desk_ + L"\\facture.pdf");
    // Sharing delete, so that only the check, not the move itself, can keep it.
    HANDLE writer = CreateFileW((desk_ + L"\\facture ouverte.pdf").c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);

    SortRule rule;
    rule.enabled = true;
    rule.name = L"facture";
    const std::vector<FilingCandidate> candidates = {MakeCandidate(rule, docs)};
    ShellFileFacts facts;
    const FilingResult result = FileFolder(desk_, candidates, facts, CreateMoveEngine, UtcNow());
    CloseHandle(writer);
    std::vector<std::wstring> moved;
    for (const MovePair& move : result.report.moved) {
        moved.push_back(move.to);
    }
    std::sort(moved.begin(), moved.end());
    EXPECT_EQ(moved, (std::vector<std::wstring>{docs + L"\\facture ancienne vide.pdf", docs + L"\\facture.pdf"}));
    EXPECT_TRUE(FileExists(desk_ + L"\\facture mars.pdf.crdownload"));
    EXPECT_TRUE(FileExists(desk_ + L"\\~$facture.docx"));
    EXPECT_TRUE(FileExists(desk_ + L"\\facture vide.pdf"));

    // The download done and renamed, the writer gone: both are filed.
    ASSERT_TRUE(MoveFileW((desk_ + L"\\facture mars.pdf.crdownload").c_str(), (desk_ + L"\\facture mars.pdf").c_str()));
    const FilingResult later = FileFolder(desk_, candidates, facts, CreateMoveEngine, UtcNow());
    EXPECT_TRUE(FileExists(docs + L"\\facture mars.pdf"));
    EXPECT_TRUE(FileExists(docs + L"\\facture ouverte.pdf"));
    EXPECT_EQ(later.report.moved.size(), 2u);
}

TEST_F(FilingPassTest, ArrangingByTypeLeavesShortcutsFoldersAndTheMarker)
{
    const std::wstring cadrel = Folder(L"cadrel");
    for (const wchar_t* name : {L"photo.JPG", L"notes.txt", L"setup.exe", L"lien.lnk"}) {
        Write(cadrel + L"\\" + name);
    }
    ASSERT_TRUE(CreateDirectoryW((cadrel + L"\\Projet").c_str(), nullptr));
    Write(cadrel + L"\\" + ContainerMarkerName, FILE_ATTRIBUTE_HIDDEN);
    Write(cadrel + L"\\desktop.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    Write(cadrel + L"\\.secret.txt", FILE_ATTRIBUTE_HIDDEN);

    ShellFileFacts facts;
    std::vector<std::wstring> entries = ListMovableFiles(cadrel);
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::wstring>{cadrel + L"\\lien.lnk", cadrel + L"\\notes.txt",
                                                   cadrel + L"\\photo.JPG", cadrel + L"\\setup.exe"}));
    const FilingResult result = MoveIntoClassifiedFolder(entries, cadrel, ClassifyByType, facts, CreateMoveEngine);
    EXPECT_TRUE(result.report.succeeded);
    EXPECT_EQ(result.report.moved.size(), 3u);
    EXPECT_TRUE(FileExists(cadrel + L"\\Images\\photo.JPG"));
    EXPECT_TRUE(FileExists(cadrel + L"\\Documents\\notes.txt"));
    EXPECT_TRUE(FileExists(cadrel + L"\\Ex\u00e9cutables\\setup.exe"));
    EXPECT_TRUE(FileExists(cadrel + L"\\lien.lnk"));
    EXPECT_TRUE(FolderExists(cadrel + L"\\Projet"));
    EXPECT_FALSE(FolderExists(cadrel + L"\\Autres"));
    // The container keeps what makes it one.
    EXPECT_TRUE(FileExists(cadrel + L"\\" + ContainerMarkerName));
    EXPECT_TRUE(FileExists(cadrel + L"\\desktop.ini"));
    EXPECT_TRUE(FileExists(cadrel + L"\\.secret.txt"));

    // Arranging again moves nothing: the files sit in their subfolders, and
    // a file already in its destination is skipped.
    EXPECT_FALSE(MoveIntoClassifiedFolder(ListMovableFiles(cadrel), cadrel, ClassifyByType, facts, CreateMoveEngine)
                     .queued);
    EXPECT_FALSE(MoveIntoClassifiedFolder({cadrel + L"\\Images\\photo.JPG"}, cadrel + L"\\Images\\", ClassifyNone,
                                          facts, CreateMoveEngine)
                     .queued);

    // Arranging never replaces: a second photo.jpg stays beside the first.
    ASSERT_TRUE(WriteBytes(cadrel + L"\\photo.jpg", "second"));
    const FilingResult clash =
        MoveIntoClassifiedFolder({cadrel + L"\\photo.jpg"}, cadrel, ClassifyByType, facts, CreateMoveEngine);
    EXPECT_TRUE(clash.queued);
    EXPECT_FALSE(clash.report.succeeded);
    EXPECT_EQ(ReadBytes(cadrel + L"\\photo.jpg"), "second");
    EXPECT_EQ(ReadBytes(cadrel + L"\\Images\\photo.JPG"), "x");
}

TEST_F(FilingPassTest, ArrangingByMonthUsesUtcNotTheLocalClock)
{
    // 2024-03-31 22:30 UTC is 00:30 on 1 April where the clock is two hours
    // ahead, as the test runs it (TZ set for this program).
    const std::uint64_t lateMarch = 133563978000000000ULL;
    FILETIME utc{static_cast<DWORD>(lateMarch), static_cast<DWORD>(lateMarch >> 32)};
    FILETIME local{};
    SYSTEMTIME localTime{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
    ASSERT_TRUE(FileTimeToSystemTime(&local, &localTime));
    ASSERT_EQ(localTime.wMonth, 4) << "the test runs two hours ahead of UTC";
    ASSERT_EQ(localTime.wHour, 0);

    const std::wstring cadrel = Folder(L"months");
    Write(cadrel + L"\\rapport.pdf");
    SetWriteTime(cadrel + L"\\rapport.pdf", lateMarch);
    Write(cadrel + L"\\avril.pdf");
    SetWriteTime(cadrel + L"\\avril.pdf", lateMarch + 2 * TicksPerDay);
    ShellFileFacts facts;
    const FilingResult result =
        MoveIntoClassifiedFolder(ListMovableFiles(cadrel), cadrel, ClassifyByMonth, facts, CreateMoveEngine);
    EXPECT_TRUE(result.report.succeeded);
    EXPECT_TRUE(FileExists(cadrel + L"\\2024-03\\rapport.pdf"));
    EXPECT_TRUE(FileExists(cadrel + L"\\2024-04\\avril.pdf"));
}

}  // namespace
}  // namespace cadrels
