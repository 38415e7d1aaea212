// The launcher end to end: the real program with the dock shown and Start
// menu shortcuts made by the test, opened by the dock's Applications slot
// and by its shortcut, searched by typing, closed every way a user closes
// it, starting a program by a click and by Enter; screenshots in French and
// English are left in the build folder.
#include "CadrelsProcess.h"
#include "KeyInput.h"
#include "PointerInput.h"
#include "ScreenImage.h"
#include "TestFiles.h"

#include "base/UniqueHandle.h"
#include "dock/AppCatalogRules.h"
#include "dock/DockLayout.h"
#include "i18n/StringTable.h"
#include "model/LayoutFile.h"
#include "model/NewId.h"
#include "model/Records.h"

#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

using Microsoft::WRL::ComPtr;

constexpr wchar_t DockClass[] = L"Cadrels.Dock";
constexpr wchar_t LaunchpadClass[] = L"Cadrels.Launchpad";
constexpr wchar_t ForeignTitle[] = L"Autre application";

std::wstring OutputPath(const std::wstring& name)
{
    return std::wstring(CADRELS_TEST_OUTPUT_DIR) + L"\\" + name;
}

std::wstring ForeignWindowExe()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"foreign_window.exe";
}

std::wstring ProgramsFolder()
{
    wchar_t* path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Programs, 0, nullptr, &path))) {
        result = path;
    }
    CoTaskMemFree(path);
    return result;
}

bool MakeShortcut(const std::wstring& path, const std::wstring& target, const std::wstring& arguments)
{
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(link.GetAddressOf())))) {
        return false;
    }
    link->SetPath(target.c_str());
    link->SetArguments(arguments.c_str());
    ComPtr<IPersistFile> file;
    return SUCCEEDED(link.As(&file)) && SUCCEEDED(file->Save(path.c_str(), TRUE));
}

// Pixels much darker than the launcher's light background: its text.
int CountTextPixels(const ScreenImage& image, const RECT& area)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = image.Pixel(x, y);
            if (c != CLR_INVALID && GetRValue(c) < 125 && GetGValue(c) < 125 && GetBValue(c) < 135) {
                ++count;
            }
        }
    }
    return count;
}

// The launcher drawn at full size: its left edge, which the smaller frames
// of the open animation leave to the desktop, shows its light background.
bool FullSize(const ScreenImage& image, const RECT& bounds)
{
    const COLORREF c = image.Pixel(bounds.left + 6, bounds.top + 200);
    return c != CLR_INVALID && GetRValue(c) > 120 && GetGValue(c) > 120;
}

void CloseForeignWindows()
{
    while (HWND window = FindWindowW(L"STATIC", ForeignTitle)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        UniqueHandle handle(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process));
        if (!handle) {
            break;
        }
        TerminateProcess(handle.Get(), 0);
        WaitForSingleObject(handle.Get(), 5000);
    }
}

class LaunchpadDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        folder_ = AppDataFolder();
        containers_ = ContainerRootFolder();
        ASSERT_TRUE(RemoveTree(folder_));
        ASSERT_TRUE(RemoveTree(containers_));
        programs_ = ProgramsFolder() + L"\\Cadrels launcher test";
        ASSERT_TRUE(RemoveTree(programs_));
        ASSERT_EQ(SHCreateDirectoryExW(nullptr, (programs_ + L"\\Outils").c_str(), nullptr), ERROR_SUCCESS);
        const std::wstring program = ForeignWindowExe();
        for (const wchar_t* name : {L"Control Panel", L"Calculator", L"\u00C9diteur de cadres", L"7-Zip Cadrels"}) {
            ASSERT_TRUE(MakeShortcut(programs_ + L"\\" + name + L".lnk", program, L"1500")) << name;
        }
        // In a subfolder: the catalogue reads the Programs folders recursively.
        ASSERT_TRUE(MakeShortcut(programs_ + L"\\Outils\\Visual Studio Cadrels.lnk", program, L"1500"));
        // A help file's shortcut and a document are no applications.
        ASSERT_TRUE(WriteBytes(programs_ + L"\\guide.chm", "chm"));
        ASSERT_TRUE(MakeShortcut(programs_ + L"\\Guide Cadrels.lnk", programs_ + L"\\guide.chm", L""));
        ASSERT_TRUE(WriteBytes(programs_ + L"\\Lisez-moi Cadrels.txt", "txt"));
        PointerTo({5, 5});
    }
    void TearDown() override
    {
        app_.EndTest(HasFailure());
        CloseForeignWindows();
        RemoveTree(programs_);
        RemoveTree(folder_);
        RemoveTree(containers_);
        CoUninitialize();
    }

    void StartWithDock(const char* languageCode)
    {
        Settings settings;
        settings.language = LanguageIndexFromCode(languageCode);
        settings.showDock = true;
        // The launcher has no shortcut until the user gives it one.
        HotkeyBinding launcher;
        launcher.modifiers = MOD_CONTROL | MOD_ALT;
        launcher.virtualKey = 'L';
        settings.hotkeys[HotkeyLauncher] = launcher;
        Workspace page;
        page.id = NewId();
        page.name = L"Test";
        settings.workspaces.push_back(page);
        settings.activeWorkspace = 0;
        SHCreateDirectoryExW(nullptr, folder_.c_str(), nullptr);
        ASSERT_TRUE(SaveLayout(settings));
        ASSERT_TRUE(app_.Start());
        ASSERT_TRUE(app_.WaitUntilReady());
        ASSERT_TRUE(WaitFor([&] { return DockWindow() != nullptr; }, 10000));
    }

    HWND DockWindow() const
    {
        const std::vector<HWND> windows = app_.TopLevelWindows(DockClass);
        return windows.size() == 1 ? windows[0] : nullptr;
    }

    HWND LaunchpadWindow() const
    {
        const std::vector<HWND> windows = app_.TopLevelWindows(LaunchpadClass);
        return windows.size() == 1 ? windows[0] : nullptr;
    }

    bool LaunchpadVisible() const
    {
        HWND window = LaunchpadWindow();
        return window != nullptr && IsWindowVisible(window);
    }

    bool WaitVisible(bool visible) const
    {
        return WaitFor([&] { return LaunchpadVisible() == visible; }, 5000);
    }

    POINT ApplicationsSlot() const
    {
        HWND dock = DockWindow();
        RECT bounds{};
        GetWindowRect(dock, &bounds);
        const DockLayout layout =
            ComputeDockLayout({}, DockSlotCount(0), static_cast<float>(bounds.right - bounds.left),
                              static_cast<float>(bounds.bottom - bounds.top), 1.0f);
        const DockRect& r = layout.slots.at(1);
        return {bounds.left + static_cast<int>(r.CentreX()), bounds.top + static_cast<int>((r.top + r.bottom) / 2)};
    }

    RECT LaunchpadRect() const
    {
        RECT bounds{};
        GetWindowRect(LaunchpadWindow(), &bounds);
        return bounds;
    }

    // The screen centre of the first cell of the grid.
    POINT FirstCell() const
    {
        const RECT bounds = LaunchpadRect();
        const AppCatalog one = {{L"X", L"x"}};
        const LaunchpadGrid grid =
            LayoutLaunchpadGrid(one, {0}, static_cast<float>(bounds.right - bounds.left), 1.0f);
        return {bounds.left + static_cast<int>(grid.cells[0].x + grid.cellWidth / 2),
                bounds.top + static_cast<int>(LaunchpadGridTop + grid.cells[0].y + LaunchpadCellHeight / 2)};
    }

    // Types the text and returns the search line the program logged for
    // the whole query, empty when none came.
    std::wstring Type(const std::wstring& text, const std::wstring& query)
    {
        const std::wstring fragment = L"Launchpad : recherche \"" + query + L"\",";
        const size_t before = app_.CountLines(fragment);
        EXPECT_TRUE(SendText(text));
        if (!app_.WaitForLine(fragment, 5000, before + 1)) {
            return {};
        }
        std::wstring last;
        for (const std::wstring& line : app_.Lines()) {
            if (line.find(fragment) != std::wstring::npos) {
                last = line;
            }
        }
        return last;
    }

    // Opens the launcher with its shortcut and waits for the catalogue.
    void OpenWithShortcut()
    {
        ASSERT_TRUE(SendCtrlAlt('L'));
        ASSERT_TRUE(WaitVisible(true));
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == LaunchpadWindow(); }, 5000));
    }

    // Once the open animation has ended, and the frame shows what is awaited.
    void Screenshot(const std::wstring& name, const std::function<bool(const ScreenImage&)>& shows)
    {
        ASSERT_TRUE(app_.WaitForLine(L"Launchpad : ouverture terminee.", 5000, app_.CountLines(L"Launchpad affiche")));
        ScreenImage image;
        ASSERT_TRUE(CaptureSettled(image, shows)) << name;
        EXPECT_TRUE(image.SavePng(OutputPath(name)));
    }

    CadrelsProcess app_;
    std::wstring folder_;
    std::wstring containers_;
    std::wstring programs_;
};

