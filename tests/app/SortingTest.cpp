// Filing and sending end to end on the real program: a file saved on the
// Desktop lands in the folder of the cadrel whose rule matches and one undo
// brings it back; files sent by quick "--send-to-path" launches make one menu,
// and a file sent while that menu is open waits for its own.
#include "CadrelsProcess.h"
#include "KeyInput.h"
#include "TestFiles.h"

#include "base/AppMessages.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

bool WaitForFile(const std::wstring& path, bool present, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (FileExists(path) != present) {
        if (GetTickCount64() >= end) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

class Sorting : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RemoveTree(AppDataFolder()));
        ASSERT_TRUE(RemoveTree(ContainerRootFolder()));
        ASSERT_TRUE(CreateDirectoryW(AppDataFolder().c_str(), nullptr));
        desktop_ = KnownFolderPath(FOLDERID_Desktop);
        ASSERT_FALSE(desktop_.empty());
        root_ = MakeTempFolder(L"sorting");
        ASSERT_FALSE(root_.empty());
        docs_ = root_ + L"\\docs";
        other_ = root_ + L"\\other";
        photos_ = root_ + L"\\photos";
        sent_ = root_ + L"\\sent";
        inbox_ = root_ + L"\\inbox";
        inbox2_ = root_ + L"\\inbox2";
        for (const std::wstring* folder : {&docs_, &other_, &photos_, &sent_, &inbox_, &inbox2_}) {
            ASSERT_TRUE(CreateDirectoryW(folder->c_str(), nullptr));
        }
    }
    void TearDown() override
    {
        app_.EndTest(HasFailure());
        for (const wchar_t* name :
             {L"\\rapport.txt", L"\\image.png", L"\\.cache.txt", L"\\facture.txt"}) {
            const std::wstring path = desktop_ + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
        RemoveTree(root_);
        RemoveTree(AppDataFolder());
        RemoveTree(ContainerRootFolder());
    }

    // Two pages: "Travail" with two cadrels filing .txt files (the one
    // created first wins), "Maison" with one cadrel and no rule.
    void WriteLayout()
    {
        const std::string layout =
            R"({"workspaces":[{"id":"{P1}","name":"Travail","cadrels":[)"
            R"({"id":"{C1}","active":0,"rule":{"enabled":1,"exts":"TXT; .md"},"tabs":[{"title":"Docs","folder":")" +
            JsonPathText(docs_) + R"("},{"title":"Entree","folder":")" + JsonPathText(inbox_) + R"("}]},)"
            R"({"id":"{C2}","rule":{"enabled":1,"exts":"txt"},"tabs":[{"title":"Autre","folder":")" +
            JsonPathText(other_) + R"("}]}]},)"
            R"({"id":"{P2}","name":"Maison","cadrels":[{"id":"{C3}","tabs":[)"
            R"({"title":"Photos","folder":")" + JsonPathText(photos_) + R"("},{"title":"","folder":")" +
            JsonPathText(sent_) + R"("}]}]}],"watchFolders":[")" + JsonPathText(inbox_) + R"(",")" + JsonPathText(inbox2_) +
            R"(",")" + JsonPathText(inbox2_) + R"(",")" + JsonPathText(photos_) + R"("]})";
        ASSERT_TRUE(WriteBytes(AppDataFolder() + L"\\layout.json", layout));
    }

    // A second instance that forwards one path and exits.
    std::unique_ptr<CadrelsProcess> SendPath(const std::wstring& path)
    {
        auto second = std::make_unique<CadrelsProcess>();
        EXPECT_TRUE(second->Start({L"--send-to-path", path}));
        return second;
    }

    HWND WaitForMenu(DWORD timeoutMs = 5000)
    {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        while (GetTickCount64() < end) {
            for (HWND window : app_.TopLevelWindows(L"Cadrels.DarkMenu")) {
                if (IsWindowVisible(window)) {
                    return window;
                }
            }
            Sleep(50);
        }
        return nullptr;
    }

    std::wstring desktop_;
    std::wstring root_;
    std::wstring docs_;
    std::wstring other_;
    std::wstring photos_;  // watched, and shown by the page not shown
    std::wstring sent_;
    std::wstring inbox_;   // watched, and shown by an inactive tab
    std::wstring inbox2_;  // watched, listed twice
    CadrelsProcess app_;
};

