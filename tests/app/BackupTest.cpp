// Backups end to end: the real program backs up on its first save and when a
// second start asks with "--backup", shows the result as a user sees it, and
// leaves the files and the layout file on disk.
#include "CadrelsProcess.h"
#include "Patience.h"
#include "PointerInput.h"
#include "TestFiles.h"

#include "app/CopyData.h"
#include "app/PageRequest.h"
#include "i18n/StringTable.h"
#include "model/BackupFiles.h"
#include "model/LayoutFile.h"
#include "model/NewId.h"

#include <gtest/gtest.h>

namespace cadrels::testing {
namespace {

std::wstring TitleOf(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

class Backups : public ::testing::Test {
protected:
    void SetUp() override
    {
        appData_ = AppDataFolder();
        ASSERT_TRUE(RemoveTree(appData_));
        ASSERT_TRUE(CreateDirectoryW(appData_.c_str(), nullptr));
        folder_ = MakeTempFolder(L"backup-e2e") + L"\\Sauvegardes";
        // Far from every cadrel, so nothing unfolds under the pointer.
        SetCursorPos(5, 5);
    }
    void TearDown() override
    {
        app_.EndTest(HasFailure());
        RemoveTree(appData_);
        RemoveTree(folder_);
    }

    void Start(bool enabled, int frequency, double last)
    {
        Settings settings;
        Workspace page;
        page.id = NewId();
        page.name = L"Bureau";
        settings.workspaces.push_back(page);
        settings.backupEnabled = enabled;
        settings.backupFolder = folder_;
        settings.backupFreq = frequency;
        settings.backupLast = last;
        ASSERT_TRUE(WriteBytes(appData_ + L"\\layout.json", SerializeSettings(settings)));
        ASSERT_TRUE(app_.Start());
        ASSERT_TRUE(app_.WaitUntilReady());
    }

    double SavedBackupLast() const
    {
        Settings settings;
        bool pagesFound = false;
        return LoadSettingsFile(appData_ + L"\\layout.json", settings, pagesFound) ? settings.backupLast : -1;
    }

    std::wstring appData_;
    std::wstring folder_;
    CadrelsProcess app_;
};

TEST_F(Backups, TheFirstSaveWithBackupsOnWritesOneAndRecordsIt)
{
    Start(true, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return ListBackups(folder_).size() == 1; }, Patient(10000)));
    const std::vector<BackupEntry> entries = ListBackups(folder_);
    EXPECT_TRUE(entries[0].readable);
    EXPECT_EQ(entries[0].name, entries[0].created);
    EXPECT_TRUE(WaitFor([&] { return SavedBackupLast() > 0; }, Patient(5000)));
    // The save at shutdown starts no backup: the process would end before
    // the worker finished.
    EXPECT_TRUE(app_.Quit().has_value());
    EXPECT_EQ(ListBackups(folder_).size(), 1u);
}

TEST_F(Backups, BackUpNowFromASecondStartWritesOneWhileBackupsAreOff)
{
    Start(false, 1, 0);
    EXPECT_TRUE(ListBackups(folder_).empty()) << "backups are off: saves make none";
    CadrelsProcess second;
    ASSERT_TRUE(second.Start({L"--backup"}));
    ASSERT_TRUE(second.WaitForExit(Patient(20000)).has_value());
    const HWND box = app_.WaitForMessageBox(10000);
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(TitleOf(box), Tr(TextId::Backup));
    EXPECT_NE(MessageBoxText(box).find(Tr(TextId::BackupCompleted)), std::wstring::npos) << MessageBoxText(box);
    EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    const std::vector<BackupEntry> entries = ListBackups(folder_);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].readable);
    EXPECT_TRUE(WaitFor([&] { return SavedBackupLast() > 0; }, Patient(5000)));
}

TEST_F(Backups, BackUpNowIntoAFolderThatCannotExistSaysItFailed)
{
    folder_ = appData_ + L"\\layout.json\\below";
    Start(false, 1, 0);
    CadrelsProcess second;
    ASSERT_TRUE(second.Start({L"--backup"}));
    ASSERT_TRUE(second.WaitForExit(Patient(20000)).has_value());
    const HWND box = app_.WaitForMessageBox(10000);
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_NE(MessageBoxText(box).find(Tr(TextId::BackupFailed)), std::wstring::npos) << MessageBoxText(box);
    EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    EXPECT_EQ(SavedBackupLast(), 0.0);
}

TEST_F(Backups, RestoringABackupAsksWithItsNameAndDateThenReplacesTheLayout)
{
    Settings elsewhere;
    Workspace page;
    page.id = NewId();
    page.name = L"Restauree";
    elsewhere.workspaces.push_back(page);
    const BackupWriteResult written = WriteBackupAt(elsewhere, folder_, 10, {2024, 3, 15, 14, 25, 1});
    ASSERT_EQ(written.outcome, BackupWriteOutcome::Written);
    ASSERT_TRUE(RenameBackupFile(written.path, L"Avant les vacances"));
    Start(false, 1, 0);

    const std::wstring payload = CopyDataPayload(PageRequestText({PageAction::RestoreBackup, -1, written.path}));
    COPYDATASTRUCT data{CopyDataPageRequest, static_cast<DWORD>(payload.size() * sizeof(wchar_t)),
                        const_cast<wchar_t*>(payload.data())};
    DWORD_PTR accepted = 0;
    SendMessageTimeoutW(app_.AppWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 5000,
                        &accepted);
    ASSERT_EQ(accepted, TRUE);
    const HWND box = app_.WaitForMessageBox(10000);
    ASSERT_NE(box, nullptr) << "no question";
    const std::wstring text = MessageBoxText(box);
    EXPECT_NE(text.find(L"Avant les vacances"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"2024-03-15 14:25"), std::wstring::npos) << text;
    EXPECT_NE(text.find(Tr(TextId::RestoreBackupQuestion)), std::wstring::npos) << text;
    ASSERT_TRUE(AnswerMessageBox(box, IDYES));
    EXPECT_TRUE(WaitFor(
        [&] {
            Settings settings;
            bool pagesFound = false;
            return LoadSettingsFile(appData_ + L"\\layout.json", settings, pagesFound) &&
                   settings.workspaces.size() == 1 && settings.workspaces[0].name == L"Restauree";
        },
        Patient(10000)));
    // The restore took its safety snapshot of the layout it replaced.
    EXPECT_TRUE(app_.WaitForLine(L"Instantane automatique :", Patient(5000)));
}

}  // namespace
}  // namespace cadrels::testing