TEST_F(LaunchpadDesktop, OpensSearchesClosesAndStartsPrograms)
{
    StartWithDock("fr");

    // The dock's slot opens it over the primary work area, with the fixtures.
    Click(ApplicationsSlot());
    ASSERT_TRUE(WaitVisible(true));
    ASSERT_TRUE(app_.WaitForLine(L"Launchpad : catalogue de", 10000));
    ASSERT_TRUE(app_.WaitForLine(L"dans les raccourcis du menu Demarrer", 1000));
    const RECT bounds = LaunchpadRect();
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const PixelRect work{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
    EXPECT_EQ((PixelRect{bounds.left, bounds.top, bounds.right, bounds.bottom}), PlaceLaunchpad(work, 1.0f));
    const RECT inner{bounds.left + 30, bounds.top + 90, bounds.right - 30, bounds.bottom - 30};
    Screenshot(L"launchpad-grid-fr.png", [&](const ScreenImage& image) {
        return FullSize(image, bounds) && CountTextPixels(image, inner) > 300;
    });

    // "co" finds Control Panel, not Calculator, in small letters and in capitals.
    const std::wstring co = Type(L"co", L"co");
    EXPECT_NE(co.find(L"Control Panel"), std::wstring::npos) << co;
    EXPECT_EQ(co.find(L"Calculator"), std::wstring::npos) << co;
    EXPECT_EQ(co.find(L"Guide Cadrels"), std::wstring::npos) << "a help file's shortcut is skipped";
    // Typing "co" searched "c" first.
    SendKey(VK_BACK);
    ASSERT_TRUE(app_.WaitForLine(L"Launchpad : recherche \"c\",", 5000, 2));
    // Down to the empty query, then once more on it: nothing to search, still open.
    const size_t searches = app_.CountLines(L"Launchpad : recherche");
    SendKey(VK_BACK);
    SendKey(VK_BACK);
    const std::wstring capitals = Type(L"CO", L"CO");
    EXPECT_NE(capitals.find(L"Control Panel"), std::wstring::npos) << capitals;
    EXPECT_EQ(capitals.find(L"Calculator"), std::wstring::npos) << capitals;
    EXPECT_EQ(app_.CountLines(L"Launchpad : recherche"), searches + 2) << "C, then CO; the Backspace added none";
    EXPECT_TRUE(LaunchpadVisible());

    // The empty result: Enter does nothing.
    const std::wstring none = Type(L"qz", L"COqz");
    EXPECT_NE(none.find(L"0 resultat(s)"), std::wstring::npos) << none;
    const RECT message{bounds.left + 30, bounds.top + 90, bounds.left + 400, bounds.top + 142};
    const RECT below{bounds.left + 30, bounds.top + 150, bounds.right - 30, bounds.bottom - 30};
    Screenshot(L"launchpad-empty-fr.png", [&](const ScreenImage& image) {
        return CountTextPixels(image, message) > 50 && CountTextPixels(image, below) == 0;
    });
    SendKey(VK_RETURN);
    ASSERT_TRUE(app_.WaitForLine(L"Launchpad : Entree sans resultat.", 5000));
    EXPECT_TRUE(LaunchpadVisible());
    EXPECT_EQ(app_.CountLines(L"Launchpad : lancement"), 0u);

    // Escape closes it.
    SendKey(VK_ESCAPE);
    ASSERT_TRUE(WaitVisible(false));
    EXPECT_TRUE(app_.WaitForLine(L"Launchpad masque (Echap).", 3000));

    // The shortcut opens with an empty query and closes it again.
    OpenWithShortcut();
    const std::wstring accents = Type(L"editeur", L"editeur");
    EXPECT_NE(accents.find(L"\u00C9diteur de cadres"), std::wstring::npos) << "accents ignored: " << accents;
    Screenshot(L"launchpad-search-fr.png", [&](const ScreenImage& image) { return CountTextPixels(image, inner) > 50; });
    ASSERT_TRUE(SendCtrlAlt('L'));
    ASSERT_TRUE(WaitVisible(false));
    EXPECT_TRUE(app_.WaitForLine(L"Launchpad masque (bascule).", 3000));

    // A second click on the slot closes it and does not open it again.
    Click(ApplicationsSlot());
    ASSERT_TRUE(WaitVisible(true));
    // Beyond the double-click time: the dock takes a quicker second press for
    // a double click, which starts nothing.
    Sleep(GetDoubleClickTime() + 150);
    Click(ApplicationsSlot());
    ASSERT_TRUE(WaitVisible(false));
    ASSERT_TRUE(app_.WaitForLine(L"Launchpad : bascule ignoree juste apres un clic a l'exterieur.", 3000));
    EXPECT_FALSE(LaunchpadVisible());
    EXPECT_GE(app_.CountLines(L"Launchpad masque (clic a l'exterieur)."), 1u);

    // A click on the desktop closes it.
    OpenWithShortcut();
    Click({5, 5});
    ASSERT_TRUE(WaitVisible(false));
    EXPECT_EQ(app_.CountLines(L"Launchpad masque (clic a l'exterieur)."), 2u);
    // A toggle this soon after a click outside is taken for that click's own
    // (the press on the dock slot): the next opening waits a double click's time.
    Sleep(GetDoubleClickTime() + 150);

    // Another program taking the activation closes it.
    OpenWithShortcut();
    {
        STARTUPINFOW startup{sizeof startup};
        PROCESS_INFORMATION process{};
        std::wstring command = L"\"" + ForeignWindowExe() + L"\" 3000";
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process));
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    ASSERT_TRUE(WaitVisible(false));
    EXPECT_TRUE(app_.WaitForLine(L"Launchpad masque (desactivation).", 3000));
    CloseForeignWindows();

    // The keyboard: word starts find Visual Studio Cadrels, the arrows move
    // the highlight and Enter starts the highlighted cell.
    OpenWithShortcut();
    const std::wstring initials = Type(L"vsc", L"vsc");
    EXPECT_NE(initials.find(L"Visual Studio Cadrels"), std::wstring::npos) << initials;
    SendKey(VK_HOME);
    SendKey(VK_RETURN);
    ASSERT_TRUE(WaitVisible(false));
    EXPECT_TRUE(app_.WaitForLine(L"Launchpad : lancement de Visual Studio Cadrels.", 3000));
    EXPECT_TRUE(WaitFor([] { return FindWindowW(L"STATIC", ForeignTitle) != nullptr; }, 10000));
    // The program ends by itself: the next opening must not race its exit.
    EXPECT_TRUE(WaitFor([] { return FindWindowW(L"STATIC", ForeignTitle) == nullptr; }, 10000));

    // A click on a cell starts its program and hides the launcher.
    OpenWithShortcut();
    const std::wstring calculator = Type(L"calculator", L"calculator");
    EXPECT_NE(calculator.find(L"1 resultat(s) : Calculator."), std::wstring::npos) << calculator;
    PointerTo(FirstCell());
    Click(FirstCell());
    ASSERT_TRUE(WaitVisible(false));
    EXPECT_TRUE(app_.WaitForLine(L"Launchpad masque (lancement).", 3000));
    EXPECT_TRUE(app_.WaitForLine(L"Launchpad : lancement de Calculator.", 3000));
    EXPECT_TRUE(WaitFor([] { return FindWindowW(L"STATIC", ForeignTitle) != nullptr; }, 10000))
        << "the shortcut's program runs";
    CloseForeignWindows();
}

