// The cadrel menu, the item menu, in-place renaming and closing a cadrel,
// end to end: real pointer input on the real program, the dark menu's
// windows found and clicked where its layout puts each entry, and the
// results read from the disk, the layout file and the diagnostic lines.
#include "CadrelScenario.h"
#include "DesktopInput.h"
#include "FileDrag.h"
#include "HostableWindows.h"
#include "KeyInput.h"
#include "ScreenImage.h"
#include "TestFiles.h"

#include "app/CopyData.h"
#include "app/PageRequest.h"
#include "base/UniqueHandle.h"
#include "base/AppMessages.h"
#include "cadrel/Cadrel.h"
#include "cadrel/CadrelLayout.h"
#include "cadrel/CadrelMenuModel.h"
#include "cadrel/HostMenuWindows.h"
#include "cadrel/ItemMenuModel.h"
#include "dock/IconPickerLayout.h"
#include "gfx/BuiltinIconTable.h"
#include "i18n/StringTable.h"
#include "model/ContainerFolders.h"
#include "model/Snapshots.h"
#include "settings/MenuLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

constexpr wchar_t MenuClass[] = L"Cadrels.DarkMenu";
constexpr wchar_t PromptClass[] = L"Cadrels.DarkPrompt";
constexpr wchar_t RenameClass[] = L"Cadrels.RenameHost";

class CadrelMenus : public CadrelScenario {
protected:
    CadrelMenus() : CadrelScenario(L"cadrel-menus") {}

    void SetUp() override
    {
        // The scenarios drag files in as another program would.
        OleInitialize(nullptr);
        CadrelScenario::SetUp();
    }
    void TearDown() override
    {
        CadrelScenario::TearDown();
        for (const std::wstring& path : cleanup_) {
            RemoveTree(path);
        }
        OleUninitialize();
    }

