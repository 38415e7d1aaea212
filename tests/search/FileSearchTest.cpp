// The file search on the real program: opened by its shortcut and for one
// cadrel, typed into with real key presses, and read back from the window's
// size, the results the program logs, what it opens and the screen.
#include "CadrelScenario.h"
#include "ProcessProbe.h"
#include "DesktopInput.h"
#include "KeyInput.h"
#include "ScreenImage.h"
#include "TestFiles.h"

#include "base/AppMessages.h"
#include "base/UniqueHandle.h"
#include "model/LayoutFile.h"
#include "search/SearchRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

constexpr wchar_t SearchClass[] = L"CadrelsFileSearchWindow";
constexpr wchar_t Opened[] = L"Recherche de fichiers ouverte : ";
constexpr wchar_t Closed[] = L"Recherche de fichiers fermee.";

CadrelTab Tab(const wchar_t* title, const std::wstring& folder)
{
    CadrelTab tab;
    tab.title = title;
    tab.folder = folder;
    return tab;
}

class FileSearchScenario : public CadrelScenario {
protected:
    FileSearchScenario() : CadrelScenario(L"file-search") {}

    std::wstring MakeFolder(const wchar_t* name, const std::vector<std::wstring>& files)
    {
        const std::wstring folder = root_ + L"\\" + name;
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const std::wstring& file : files) {
            WriteBytes(folder + L"\\" + file, "x");
        }
        return folder;
    }

    void StartIn(const std::vector<Workspace>& pages, int language)
    {
        Settings settings;
        settings.workspaces = pages;
        settings.language = language;
        CreateDirectoryW(appData_.c_str(), nullptr);
        ASSERT_TRUE(LayoutFile(appData_ + L"\\layout.json").Save(settings));
        ASSERT_TRUE(app_.Start());
        ASSERT_TRUE(app_.WaitUntilReady());
    }

    HWND Bar() const
    {
        const std::vector<HWND> windows = app_.TopLevelWindows(SearchClass);
        return windows.empty() ? nullptr : windows.front();
    }

    bool BarVisible() const
    {
        HWND bar = Bar();
        return bar != nullptr && IsWindowVisible(bar);
    }

    // Ctrl+Shift+Space, the shortcut's default.
    void OpenByShortcut(const std::wstring& label)
    {
        const size_t before = app_.CountLines(Opened);
        ASSERT_TRUE(SendCombination({VK_CONTROL, VK_SHIFT}, VK_SPACE));
        ASSERT_TRUE(app_.WaitForLine(Opened + label, 5000, before + 1));
        ASSERT_TRUE(WaitFor([&] { return BarVisible() && GetForegroundWindow() == Bar(); }));
    }

    void Close()
    {
        const size_t before = app_.CountLines(Closed);
        ASSERT_TRUE(SendCombination({}, VK_ESCAPE));
        ASSERT_TRUE(app_.WaitForLine(Closed, 5000, before + 1));
        EXPECT_FALSE(BarVisible());
    }

    // The results line of the last search of `query`, written after the
    // first `skipped` lines, once every folder it reads has answered; empty
    // when none came.
    std::wstring ResultsFor(const std::wstring& query, size_t skipped) const
    {
        const std::wstring fragment = L"resultats pour \"" + query + L"\" (";
        std::wstring found;
        WaitFor([&] {
            const std::vector<std::wstring> lines = app_.Lines();
            for (size_t i = skipped; i < lines.size(); ++i) {
                if (lines[i].find(fragment) != std::wstring::npos &&
                    lines[i].find(L" 0 dossiers en attente") != std::wstring::npos) {
                    found = lines[i];
                }
            }
            return !found.empty();
        });
        return found;
    }

    // Types the text and returns the results line of the query it makes.
    std::wstring Type(const std::wstring& text, const std::wstring& queryAfter)
    {
        const size_t before = app_.Lines().size();
        EXPECT_TRUE(SendText(text));
        return ResultsFor(queryAfter, before);
    }

    static std::wstring Names(const std::wstring& line)
    {
        const size_t open = line.find(L"\" (");
        const size_t close = line.rfind(L"), selection");
        return open == std::wstring::npos || close == std::wstring::npos ? L"?" : line.substr(open + 3, close - open - 3);
    }

    int ExpectedHeight(std::size_t rows) const
    {
        return SearchWindowHeight(rows, static_cast<float>(GetDpiForWindow(Bar())) / 96.0f);
    }

    bool HeightIs(std::size_t rows) const
    {
        return WaitFor([&] { return RectOf(Bar()).Height() == ExpectedHeight(rows); }, 3000);
    }

    bool Selects(WORD key, int selection)
    {
        const std::wstring line = L"Recherche de fichiers : selection " + std::to_wstring(selection) + L".";
        const size_t before = app_.CountLines(line);
        return SendCombination({}, key) && app_.WaitForLine(line, 3000, before + 1);
    }

    void SaveShot(const wchar_t* name)
    {
        ScreenImage screen;
        ASSERT_TRUE(CaptureSettled(screen));
        EXPECT_TRUE(screen.SavePng(std::wstring(CADRELS_TEST_OUTPUT_DIR) + L"\\" + name));
    }
};