TEST_F(LaunchpadDesktop, EnglishScreenshots)
{
    StartWithDock("en");
    OpenWithShortcut();
    ASSERT_TRUE(app_.WaitForLine(L"Launchpad : catalogue de", 10000));
    const RECT bounds = LaunchpadRect();
    const RECT inner{bounds.left + 30, bounds.top + 90, bounds.right - 30, bounds.bottom - 30};
    Screenshot(L"launchpad-grid-en.png", [&](const ScreenImage& image) {
        return FullSize(image, bounds) && CountTextPixels(image, inner) > 300;
    });
    const std::wstring cadrels = Type(L"cadrels", L"cadrels");
    EXPECT_NE(cadrels.find(L"7-Zip Cadrels"), std::wstring::npos) << cadrels;
    Screenshot(L"launchpad-search-en.png", [&](const ScreenImage& image) { return CountTextPixels(image, inner) > 50; });
    const std::wstring none = Type(L"qqq", L"cadrelsqqq");
    EXPECT_NE(none.find(L"0 resultat(s)"), std::wstring::npos) << none;
    const RECT message{bounds.left + 30, bounds.top + 90, bounds.left + 400, bounds.top + 142};
    Screenshot(L"launchpad-empty-en.png",
               [&](const ScreenImage& image) { return CountTextPixels(image, message) > 50; });
    SendKey(VK_ESCAPE);
    ASSERT_TRUE(WaitVisible(false));
}

}  // namespace
}  // namespace cadrels::testing