    std::wstring MakeFolder(const std::wstring& parent, const wchar_t* name, std::vector<const wchar_t*> files)
    {
        const std::wstring folder = parent + L"\\" + name;
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const wchar_t* file : files) {
            WriteBytes(folder + L"\\" + file, "x");
        }
        return folder;
    }

    // A container as the program makes them: in the container root, with
    // its marker.
    std::wstring MakeContainer(const wchar_t* name, std::vector<const wchar_t*> files)
    {
        CreateDirectoryW(ContainerRootFolder().c_str(), nullptr);
        const std::wstring folder = MakeFolder(ContainerRootFolder(), name, std::move(files));
        // As the program makes it: hidden and system. (Wine 8 hides every
        // dot file by itself; Wine 10 does not.)
        const std::wstring marker = folder + L"\\" + ContainerMarkerName;
        WriteBytes(marker, "");
        SetFileAttributesW(marker.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        return folder;
    }

    std::vector<HWND> Menus() const { return app_.TopLevelWindows(MenuClass); }

    // The root level opens at the pointer, moved into the work area when it
    // does not fit; a submenu the pointer happens to open is shorter.
    HWND Root() const
    {
        HWND root = nullptr;
        int height = 0;
        for (HWND window : Menus()) {
            const PixelRect rect = RectOf(window);
            if (rect.left <= lastClick_.x && rect.right > lastClick_.x && rect.top <= lastClick_.y &&
                rect.bottom > lastClick_.y && rect.Height() > height) {
                root = window;
                height = rect.Height();
            }
        }
        return root;
    }

    // The submenu of root entry `index`, once it has opened where it should.
    HWND SubmenuOf(HWND root, const std::vector<DarkMenuItem>& items, int index) const
    {
        const MenuMetrics metrics = MenuMetricsAt(96);
        const MenuLevelLayout layout = MeasureMenuLevel(items, metrics, [](const std::wstring&) { return 100; });
        const MenuLevelLayout child =
            MeasureMenuLevel(items[static_cast<size_t>(index)].children, metrics, [](const std::wstring&) { return 100; });
        const int left = RectOf(root).right - metrics.submenuOffset;
        (void)layout;
        HWND found = nullptr;
        WaitFor([&] {
            for (HWND window : Menus()) {
                const PixelRect rect = RectOf(window);
                if (window != root && IsWindowVisible(window) && std::abs(rect.left - left) <= 2 &&
                    rect.Height() == child.height) {
                    found = window;
                    return true;
                }
            }
            return false;
        });
        return found;
    }

    // Right-clicks the point and waits for the menu's opening line.
    bool OpenMenuAt(POINT at, const std::string& id)
    {
        const std::wstring line = L"Menu de cadrel " + std::wstring(id.begin(), id.end()) + L" ouvert";
        const size_t before = app_.CountLines(line);
        RightClick(at);
        if (!app_.WaitForLine(line, 5000, before + 1)) {
            ADD_FAILURE() << "no menu line";
            return false;
        }
        lastClick_ = CursorNow();
        if (WaitFor([&] { return Root() != nullptr; })) {
            return true;
        }
        for (HWND window : Menus()) {
            const PixelRect rect = RectOf(window);
            ADD_FAILURE() << "level at " << rect.left << "," << rect.top << " " << rect.Width() << "x" << rect.Height()
                          << (IsWindowVisible(window) ? " visible" : " hidden") << "; pointer " << lastClick_.x << ","
                          << lastClick_.y;
        }
        return false;
    }

    // The entry structure the last opening logged.
    std::wstring LastMenuIds(const std::string& id) const
    {
        const std::wstring prefix = L"Menu de cadrel " + std::wstring(id.begin(), id.end()) + L" ouvert : ";
        std::wstring last;
        for (const std::wstring& line : app_.Lines()) {
            if (line.rfind(prefix, 0) == 0) {
                last = line.substr(prefix.size());
            }
        }
        return L" " + last;
    }

    // Where entry `index` of a level lies on the screen.
    static POINT EntryPoint(HWND level, const std::vector<DarkMenuItem>& items, int index)
    {
        const MenuMetrics metrics = MenuMetricsAt(static_cast<int>(GetDpiForWindow(level) ? GetDpiForWindow(level) : 96));
        const MenuLevelLayout layout = MeasureMenuLevel(items, metrics, [](const std::wstring&) { return 100; });
        const PixelRect rect = RectOf(level);
        return {rect.left + 60, rect.top + layout.tops[static_cast<size_t>(index)] +
                                    layout.heights[static_cast<size_t>(index)] / 2};
    }

    static int IndexOf(const std::vector<DarkMenuItem>& items, int id)
    {
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].id == id) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    // Clicks entry `id` of the root menu `items`, or of the submenu of the
    // root entry `submenuId` when that is given (found by its position).
    void Choose(const std::vector<DarkMenuItem>& items, int id, int submenuIndex = -1)
    {
        HWND root = Root();
        ASSERT_NE(root, nullptr);
        if (submenuIndex < 0) {
            const int index = IndexOf(items, id);
            ASSERT_GE(index, 0) << id;
            Click(EntryPoint(root, items, index));
        } else {
            PointerTo(EntryPoint(root, items, submenuIndex));
            HWND child = SubmenuOf(root, items, submenuIndex);
            ASSERT_NE(child, nullptr);
            const std::vector<DarkMenuItem>& children = items[static_cast<size_t>(submenuIndex)].children;
            const int index = IndexOf(children, id);
            ASSERT_GE(index, 0) << id;
            const POINT target = EntryPoint(child, children, index);
            // Along the submenu's row first, so the pointer never crosses
            // another entry of the parent.
            PointerTo({target.x, EntryPoint(root, items, submenuIndex).y});
            Click(target);
        }
        EXPECT_TRUE(WaitFor([&] { return Menus().empty(); }));
    }

    static int SubmenuIndex(const std::vector<DarkMenuItem>& items, const std::wstring& label)
    {
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].label == label) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    POINT TitleOfWindow(HWND cadrel) const
    {
        const PixelRect rect = RectOf(cadrel);
        return {rect.left + rect.Width() / 2, rect.top + 12};
    }

    // Types into the open rename box as a user would end it: Enter.
    bool CommitRenameText(const std::wstring& text)
    {
        HWND host = nullptr;
        if (!WaitFor([&] {
                const std::vector<HWND> hosts = app_.TopLevelWindows(RenameClass);
                host = hosts.empty() ? nullptr : hosts.front();
                return host != nullptr && IsWindowVisible(host);
            })) {
            return false;
        }
        HWND edit = FindWindowExW(host, nullptr, L"EDIT", nullptr);
        if (edit == nullptr) {
            return false;
        }
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        return WaitFor([&] { return app_.TopLevelWindows(RenameClass).empty(); });
    }

    static CadrelView ViewOf(HWND window)
    {
        RECT client{};
        GetClientRect(window, &client);
        CadrelView view;
        view.width = client.right;
        view.height = client.bottom;
        view.viewMode = ViewIconGrid;
        view.dpi = GetDpiForWindow(window) == 0 ? 96 : GetDpiForWindow(window);
        return view;
    }

    // The screen point at the centre of item `index`'s cell.
    static POINT Cell(HWND window, int index, int count)
    {
        const LayoutRect cell = ItemCellRect(ViewOf(window), index, count, 0);
        const PixelRect rect = RectOf(window);
        return {rect.left + static_cast<LONG>((cell.left + cell.right) / 2),
                rect.top + static_cast<LONG>((cell.top + cell.bottom) / 2)};
    }

    // Selects the item, then a second, slower click opens its rename box.
    // A listing that arrives in between (the folder watcher after a change)
    // starts without a selection; one more slow click then does it.
    bool OpenItemRename(HWND cadrel, int index, int count)
    {
        const auto open = [&] {
            const std::vector<HWND> hosts = app_.TopLevelWindows(RenameClass);
            return !hosts.empty() && IsWindowVisible(hosts.front());
        };
        Click(Cell(cadrel, index, count));
        for (int attempt = 0; attempt < 3; ++attempt) {
            Sleep(GetDoubleClickTime() + 150);
            if (open()) {
                return true;
            }
            Click(Cell(cadrel, index, count));
            if (WaitFor(open, 1500)) {
                return true;
            }
        }
        return false;
    }

    // Clicks button `index` of the open choice prompt.
    bool AnswerPrompt(int index)
    {
        HWND prompt = nullptr;
        if (!WaitFor([&] {
                const std::vector<HWND> prompts = app_.TopLevelWindows(PromptClass);
                prompt = prompts.empty() ? nullptr : prompts.front();
                return prompt != nullptr && IsWindowVisible(prompt);
            })) {
            return false;
        }
        HWND button = GetDlgItem(prompt, 100 + index);
        if (button == nullptr) {
            return false;
        }
        PostMessageW(prompt, WM_COMMAND, MAKEWPARAM(100 + index, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return WaitFor([&] { return !IsWindow(prompt); });
    }

    // The text of the open choice prompt, or empty when none opens.
    std::wstring PromptText()
    {
        HWND prompt = nullptr;
        if (!WaitFor([&] {
                const std::vector<HWND> prompts = app_.TopLevelWindows(PromptClass);
                prompt = prompts.empty() ? nullptr : prompts.front();
                return prompt != nullptr && IsWindowVisible(prompt);
            })) {
            return {};
        }
        const HWND label = FindWindowExW(prompt, nullptr, L"Static", nullptr);
        wchar_t text[2048] = {};
        DWORD_PTR length = 0;
        if (label == nullptr || !SendMessageTimeoutW(label, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                                                     SMTO_NORMAL, 5000, &length)) {
            return {};
        }
        return std::wstring(text, length);
    }

    // Asks the program for a page operation as another process does.
    void RequestPage(const PageRequest& request) const
    {
        const std::wstring payload = CopyDataPayload(PageRequestText(request));
        COPYDATASTRUCT data{CopyDataPageRequest, static_cast<DWORD>(payload.size() * sizeof(wchar_t)),
                            const_cast<wchar_t*>(payload.data())};
        DWORD_PTR result = 0;
        SendMessageTimeoutW(app_.AppWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 5000,
                            &result);
    }

    // A switch to the second page asked while something modal is open: it is
    // refused, and the cadrel under the modal loop is still there.
    void ExpectPageSwitchRefused(HWND cadrel)
    {
        const size_t refused = app_.CountLines(L"Changement de page refuse");
        RequestPage({PageAction::SwitchPage, 1, L""});
        EXPECT_TRUE(app_.WaitForLine(L"Changement de page refuse : une operation est en cours.", 5000, refused + 1));
        EXPECT_TRUE(IsWindow(cadrel)) << "the page's cadrels were not destroyed under the modal loop";
        EXPECT_EQ(app_.CountLines(L"Page affichee"), 0u);
    }

    std::wstring ClipboardText() const
    {
        std::wstring text;
        if (OpenClipboard(nullptr)) {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                    text = chars;
                    GlobalUnlock(data);
                }
            }
            CloseClipboard();
        }
        return text;
    }

    std::vector<std::wstring> cleanup_;
    POINT lastClick_{};
};