TEST_F(Sorting, DesktopFileIsFiledAndUndoneAndSentFilesMakeOneMenu)
{
    WriteLayout();
    ASSERT_TRUE(app_.Start());
    ASSERT_TRUE(app_.WaitUntilReady());
    ASSERT_TRUE(app_.WaitForLine(L"Passe de rangement :", 5000)) << "the start-up pass";

    // A hidden file and a file no rule wants stay on the Desktop.
    ASSERT_TRUE(WriteBytes(desktop_ + L"\\.cache.txt", "h"));
    ASSERT_TRUE(SetFileAttributesW((desktop_ + L"\\.cache.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(WriteBytes(desktop_ + L"\\image.png", "p"));
    ASSERT_TRUE(WriteBytes(desktop_ + L"\\rapport.txt", "r"));
    ASSERT_TRUE(WaitForFile(docs_ + L"\\rapport.txt", true, 10000)) << "filed once written";
    ASSERT_TRUE(app_.WaitForLine(L"Annulation : 1 entree(s) a annuler, 0 a retablir.", 3000));
    EXPECT_FALSE(FileExists(desktop_ + L"\\rapport.txt"));
    EXPECT_FALSE(FileExists(other_ + L"\\rapport.txt")) << "equal priorities: the cadrel created first";
    EXPECT_TRUE(FileExists(desktop_ + L"\\image.png"));
    EXPECT_TRUE(FileExists(desktop_ + L"\\.cache.txt"));
    EXPECT_EQ(app_.CountLines(L"Rangement de " + desktop_ + L" : 1 fichier(s) deplace(s)."), 1u);

    // A watched folder that a tab shows, even an inactive one or one on the
    // page not shown, is never emptied; one listed twice is filed once and
    // found empty the second time.
    ASSERT_TRUE(WriteBytes(inbox_ + L"\\garde.txt", "g"));
    ASSERT_TRUE(WriteBytes(photos_ + L"\\vacances.txt", "v"));
    ASSERT_TRUE(WriteBytes(inbox2_ + L"\\note.md", "n"));
    ASSERT_TRUE(WaitForFile(docs_ + L"\\note.md", true, 6000));
    ASSERT_TRUE(app_.WaitForLine(L"Annulation : 2 entree(s) a annuler, 0 a retablir.", 3000));
    Sleep(500);
    EXPECT_TRUE(FileExists(inbox_ + L"\\garde.txt"));
    EXPECT_EQ(app_.CountLines(L"Rangement de " + inbox_ + L" :"), 0u);
    EXPECT_TRUE(FileExists(photos_ + L"\\vacances.txt"));
    EXPECT_EQ(app_.CountLines(L"Rangement de " + photos_ + L" :"), 0u);
    EXPECT_EQ(app_.CountLines(L"Rangement de " + inbox2_ + L" : 1 fichier(s) deplace(s)."), 1u);

    // The global shortcuts undo and redo, typed as a user types them: one
    // undo brings the last entry's file back, a redo files it again.
    ASSERT_TRUE(SendCtrlAlt('Z'));
    ASSERT_TRUE(WaitForFile(inbox2_ + L"\\note.md", true, 3000));
    ASSERT_TRUE(app_.WaitForLine(L"Annulation : 1 entree(s) a annuler, 1 a retablir.", 3000));
    ASSERT_TRUE(SendCtrlAlt('Y'));
    ASSERT_TRUE(WaitForFile(docs_ + L"\\note.md", true, 3000));
    ASSERT_TRUE(app_.WaitForLine(L"Annulation : 2 entree(s) a annuler, 0 a retablir.", 3000, 2));
    ASSERT_TRUE(SendCtrlAlt('Z'));
    ASSERT_TRUE(WaitForFile(inbox2_ + L"\\note.md", true, 3000));
    ASSERT_TRUE(app_.WaitForLine(L"Annulation : 1 entree(s) a annuler, 1 a retablir.", 3000, 2));
    ASSERT_TRUE(SendCtrlAlt('Z'));
    ASSERT_TRUE(WaitForFile(desktop_ + L"\\rapport.txt", true, 3000));
    EXPECT_FALSE(FileExists(docs_ + L"\\rapport.txt"));
    EXPECT_TRUE(app_.WaitForLine(L"Annulation : 0 entree(s) a annuler, 2 a retablir.", 3000));
    // Past the postponement after the undo, the first pass leaves the file
    // it brought back where it is...
    const size_t passesAfterUndo = app_.CountLines(L"Passe de rangement :");
    ASSERT_TRUE(app_.WaitForLine(L"Passe de rangement :", 8000, passesAfterUndo + 1));
    EXPECT_TRUE(FileExists(desktop_ + L"\\rapport.txt"));
    EXPECT_FALSE(FileExists(docs_ + L"\\rapport.txt"));
    // ...until the user changes it.
    ASSERT_TRUE(WriteBytes(desktop_ + L"\\rapport.txt", "r2"));
    ASSERT_TRUE(WaitForFile(docs_ + L"\\rapport.txt", true, 6000));
    ASSERT_TRUE(app_.WaitForLine(L"Annulation : 1 entree(s) a annuler, 0 a retablir.", 3000, 2));
    EXPECT_TRUE(FileExists(inbox2_ + L"\\note.md")) << "held back too";

    // Three quick launches, one menu listing every tab of both pages.
    std::vector<std::wstring> files;
    for (int i = 0; i < 4; ++i) {
        files.push_back(root_ + L"\\envoi" + std::to_wstring(i) + L".bin");
        ASSERT_TRUE(WriteBytes(files.back(), "s"));
    }
    std::vector<std::unique_ptr<CadrelsProcess>> senders;
    for (int i = 0; i < 3; ++i) {
        senders.push_back(SendPath(files[static_cast<size_t>(i)]));
    }
    for (const auto& sender : senders) {
        EXPECT_EQ(sender->WaitForExit(20000), std::optional<DWORD>(0));
    }
    ASSERT_TRUE(app_.WaitForLine(L"Envoi vers une cadrel : menu de 5 destination(s) pour 3 chemin(s).", 5000));
    const HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr);

    // A fourth file sent while the menu is open waits for its own menu.
    auto late = SendPath(files[3]);
    EXPECT_EQ(late->WaitForExit(20000), std::optional<DWORD>(0));
    ASSERT_TRUE(app_.WaitForLine(L"Envoi vers une cadrel : 1 chemin(s) en attente du menu ouvert.", 5000));
    EXPECT_EQ(app_.CountLines(L"menu de 5 destination(s)"), 1u);

    // The first entry: "Travail — Docs".
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(app_.WaitForLine(L"Envoi vers " + docs_ + L" : 3 fichier(s) deplace(s).", 5000));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(FileExists(docs_ + L"\\envoi" + std::to_wstring(i) + L".bin")) << i;
    }
    EXPECT_TRUE(app_.WaitForLine(L"Annulation : 2 entree(s) a annuler, 0 a retablir.", 3000, 3));

    // The waiting file's menu comes next; closing it leaves the file alone.
    ASSERT_TRUE(app_.WaitForLine(L"Envoi vers une cadrel : menu de 5 destination(s) pour 1 chemin(s).", 5000));
    Sleep(300);
    const HWND second = WaitForMenu();
    ASSERT_NE(second, nullptr);
    PostMessageW(second, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(500);
    EXPECT_TRUE(FileExists(files[3]));

    // Some browsers make the final name empty first and fill it when the
    // download ends: the empty file is left alone, the finished one filed.
    const std::wstring download = desktop_ + L"\\facture.txt";
    const size_t passes = app_.CountLines(L"Passe de rangement :");
    ASSERT_TRUE(WriteBytes(download, ""));
    ASSERT_TRUE(app_.WaitForLine(L"Passe de rangement :", 10000, passes + 1));
    EXPECT_TRUE(FileExists(download));
    EXPECT_FALSE(FileExists(docs_ + L"\\facture.txt"));
    ASSERT_TRUE(WriteBytes(download, "la facture"));
    EXPECT_TRUE(WaitForFile(docs_ + L"\\facture.txt", true, 10000)) << "filed once complete";
    EXPECT_EQ(app_.Quit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace cadrels::testing
