// The application's folder watcher end to end: the Desktop and the extra
// watched folders ask for sorting passes, bursts coalesce, a folder that goes
// away is dropped alone and watched again when it is back, and 63 folders
// are the limit.
#include "CadrelsProcess.h"
#include "TestFiles.h"

#include "app/AppSchedule.h"
#include "base/AppMessages.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

constexpr wchar_t SortPass[] = L"Passe de rangement";

class FolderWatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        appData_ = AppDataFolder();
        ASSERT_TRUE(RemoveTree(appData_));
        ASSERT_TRUE(RemoveTree(ContainerRootFolder()));
        ASSERT_TRUE(CreateDirectoryW(appData_.c_str(), nullptr));
        desktop_ = KnownFolderPath(FOLDERID_Desktop);
        ASSERT_FALSE(desktop_.empty());
        root_ = MakeTempFolder(L"watched");
        ASSERT_FALSE(root_.empty());
    }
    void TearDown() override
    {
        app_.EndTest(HasFailure());
        for (const std::wstring& file : desktopFiles_) {
            DeleteFileW(file.c_str());
        }
        RemoveTree(root_);
        RemoveTree(appData_);
        RemoveTree(ContainerRootFolder());
    }

    void WriteDesktopFile(const std::wstring& name)
    {
        desktopFiles_.push_back(desktop_ + L"\\" + name);
        ASSERT_TRUE(WriteBytes(desktopFiles_.back(), "x"));
    }

    // Waits for the pass the change asks for, once the folders have been
    // quiet for a moment, and then for longer than that moment: a second
    // pass for the same change would have come by then.
    void ExpectPasses(size_t count, DWORD timeoutMs = 4000 + AppSchedule::SortDelayMs)
    {
        EXPECT_TRUE(app_.WaitForLine(SortPass, timeoutMs, count)) << "pass " << count;
        Sleep(AppSchedule::SortDelayMs + 600);
        EXPECT_EQ(app_.CountLines(SortPass), count);
    }

    std::wstring appData_;
    std::wstring desktop_;
    std::wstring root_;
    std::vector<std::wstring> desktopFiles_;
    CadrelsProcess app_;
};

TEST_F(FolderWatch, ChangesAskForOnePassPerBurstAndAVanishedFolderComesBack)
{
    // 63 extra folders: with the Desktop, the last one is one too many.
    std::vector<std::wstring> extras;
    std::string list;
    for (int i = 0; i < 63; ++i) {
        extras.push_back(root_ + L"\\w" + std::to_wstring(i));
        ASSERT_TRUE(CreateDirectoryW(extras.back().c_str(), nullptr));
        list += (i ? "," : "") + ("\"" + JsonPathText(extras.back()) + "\"");
    }
    ASSERT_TRUE(WriteBytes(appData_ + L"\\layout.json",
                           R"({"workspaces":[{"id":"{A}","name":"A"}],"watchFolders":[)" + list + "]}"));
    ASSERT_TRUE(app_.Start());
    ASSERT_TRUE(app_.WaitUntilReady());
    EXPECT_EQ(app_.CountLines(L"Surveillance de 63 dossier(s) pour le rangement."), 1u);
    ExpectPasses(1);  // the start-up pass

    // Twenty files at once are one pass, not twenty.
    for (int i = 0; i < 20; ++i) {
        WriteDesktopFile(L"burst" + std::to_wstring(i) + L".txt");
    }
    ExpectPasses(2);

    ASSERT_TRUE(WriteBytes(extras[61] + L"\\a.txt", "x"));
    ExpectPasses(3);
    ASSERT_TRUE(WriteBytes(extras[62] + L"\\a.txt", "x"));
    Sleep(AppSchedule::SortDelayMs + 1200);
    EXPECT_EQ(app_.CountLines(SortPass), 3u) << "the 64th folder is not watched";

    // A stray "moves done" from outside finds an empty mailbox.
    const HWND window = app_.AppWindow();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_APP_MOVES_DONE, 0, 0x12345678);

    // A watched folder on a drive that goes away.
    const std::wstring away = extras[0] + L"-away";
    ASSERT_TRUE(MoveFileW(extras[0].c_str(), away.c_str()));
    ASSERT_TRUE(app_.WaitForLine(L"Dossier surveille perdu, nouvel essai plus tard : " + extras[0], 5000));
    ExpectPasses(4);  // what was there may have gone with it
    WriteDesktopFile(L"still.txt");
    ExpectPasses(5);

    ASSERT_TRUE(MoveFileW(away.c_str(), extras[0].c_str()));
    ASSERT_TRUE(app_.WaitForLine(L"Dossier surveille de nouveau : " + extras[0], 8000));
    ExpectPasses(6);
    ASSERT_TRUE(WriteBytes(extras[0] + L"\\back.txt", "x"));
    ExpectPasses(7);

    EXPECT_EQ(app_.CountLines(L"Annulation :"), 0u) << "nothing was pushed on the undo stack";
    EXPECT_EQ(app_.Quit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace cadrels::testing