// What the program's menu holds for a cadrel of this state, as the test
// builds it from the same model.
std::vector<DarkMenuItem> ExpectedMenu(int tabs, bool emblem, double opacity, bool locked = false)
{
    CadrelMenuState state;
    state.tabCount = tabs;
    state.hasEmblem = emblem;
    state.opacity = opacity;
    state.locked = locked;
    return BuildCadrelMenu(state, CadrelMenuFacts{});
}

// The titles the hosting submenu lists now, without the windows a cadrel
// already holds.
std::vector<std::wstring> HostTitlesNow(const std::vector<HWND>& held)
{
    const auto isHeld = [&](HWND window) { return std::find(held.begin(), held.end(), window) != held.end(); };
    std::vector<std::wstring> titles;
    for (const HostWindowFacts& window : HostCandidates(TopLevelWindows(isHeld))) {
        titles.push_back(HostMenuTitle(window.title));
    }
    return titles;
}

bool Inside(const PixelRect& inner, const PixelRect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

TEST_F(CadrelMenus, HostingSubmenuHostsTheWindowAndReleaseAndRehostFollow)
{
    struct EndWindows {
        ~EndWindows() { EndHostables(); }
    } endWindows;
    const std::wstring folder = MakeFolder(root_, L"hote", {L"a.txt"});
    Workspace page;
    page.id = "{page}";
    page.name = L"Page";
    AddPinned(page, "menus-hote", 0.05, 0.10, 0.45, 0.60, {CadrelTab{L"Dossier", folder}});
    StartWithPage(page);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-hote : 1 elements listes.", 5000));
    HWND cadrel = CadrelTitled(L"Dossier");
    ASSERT_NE(cadrel, nullptr);
    HWND window = StartHostable(HostableExe(), L"Hote Menu", work_.right - 420, work_.bottom - 330);
    ASSERT_NE(window, nullptr);
    const PixelRect before = RectOf(window);

    // The submenu lists the test window; choosing it hosts it over the cadrel.
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(cadrel), "menus-hote"));
    CadrelMenuState state;
    state.opacity = 0.62;
    state.hostTitles = HostTitlesNow({});
    const auto listed = std::find(state.hostTitles.begin(), state.hostTitles.end(), L"Hote Menu");
    ASSERT_NE(listed, state.hostTitles.end());
    const int host = CadrelCmdHostFirst + static_cast<int>(listed - state.hostTitles.begin());
    EXPECT_NE(LastMenuIds("menus-hote").find(L"[" + std::to_wstring(host) + L" "), std::wstring::npos)
        << LastMenuIds("menus-hote");
    std::vector<DarkMenuItem> menu = BuildCadrelMenu(state, CadrelMenuFacts{});
    Choose(menu, host, SubmenuIndex(menu, L"Héberger une application"));
    ASSERT_TRUE(app_.WaitForLine(L"Fenetre hebergee dans la cadrel menus-hote", 5000));
    EXPECT_TRUE(WaitFor([&] { return Inside(RectOf(window), RectOf(cadrel)); })) << RectOf(window);

    // Hosted, the menu offers to let it go; released, it returns to where
    // it stood and the menu offers to take it back.
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(cadrel), "menus-hote"));
    EXPECT_NE(LastMenuIds("menus-hote").find(L" 27 "), std::wstring::npos) << LastMenuIds("menus-hote");
    // The active tab itself now shows the application, wearing its icon.
    state.hasEmblem = true;
    state.hostTitles = HostTitlesNow({window});
    CadrelMenuFacts hosting;
    hosting.activeTabHosts = true;
    Choose(BuildCadrelMenu(state, hosting), CadrelCmdReleaseHosted);
    ASSERT_TRUE(app_.WaitForLine(L"Fenetre liberee par la cadrel menus-hote", 5000));
    EXPECT_TRUE(WaitFor([&] { return RectOf(window) == before; })) << RectOf(window) << " vs " << before;

    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(cadrel), "menus-hote"));
    const std::wstring ids = LastMenuIds("menus-hote");
    EXPECT_EQ(ids.find(L" 27 "), std::wstring::npos) << ids;
    ASSERT_NE(ids.find(L" 28 "), std::wstring::npos) << ids;
}