TEST_F(FileSearchScenario, FindsOpensAndSwitchesAcrossPagesAndFollowsTheFolders)
{
    std::vector<std::wstring> many;
    for (int i = 1; i <= 12; ++i) {
        many.push_back(L"liste" + std::to_wstring(100 + i) + L".cadrelstest");
    }
    const std::wstring a = MakeFolder(L"a", {L"rapport-alpha.cadrelstest", L"note.cadrelstest"});
    const std::wstring b = MakeFolder(L"b", {L"rapport-beta.cadrelstest"});
    many.push_back(L"rapport-gamma.cadrelstest");
    const std::wstring c = MakeFolder(L"c", many);

    Workspace work;
    work.id = "{S1}";
    work.name = L"Travail";
    AddPinned(work, "s-docs", 0.05, 0.55, 0.25, 0.3, {Tab(L"Docs", a)});
    AddPinned(work, "s-autre", 0.35, 0.55, 0.25, 0.3, {Tab(L"Autre", c), Tab(L"Deux", a)});
    Workspace home;
    home.id = "{S2}";
    home.name = L"Maison";
    AddPinned(home, "s-docs2", 0.65, 0.55, 0.25, 0.3, {Tab(L"Docs", b)});
    StartIn({work, home}, 0);

    // Opened by the shortcut: every cadrel, the bar alone.
    OpenByShortcut(L"Toutes les cadrels");
    EXPECT_TRUE(HeightIs(0));
    SaveShot(L"file-search-empty-fr.png");

    // A character that matches nothing keeps the bar alone.
    std::wstring line = Type(L"q", L"q");
    EXPECT_NE(line.find(L": 0 resultats"), std::wstring::npos) << line;
    EXPECT_TRUE(HeightIs(0));
    ASSERT_TRUE(SendCombination({}, VK_BACK));
    ASSERT_TRUE(app_.WaitForLine(L"0 resultats pour \"\"", 3000));

    // Capitals find lower-case names, page by page, cadrel by cadrel, tab
    // by tab; the folder two tabs show comes twice.
    line = Type(L"RAPPORT", L"RAPPORT");
    EXPECT_EQ(Names(line), L"rapport-alpha.cadrelstest, rapport-gamma.cadrelstest, rapport-alpha.cadrelstest, "
                           L"rapport-beta.cadrelstest");
    EXPECT_TRUE(HeightIs(4));

    // Up on the first and Down on the last keep the selection.
    EXPECT_TRUE(Selects(VK_UP, 0));
    EXPECT_TRUE(Selects(VK_DOWN, 1));
    EXPECT_TRUE(Selects(VK_DOWN, 2));
    EXPECT_TRUE(Selects(VK_DOWN, 3));
    EXPECT_TRUE(Selects(VK_DOWN, 3));

    // Right switches to the page of the selected result, and closes.
    const size_t closes = app_.CountLines(Closed);
    ASSERT_TRUE(SendCombination({}, VK_RIGHT));
    EXPECT_TRUE(app_.WaitForLine(L"Page affichee : 1.", 5000));
    EXPECT_GT(app_.CountLines(Closed), closes);
    ASSERT_TRUE(WaitFor([&] { return CadrelTitled(L"Docs") != nullptr && CadrelTitled(L"Autre") == nullptr; }));

    // Enter opens the selected file through the shell, and closes.
    OpenByShortcut(L"Toutes les cadrels");
    line = Type(L"rapport", L"rapport");
    EXPECT_TRUE(Selects(VK_DOWN, 1));
    ASSERT_TRUE(SendCombination({}, VK_RETURN));
    EXPECT_TRUE(app_.WaitForLine(L"Ouverture de " + c + L"\\rapport-gamma.cadrelstest.", 5000));
    EXPECT_TRUE(WaitFor([&] { return !BarVisible(); }));

    // Ctrl+Enter shows the selected file in its folder instead.
    OpenByShortcut(L"Toutes les cadrels");
    line = Type(L"note", L"note");
    EXPECT_EQ(Names(line), L"note.cadrelstest, note.cadrelstest");
    ASSERT_TRUE(SendCombination({VK_CONTROL}, VK_RETURN));
    EXPECT_TRUE(app_.WaitForLine(L"Affichage de " + a + L"\\note.cadrelstest dans son dossier.", 5000));
    EXPECT_TRUE(app_.WaitForLine(L"Dossier de " + a + L"\\note.cadrelstest ouvert.", 10000));
    EXPECT_TRUE(WaitFor([&] { return !BarVisible(); }));
    EndChildrenOf(app_.ProcessId());

    // The tenth match ends the search, in the middle of a folder.
    OpenByShortcut(L"Toutes les cadrels");
    line = Type(L"LISTE1", L"LISTE1");
    EXPECT_NE(line.find(L": 10 resultats"), std::wstring::npos) << line;
    EXPECT_TRUE(HeightIs(10));
    SaveShot(L"file-search-results-fr.png");

    // A file made while the bar is open is found at the next keystroke.
    WriteBytes(a + L"\\liste1zz.cadrelstest", "x");
    const std::wstring joined = L"pour \"LISTE1\" (liste1zz.cadrelstest, ";
    ASSERT_TRUE(app_.WaitForLine(joined, 10000)) << "the new listing joins the open search by itself";
    for (const std::wstring& arrived : app_.Lines()) {
        if (arrived.find(joined) != std::wstring::npos) {
            EXPECT_NE(arrived.find(L"), selection 1,"), std::wstring::npos)
                << "the selected file stays selected one row lower: " << arrived.c_str();
        }
    }
    line = Type(L"z", L"LISTE1z");
    EXPECT_EQ(Names(line), L"liste1zz.cadrelstest, liste1zz.cadrelstest") << "shown by two tabs";
    EXPECT_TRUE(HeightIs(2));
    Close();

    // Opened for one cadrel: its name, and every cadrel of that name on
    // every page, but no other.
    HWND docs = CadrelTitled(L"Docs");
    ASSERT_NE(docs, nullptr);
    PostMessageW(app_.AppWindow(), WM_APP_FILE_SEARCH, reinterpret_cast<WPARAM>(docs), 0);
    ASSERT_TRUE(app_.WaitForLine(std::wstring(Opened) + L"Docs, 2 dossiers.", 5000));
    ASSERT_TRUE(WaitFor([&] { return BarVisible() && GetForegroundWindow() == Bar(); }));
    line = Type(L"rapport", L"rapport");
    EXPECT_EQ(Names(line), L"rapport-alpha.cadrelstest, rapport-beta.cadrelstest");
    Close();
}

TEST_F(FileSearchScenario, SpeaksTheInterfaceLanguage)
{
    std::vector<std::wstring> files;
    for (int i = 1; i <= 12; ++i) {
        files.push_back(L"report" + std::to_wstring(100 + i) + L".cadrelstest");
    }
    const std::wstring folder = MakeFolder(L"en", files);
    Workspace page;
    page.id = "{E1}";
    page.name = L"Desktop";
    AddPinned(page, "s-en", 0.05, 0.55, 0.25, 0.3, {Tab(L"Reports", folder)});
    StartIn({page}, 1);

    OpenByShortcut(L"All cadrels");
    SaveShot(L"file-search-empty-en.png");
    const std::wstring line = Type(L"Report", L"Report");
    EXPECT_NE(line.find(L": 10 resultats"), std::wstring::npos) << line;
    EXPECT_TRUE(HeightIs(10));
    SaveShot(L"file-search-results-en.png");
    Close();
}

}  // namespace
}  // namespace cadrels::testing