TEST_F(CadrelMenus, CadrelMenuEntriesRenameTabsAndQuit)
{
    const std::wstring one = MakeFolder(root_, L"un", {L"a.txt", L"b.txt"});
    const std::wstring two = MakeFolder(root_, L"deux", {L"c.txt"});
    const std::wstring box = MakeContainer(L"Boite", {});
    cleanup_.push_back(box);
    Workspace page;
    page.id = "{page}";
    page.name = L"Page";
    CadrelTab first{L"Un", one};
    first.emblem = L"svg:trash";
    AddPinned(page, "menus-a", 0.05, 0.10, 0.30, 0.45, {first, CadrelTab{L"Deux", two}});
    AddPinned(page, "menus-b", 0.55, 0.10, 0.30, 0.45, {CadrelTab{L"Boite", box}});
    StartWithPage(page);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-b : 0 elements listes.", 5000));
    HWND a = CadrelTitled(L"Un");
    HWND b = CadrelTitled(L"Boite");
    ASSERT_TRUE(a && b);

    // Two tabs and an emblem: closing the tab and removing the icon are offered.
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(a), "menus-a"));
    const std::wstring ids = LastMenuIds("menus-a");
    for (const wchar_t* offered : {L" 200- ", L" 201- ", L" 25 ", L" 241 ", L" 240 ", L" 1 ", L" 3 ", L" 4 ", L" 9 "}) {
        EXPECT_NE(ids.find(offered), std::wstring::npos) << offered << " in" << ids;
    }
    EXPECT_EQ(ids.find(L" 27 "), std::wstring::npos) << "nothing hosted";

    // The opacity submenu open, its 60 % entry marked for 0.62: kept as a
    // picture for a person to look at, and chosen 40 %.
    std::vector<DarkMenuItem> menu = ExpectedMenu(2, true, 0.62);
    const int opacity = SubmenuIndex(menu, L"Opacité");
    ASSERT_GE(opacity, 0);
    HWND root = Root();
    ASSERT_NE(root, nullptr);
    PointerTo(EntryPoint(root, menu, opacity));
    HWND sub = SubmenuOf(root, menu, opacity);
    ASSERT_NE(sub, nullptr);
    Sleep(300);
    ScreenImage screen;
    ASSERT_TRUE(screen.Capture());
    EXPECT_TRUE(screen.SavePng(std::wstring(CADRELS_TEST_OUTPUT_DIR) + L"\\cadrel-menu.png"));
    Button(MOUSEEVENTF_RIGHTDOWN);  // a right click outside the items chooses nothing
    Button(MOUSEEVENTF_RIGHTUP);
    Sleep(200);
    ASSERT_TRUE(IsWindow(root) && IsWindow(sub)) << "a right click on an entry keeps the menu open";
    const std::vector<DarkMenuItem>& percents = menu[static_cast<size_t>(opacity)].children;
    const POINT forty = EntryPoint(sub, percents, IndexOf(percents, CadrelCmdOpacityFirst + 3));
    PointerTo({forty.x, EntryPoint(root, menu, opacity).y});
    Click(forty);
    ASSERT_TRUE(WaitFor([&] { return Menus().empty(); }));
    EXPECT_TRUE(app_.WaitForLine(L"Menu de cadrel menus-a : choix 73.", 3000));

    // Locking, removing the emblem, closing the tab: each as the menu offers it.
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(a), "menus-a"));
    Choose(ExpectedMenu(2, true, 0.4), CadrelCmdLock);
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(a), "menus-a"));
    Choose(ExpectedMenu(2, true, 0.4, true), CadrelCmdRemoveTabIcon);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-a : embleme de l'onglet 0 = \"\".", 3000));
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(a), "menus-a"));
    EXPECT_EQ(LastMenuIds("menus-a").find(L" 241 "), std::wstring::npos) << "no emblem left to remove";
    // A new emblem from the icon picker's first built-in icon.
    Choose(ExpectedMenu(2, false, 0.4, true), CadrelCmdTabIcon);
    HWND picker = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<HWND> pickers = app_.TopLevelWindows(L"Cadrels.IconPicker");
        picker = pickers.empty() ? nullptr : pickers.front();
        return picker != nullptr && IsWindowVisible(picker);
    }));
    Sleep(300);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const IconPickerGeometry geometry =
        ComputeIconPickerGeometry(168, 1.0f, work.right - work.left, work.bottom - work.top);
    const DockRect cell = IconPickerCell(geometry, 0);
    const PixelRect pickerRect = RectOf(picker);
    Click({pickerRect.left + static_cast<LONG>(cell.CentreX()),
           pickerRect.top + static_cast<LONG>((cell.top + cell.bottom) / 2)});
    const std::wstring firstKey = BuiltinIconTable()[0].key;
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-a : embleme de l'onglet 0 = \"" + firstKey + L"\".", 3000));
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(a), "menus-a"));
    EXPECT_NE(LastMenuIds("menus-a").find(L" 241 "), std::wstring::npos) << "the new emblem can be removed";
    Choose(ExpectedMenu(2, true, 0.4, true), CadrelCmdCloseTab);
    ASSERT_TRUE(WaitFor([&] { return TitleOf(a) == L"Deux"; }));
    EXPECT_TRUE(FolderExists(one)) << "a closed tab's folder stays on disk";

    Settings saved = SaveAndReadLayout(app_, appData_);
    ASSERT_EQ(saved.workspaces.size(), 1u);
    const CadrelRecord* recordA = nullptr;
    for (const CadrelRecord& record : saved.workspaces[0].cadrels) {
        if (record.id == "menus-a") {
            recordA = &record;
        }
    }
    ASSERT_NE(recordA, nullptr);
    EXPECT_NEAR(recordA->opacity, 0.40, 1e-9);
    EXPECT_TRUE(recordA->locked);
    ASSERT_EQ(recordA->tabs.size(), 1u);
    EXPECT_EQ(recordA->tabs[0].folder, two);

    // One tab: no "Fermer l'onglet". Renaming the tab through the edit box:
    // an empty title changes nothing, a new one is kept.
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(a), "menus-a"));
    EXPECT_EQ(LastMenuIds("menus-a").find(L" 25 "), std::wstring::npos);
    Choose(ExpectedMenu(1, false, 0.4, true), CadrelCmdRenameTab);
    ASSERT_TRUE(CommitRenameText(L"   "));
    EXPECT_TRUE(app_.WaitForLine(L"Cadrel menus-a : titre d'onglet inchange.", 3000));
    EXPECT_EQ(TitleOf(a), L"Deux");
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(a), "menus-a"));
    Choose(ExpectedMenu(1, false, 0.4, true), CadrelCmdRenameTab);
    ASSERT_TRUE(CommitRenameText(L"  Seconde  "));
    ASSERT_TRUE(WaitFor([&] { return TitleOf(a) == L"Seconde"; }));
    EXPECT_TRUE(FolderExists(two)) << "a folder that is no container keeps its name";

    // A container tab's folder follows its new title.
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(b), "menus-b"));
    Choose(ExpectedMenu(1, false, 0.62), CadrelCmdRenameTab);
    ASSERT_TRUE(CommitRenameText(L"Coffre"));
    ASSERT_TRUE(WaitFor([&] { return TitleOf(b) == L"Coffre"; }));
    const std::wstring renamedBox = ContainerRootFolder() + L"\\Coffre";
    cleanup_.push_back(renamedBox);
    EXPECT_TRUE(WaitFor([&] { return FolderExists(renamedBox) && !FolderExists(box); }));

    // The file search is not there yet and says so.
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(b), "menus-b"));
    Choose(ExpectedMenu(1, false, 0.62), CadrelCmdFileSearch);
    EXPECT_TRUE(app_.WaitForLine(L"Recherche de fichiers : pas encore disponible.", 3000));

    // "Quitter" ends the process cleanly with the layout saved.
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(b), "menus-b"));
    Choose(ExpectedMenu(1, false, 0.62), CadrelCmdQuit);
    const std::optional<DWORD> code = app_.WaitForExit(15000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    saved = ReadLayout(appData_);
    ASSERT_EQ(saved.workspaces.size(), 1u);
    bool foundB = false;
    for (const CadrelRecord& record : saved.workspaces[0].cadrels) {
        if (record.id == "menus-b") {
            foundB = true;
            ASSERT_EQ(record.tabs.size(), 1u);
            EXPECT_EQ(record.tabs[0].title, L"Coffre");
            EXPECT_EQ(record.tabs[0].folder, renamedBox);
        }
    }
    EXPECT_TRUE(foundB);
}

// A prompt and the icon picker's file dialog run their own message loops; a
// page switch arriving meanwhile would destroy the cadrel whose code goes on
// once they close.
TEST_F(CadrelMenus, APageSwitchWaitsUntilThePromptsAndTheFileDialogClose)
{
    const std::wstring folder = MakeFolder(root_, L"regles", {L"a.txt"});
    Workspace first;
    first.id = "{une}";
    first.name = L"Une";
    AddPinned(first, "menus-regle", 0.05, 0.10, 0.40, 0.50, {CadrelTab{L"Regles", folder}});
    Workspace second;
    second.id = "{deux}";
    second.name = L"Deux";
    StartWithPages({first, second});
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-regle : 1 elements listes.", 5000));
    HWND cadrel = CadrelTitled(L"Regles");
    ASSERT_NE(cadrel, nullptr);

    // The sorting rule's name prompt: the switch waits, the typed pattern is
    // still applied to the cadrel once the prompt is answered.
    const std::vector<DarkMenuItem> menu = ExpectedMenu(1, false, 0.62);
    int rules = -1;
    for (size_t i = 0; i < menu.size(); ++i) {
        if (IndexOf(menu[i].children, CadrelCmdRuleNamePattern) >= 0) {
            rules = static_cast<int>(i);
        }
    }
    ASSERT_GE(rules, 0);
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(cadrel), "menus-regle"));
    Choose(menu, CadrelCmdRuleNamePattern, rules);
    HWND prompt = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<HWND> prompts = app_.TopLevelWindows(PromptClass);
        prompt = prompts.empty() ? nullptr : prompts.front();
        return prompt != nullptr && IsWindowVisible(prompt);
    }));
    ExpectPageSwitchRefused(cadrel);
    HWND edit = FindWindowExW(prompt, nullptr, L"EDIT", nullptr);
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"facture"));
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(prompt); }));
    const Settings saved = SaveAndReadLayout(app_, appData_);
    ASSERT_EQ(saved.workspaces.size(), 2u);
    ASSERT_EQ(saved.workspaces[0].cadrels.size(), 1u);
    EXPECT_EQ(saved.workspaces[0].cadrels[0].rule.name, L"facture");

    // The icon picker's "Custom image" file dialog.
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(cadrel), "menus-regle"));
    Choose(ExpectedMenu(1, false, 0.62), CadrelCmdTabIcon);
    HWND picker = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<HWND> pickers = app_.TopLevelWindows(L"Cadrels.IconPicker");
        picker = pickers.empty() ? nullptr : pickers.front();
        return picker != nullptr && IsWindowVisible(picker);
    }));
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const IconPickerGeometry geometry =
        ComputeIconPickerGeometry(168, 1.0f, work.right - work.left, work.bottom - work.top);
    const DockRect custom = IconPickerCustomButton(geometry);
    const PixelRect pickerRect = RectOf(picker);
    Click({pickerRect.left + static_cast<LONG>(custom.CentreX()),
           pickerRect.top + static_cast<LONG>((custom.top + custom.bottom) / 2)});
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND window : app_.TopLevelWindows(L"#32770")) {
            if (IsWindowVisible(window)) {
                dialog = window;
                return true;
            }
        }
        return false;
    })) << "the file dialog opened";
    ExpectPageSwitchRefused(cadrel);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));

    // With nothing modal open the same request switches the page.
    PostMessageW(picker, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return app_.TopLevelWindows(L"Cadrels.IconPicker").empty(); }));
    RequestPage({PageAction::SwitchPage, 1, L""});
    EXPECT_TRUE(app_.WaitForLine(L"Page affichee : 1.", 5000));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(cadrel); }));
}

TEST_F(CadrelMenus, ItemMenuFileRenameAndClosingCadrels)
{
    const std::wstring files =
        MakeFolder(root_, L"fichiers", {L"a.txt", L"Outil.lnk", L"rapport.docx", L"x1.txt", L"x2.txt", L"x3.txt"});
    const std::wstring carton = MakeContainer(L"Carton", {L"lettre.txt"});
    const std::wstring empty = MakeContainer(L"Vide", {});
    const std::wstring shared = MakeContainer(L"Partage", {L"photo.txt"});
    cleanup_.push_back(shared);
    const std::wstring bin = MakeContainer(L"Poubelle", {L"vieux.txt"});
    const std::wstring bag = MakeContainer(L"Sac", {L"sac.txt"});
    const std::wstring held = MakeContainer(L"Tenu", {L"libre.txt", L"tenu.txt"});
    const std::wstring desktop = KnownFolderPath(FOLDERID_Desktop);
    cleanup_.push_back(desktop + L"\\lettre.txt");
    cleanup_.push_back(desktop + L"\\libre.txt");
    cleanup_.push_back(desktop + L"\\tenu.txt");
    Workspace page;
    page.id = "{page}";
    page.name = L"Page";
    const std::wstring others = MakeFolder(root_, L"autres", {L"autre.txt"});
    AddPinned(page, "menus-f", 0.02, 0.04, 0.30, 0.42, {CadrelTab{L"Fichiers", files}, CadrelTab{L"Autres", others}});
    AddPinned(page, "menus-c", 0.34, 0.04, 0.30, 0.42, {CadrelTab{L"Carton", carton}});
    AddPinned(page, "menus-d", 0.66, 0.04, 0.30, 0.42, {CadrelTab{L"Vide", empty}});
    AddPinned(page, "menus-s1", 0.02, 0.52, 0.30, 0.42, {CadrelTab{L"Partage", shared}});
    AddPinned(page, "menus-s2", 0.34, 0.52, 0.30, 0.42, {CadrelTab{L"Aussi", shared}});
    AddPinned(page, "menus-r", 0.66, 0.52, 0.30, 0.42, {CadrelTab{L"Poubelle", bin}, CadrelTab{L"Sac", bag}});
    // Below the title bar of "Vide", which closes before this one is used.
    AddPinned(page, "menus-h", 0.70, 0.24, 0.22, 0.20, {CadrelTab{L"Tenu", held}});
    StartWithPage(page);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-f : 6 elements listes.", 5000));
    HWND f = CadrelTitled(L"Fichiers");
    ASSERT_NE(f, nullptr);
    // Sorted by name: a.txt, Outil, rapport.docx, x1.txt, x2.txt, x3.txt.

    // Refused names leave the file as it is.
    for (const wchar_t* refused : {L"CON.txt", L"a:b", L"nom."}) {
        ASSERT_TRUE(OpenItemRename(f, 2, 6)) << refused;
        const size_t before = app_.CountLines(L"Renommage refuse");
        ASSERT_TRUE(CommitRenameText(refused));
        EXPECT_TRUE(app_.WaitForLine(L"Renommage refuse", 3000, before + 1)) << refused;
        EXPECT_TRUE(FileExists(files + L"\\rapport.docx")) << refused;
    }
    ASSERT_TRUE(OpenItemRename(f, 2, 6));
    ASSERT_TRUE(CommitRenameText(L"rapport final.docx"));
    EXPECT_TRUE(WaitFor([&] { return FileExists(files + L"\\rapport final.docx"); }));
    EXPECT_FALSE(FileExists(files + L"\\rapport.docx"));
    // The rename is on the undo stack.
    ASSERT_TRUE(app_.WaitForLine(L"Annulation : 1 entree(s) a annuler", 3000));
    PostMessageW(app_.AppWindow(), WM_APP_UNDO, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return FileExists(files + L"\\rapport.docx"); })) << "undone";
    EXPECT_FALSE(FileExists(files + L"\\rapport final.docx"));
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-f : 6 elements listes.", 5000, 2));

    // A shortcut keeps its hidden extension; a change of letter case only is allowed.
    ASSERT_TRUE(OpenItemRename(f, 1, 6));
    ASSERT_TRUE(CommitRenameText(L"Outil 2"));
    EXPECT_TRUE(WaitFor([&] { return FileExists(files + L"\\Outil 2.lnk"); }));
    ASSERT_TRUE(OpenItemRename(f, 0, 6));
    ASSERT_TRUE(CommitRenameText(L"A.txt"));
    EXPECT_TRUE(app_.WaitForLine(L"\\a.txt en A.txt.", 3000));

    // x1..x3 selected; a right click on one of them acts on the three, on
    // another item on that item alone; "Copier le chemin du fichier" copies
    // the clicked item's path only.
    Click(Cell(f, 3, 6));
    ModifiedClick(f, Cell(f, 5, 6), MK_SHIFT);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-f : selection [3,4,5].", 3000));
    RightClick(Cell(f, 4, 6));
    ASSERT_TRUE(app_.WaitForLine(L"3 cible(s)", 5000));
    const std::wstring opened = app_.Lines().back();
    const bool shellMenu = opened.find(L"ouvert : menu du shell") != std::wstring::npos;
    EXPECT_NE(opened.find(L"x2.txt"), std::wstring::npos) << opened;
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<HWND> native = app_.TopLevelWindows(L"#32768");
        const std::vector<HWND> dark = Menus();
        menu = !native.empty() ? native.front() : !dark.empty() ? dark.front() : nullptr;
        return menu != nullptr && IsWindowVisible(menu);
    }));
    Sleep(300);
    ScreenImage screen;
    ASSERT_TRUE(screen.Capture());
    EXPECT_TRUE(screen.SavePng(std::wstring(CADRELS_TEST_OUTPUT_DIR) + L"\\item-menu.png"));
    if (shellMenu) {
        // The shell's menu: the keyboard walks to the fourth entry.
        for (int i = 0; i < 4; ++i) {
            SendCombination({}, VK_DOWN);
            Sleep(80);
        }
        SendCombination({}, VK_RETURN);
    } else {
        std::vector<DarkMenuItem> items;
        for (const ItemMenuEntry& entry : ItemMenuEntries(3, false)) {
            DarkMenuItem item;
            item.id = entry.id;
            item.label = entry.label;
            items.push_back(item);
        }
        lastClick_ = CursorNow();
        Choose(items, ItemCmdCopyPath);
    }
    ASSERT_TRUE(app_.WaitForLine(L"Chemin copie : ", 5000));
    EXPECT_EQ(ClipboardText(), files + L"\\x2.txt");
    RightClick(Cell(f, 2, 6));
    ASSERT_TRUE(app_.WaitForLine(L"1 cible(s)", 5000));
    EXPECT_NE(app_.Lines().back().find(L"rapport.docx"), std::wstring::npos) << app_.Lines().back();
    ASSERT_TRUE(WaitFor([&] { return !app_.TopLevelWindows(L"#32768").empty() || !Menus().empty(); }));
    Sleep(200);
    SendCombination({}, VK_ESCAPE);  // closes it without a choice
    ASSERT_TRUE(app_.WaitForLine(L"Menu de l'element : choix 0x0.", 5000));
    EXPECT_FALSE(opened.empty());

    // An empty container: nothing is asked, the container goes.
    HWND d = CadrelTitled(L"Vide");
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(d), "menus-d"));
    Choose(ExpectedMenu(1, false, 0.62), CadrelCmdClose);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-d fermee", 5000));
    EXPECT_FALSE(FolderExists(empty));
    EXPECT_TRUE(app_.TopLevelWindows(PromptClass).empty());

    // A close whose files cannot all leave (another program holds one open
    // without sharing) keeps the cadrel and tells which files stayed; the
    // one that did leave is undoable.
    HWND h = CadrelTitled(L"Tenu");
    ASSERT_NE(h, nullptr);
    {
        UniqueFile open(CreateFileW((held + L"\\tenu.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(open);
        ASSERT_TRUE(OpenMenuAt(TitleOfWindow(h), "menus-h"));
        Choose(ExpectedMenu(1, false, 0.62), CadrelCmdClose);
        ASSERT_TRUE(AnswerPrompt(1));
        ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-h gardee : 1 deplacement(s), 1 fichier(s) restes en place.", 8000));
        const std::wstring told = PromptText();
        EXPECT_NE(told.find(L"ces fichiers n'ont pas pu être déplacés"), std::wstring::npos) << told;
        EXPECT_NE(told.find(held + L"\\tenu.txt"), std::wstring::npos) << told;
        EXPECT_EQ(told.find(L"libre.txt"), std::wstring::npos) << told;
        ASSERT_TRUE(AnswerPrompt(0));
    }
    EXPECT_TRUE(FileExists(held + L"\\tenu.txt"));
    EXPECT_TRUE(FileExists(desktop + L"\\libre.txt"));
    EXPECT_TRUE(FileExists(held + L"\\" + std::wstring(ContainerMarkerName)));
    EXPECT_EQ(app_.CountLines(L"Cadrel menus-h fermee"), 0u);
    h = CadrelTitled(L"Tenu");
    ASSERT_NE(h, nullptr) << "the cadrel is back where it stood";
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-h : 1 elements listes.", 5000));
    // Once the other program lets go, the close goes through.
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(h), "menus-h"));
    Choose(ExpectedMenu(1, false, 0.62), CadrelCmdClose);
    ASSERT_TRUE(AnswerPrompt(1));
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-h fermee : 1 deplacement(s)", 5000));
    EXPECT_TRUE(FileExists(desktop + L"\\tenu.txt"));
    EXPECT_FALSE(FolderExists(held));

    // Cancel changes nothing and takes no snapshot.
    HWND c = CadrelTitled(L"Carton");
    ASSERT_NE(c, nullptr);
    const size_t snapshotsBefore = app_.CountLines(L"Instantane automatique");
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(c), "menus-c"));
    Choose(ExpectedMenu(1, false, 0.62), CadrelCmdClose);
    ASSERT_TRUE(AnswerPrompt(3));
    ASSERT_TRUE(app_.WaitForLine(L"Fermeture de cadrel menus-c annulee.", 3000));
    EXPECT_TRUE(IsWindow(c));
    EXPECT_TRUE(FileExists(carton + L"\\lettre.txt"));
    EXPECT_EQ(app_.CountLines(L"Instantane automatique"), snapshotsBefore);

    // Move to the Desktop, then undo: no cadrel shows the container any
    // more, so the undo is refused with a word, and the file stays on the
    // Desktop instead of going into a folder nobody sees.
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(c), "menus-c"));
    Choose(ExpectedMenu(1, false, 0.62), CadrelCmdClose);
    ASSERT_TRUE(AnswerPrompt(1));
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-c fermee : 1 deplacement(s)", 5000));
    EXPECT_EQ(app_.CountLines(L"Instantane automatique"), snapshotsBefore + 1);
    EXPECT_TRUE(FileExists(desktop + L"\\lettre.txt"));
    EXPECT_FALSE(FolderExists(carton));
    EXPECT_FALSE(IsWindow(c));
    const size_t undone = app_.CountLines(L"Annulation :");
    PostMessageW(app_.AppWindow(), WM_APP_UNDO, 0, 0);
    ASSERT_TRUE(app_.WaitForLine(L"Annulation refusee : aucune cadrel ne montre plus " + carton, 5000));
    const std::wstring refusal = PromptText();
    EXPECT_NE(refusal.find(L"Annulation impossible"), std::wstring::npos) << refusal;
    EXPECT_NE(refusal.find(carton), std::wstring::npos) << refusal;
    ASSERT_TRUE(AnswerPrompt(0));
    EXPECT_TRUE(FileExists(desktop + L"\\lettre.txt"));
    EXPECT_FALSE(FolderExists(carton)) << "not made again without its marker";
    EXPECT_EQ(app_.CountLines(L"Annulation :"), undone) << "the stacks did not change";

    // A folder another tab still shows is left alone, whatever the choice.
    HWND s1 = CadrelTitled(L"Partage");
    ASSERT_NE(s1, nullptr);
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(s1), "menus-s1"));
    Choose(ExpectedMenu(1, false, 0.62), CadrelCmdClose);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-s1 fermee", 5000));
    EXPECT_EQ(app_.CountLines(L"Partage est aussi montre par un autre onglet, il reste en place."), 1u);
    EXPECT_TRUE(FileExists(shared + L"\\photo.txt"));
    EXPECT_NE(CadrelTitled(L"Aussi"), nullptr);

    // Once no other tab shows it, the folder is asked about; keeping the
    // content keeps the container with its file.
    HWND s2 = CadrelTitled(L"Aussi");
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(s2), "menus-s2"));
    Choose(ExpectedMenu(1, false, 0.62), CadrelCmdClose);
    ASSERT_TRUE(AnswerPrompt(0));
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-s2 fermee : 0 deplacement(s), 0 dossier(s) a la corbeille", 5000));
    EXPECT_TRUE(FileExists(shared + L"\\photo.txt"));
    EXPECT_FALSE(IsWindow(s2));

    // The Recycle Bin takes the containers; the entry says so and cannot be
    // undone. While the question is open, a tab cannot be dragged away.
    HWND r = CadrelTitled(L"Poubelle");
    ASSERT_NE(r, nullptr);
    ASSERT_TRUE(OpenMenuAt(TitleOfWindow(r), "menus-r"));
    Choose(ExpectedMenu(2, false, 0.62), CadrelCmdClose);
    ASSERT_TRUE(WaitFor([&] { return !app_.TopLevelWindows(PromptClass).empty(); }));
    const size_t cadrelsBefore = app_.TopLevelWindows(L"Cadrels.Cadrel").size();
    const PixelRect rRect = RectOf(r);
    // Where the closed empty cadrel stood: bare desktop.
    const POINT bare{work_.left + work_.Width() * 4 / 5, work_.top + work_.Height() / 5};
    Drag({rRect.left + rRect.Width() * 3 / 4, rRect.top + 12}, bare);
    Sleep(500);
    EXPECT_EQ(app_.TopLevelWindows(L"Cadrels.Cadrel").size(), cadrelsBefore) << "no tab torn off";
    // A tab torn off another cadrel meanwhile goes back to it.
    const PixelRect fRect = RectOf(f);
    const int fTabWidth = (fRect.Width() - 20 - 22) / 2;
    Drag({fRect.left + 10 + fTabWidth * 3 / 2, fRect.top + 15}, bare);
    ASSERT_TRUE(app_.WaitForLine(L"Onglet Autres rendu a sa cadrel : une fermeture est en cours.", 5000));
    EXPECT_EQ(app_.TopLevelWindows(L"Cadrels.Cadrel").size(), cadrelsBefore) << "no cadrel made of it";
    // Nor does a file dropped meanwhile go in, to leave with the rest.
    const std::wstring late = MakeFolder(root_, L"tardif", {L"pendant.txt"});
    const DWORD lateDrop = DragFiles(late, {L"pendant.txt"}, bare,
                                     {rRect.left + rRect.Width() / 2, rRect.top + rRect.Height() / 2},
                                     DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(lateDrop, static_cast<DWORD>(DROPEFFECT_NONE)) << "no drop while the question is open";
    EXPECT_TRUE(FileExists(late + L"\\pendant.txt"));
    const size_t undoLines = app_.CountLines(L"Annulation :");
    ASSERT_TRUE(AnswerPrompt(2));
    // Where the Recycle Bin cannot take a folder (here: a Wine without a
    // usable trash), the system asks before deleting for good; saying no
    // keeps the folder whole, and the program says so.
    bool binRefused = false;
    for (int folder = 0; folder < 2; ++folder) {
        HWND warning = nullptr;
        const bool asked = WaitFor(
            [&] {
                const std::vector<HWND> dialogs = app_.TopLevelWindows(L"#32770");
                warning = dialogs.empty() ? nullptr : dialogs.front();
                return (warning != nullptr && IsWindowVisible(warning)) ||
                       app_.CountLines(L"Cadrel menus-r fermee") > 0;
            },
            8000);
        if (!asked || warning == nullptr) {
            break;
        }
        binRefused = true;
        PostMessageW(warning, WM_COMMAND, IDNO, 0);
        WaitFor([&] { return !IsWindow(warning); });
    }
    if (binRefused) {
        ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-r fermee : 0 deplacement(s), 0 dossier(s) a la corbeille, 2 "
                                     L"refuse(s).",
                                     5000));
        ASSERT_TRUE(AnswerPrompt(0)) << "the first refused folder is explained";
        ASSERT_TRUE(AnswerPrompt(0)) << "the second one too";
        EXPECT_TRUE(FileExists(bin + L"\\vieux.txt"));
        EXPECT_TRUE(FileExists(bag + L"\\sac.txt"));
        EXPECT_EQ(app_.CountLines(L"Annulation :"), undoLines) << "no Recycle Bin entry was pushed";
        cleanup_.push_back(bin);
        cleanup_.push_back(bag);
    } else {
        ASSERT_TRUE(app_.WaitForLine(L"Cadrel menus-r fermee", 5000));
        EXPECT_EQ(
            app_.CountLines(L"Cadrel menus-r fermee : 0 deplacement(s), 2 dossier(s) a la corbeille, 0 refuse(s)."),
            1u);
        EXPECT_FALSE(FolderExists(bin));
        EXPECT_FALSE(FolderExists(bag));
        EmptyHostTrash(L"Poubelle");
    }
    EmptyHostTrash(L"Sac");
    EmptyHostTrash(L"Poubelle");

    const Settings saved = SaveAndReadLayout(app_, appData_);
    ASSERT_EQ(saved.workspaces.size(), 1u);
    std::vector<std::string> ids;
    for (const CadrelRecord& record : saved.workspaces[0].cadrels) {
        ids.push_back(record.id);
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"menus-f"}));
    ASSERT_EQ(saved.workspaces[0].cadrels[0].tabs.size(), 2u);
    EXPECT_EQ(saved.workspaces[0].cadrels[0].tabs[1].folder, others);
}

// An unpinned cadrel unfolded by hovering stays unfolded while its menu, an
// item's menu or its rename box is open, although the pointer is then over
// a popup that is not its child, or has left it; once each closes and the
// pointer is away, the cadrel rolls up as usual.
TEST_F(CadrelMenus, MenusAndTheRenameBoxKeepAHoverUnfoldedCadrelOpen)
{
    const std::wstring files = MakeFolder(root_, L"survol", {L"un.txt", L"deux.txt", L"trois.txt"});
    Workspace page;
    page.id = "{page}";
    page.name = L"Page";
    AddPinned(page, "hover", 0.30, 0.15, 0.35, 0.50, {CadrelTab{L"Survol", files}}).pinned = false;
    StartWithPage(page);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel hover : 3 elements listes.", 5000));
    HWND cadrel = CadrelTitled(L"Survol");
    ASSERT_NE(cadrel, nullptr);
    const auto unfolded = [&] { return RectOf(cadrel).Height() > 100; };
    const auto rolled = [&] { return RectOf(cadrel).Height() == 30; };
    ASSERT_TRUE(WaitFor(rolled)) << "unpinned cadrels start rolled up";
    const POINT away{work_.right - 5, work_.bottom - 5};
    const auto unfold = [&] {
        PointerTo(TitleOfWindow(cadrel));
        return WaitFor(unfolded);
    };
    // The leave check runs twice a second: three of its turns, with margin.
    const auto severalLeaveChecks = [] { Sleep(1600); };

    ASSERT_TRUE(unfold());
    const PixelRect open = RectOf(cadrel);
    ASSERT_TRUE(OpenMenuAt({open.left + open.Width() / 2, open.bottom - 60}, "hover"));
    severalLeaveChecks();
    EXPECT_TRUE(unfolded()) << "rolled up under its own menu";
    // Esc closes the submenu the pointer opened, then the menu. The key goes
    // to the menu itself: under Wine a program in the background cannot take
    // the keyboard focus for its menu.
    for (size_t levels = Menus().size(); levels > 0; --levels) {
        const size_t open = Menus().size();
        PostMessageW(Root(), WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(WaitFor([&] { return Menus().size() < open; }));
    }
    ASSERT_TRUE(app_.WaitForLine(L"Menu de cadrel hover : choix 0.", 5000));
    EXPECT_TRUE(unfolded()) << "the pointer is still over it";
    PointerTo(away);
    EXPECT_TRUE(WaitFor(rolled)) << "the pointer left once the menu closed";

    ASSERT_TRUE(unfold());
    const size_t itemMenus = app_.CountLines(L"Menu de l'element : choix");
    RightClick(Cell(cadrel, 0, 3));
    ASSERT_TRUE(WaitFor([&] { return !app_.TopLevelWindows(L"#32768").empty() || !Menus().empty(); }));
    severalLeaveChecks();
    EXPECT_TRUE(unfolded()) << "rolled up under an item's menu";
    SendCombination({}, VK_ESCAPE);
    ASSERT_TRUE(app_.WaitForLine(L"Menu de l'element : choix 0x0.", 5000, itemMenus + 1));
    PointerTo(away);
    EXPECT_TRUE(WaitFor(rolled)) << "the pointer left once the item's menu closed";

    ASSERT_TRUE(unfold());
    ASSERT_TRUE(OpenItemRename(cadrel, 1, 3));
    PointerTo(away);
    severalLeaveChecks();
    EXPECT_TRUE(unfolded()) << "rolled up while its rename box was open";
    const std::vector<HWND> hosts = app_.TopLevelWindows(RenameClass);
    ASSERT_FALSE(hosts.empty());
    HWND edit = FindWindowExW(hosts.front(), nullptr, L"EDIT", nullptr);
    ASSERT_NE(edit, nullptr);
    PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitFor([&] { return app_.TopLevelWindows(RenameClass).empty(); }));
    EXPECT_TRUE(WaitFor(rolled)) << "the box closed with the pointer away";
    EXPECT_TRUE(FileExists(files + L"\\deux.txt")) << "a cancelled rename changes nothing";
}

}  // namespace
}  // namespace cadrels::testing
