// The dock end to end: the real program with showDock on, its window above
// the taskbar, its pixels, clicks, the item menu, a real OLE drop from this
// process and the layout file it leaves.
#include "CadrelsProcess.h"
#include "DesktopInput.h"
#include "FileDrag.h"
#include "ScreenImage.h"
#include "TestFiles.h"

#include "base/AppMessages.h"
#include "base/UniqueHandle.h"
#include "dock/DockLayout.h"
#include "dock/DockPlacement.h"
#include "dock/IconPickerLayout.h"
#include "gfx/BuiltinIconTable.h"
#include "model/LayoutFile.h"
#include "model/NewId.h"
#include "model/Records.h"

#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

using Microsoft::WRL::ComPtr;

constexpr wchar_t DockClass[] = L"Cadrels.Dock";
constexpr wchar_t MenuClass[] = L"Cadrels.DarkMenu";
constexpr wchar_t PickerClass[] = L"Cadrels.IconPicker";

std::wstring OutputPath(const wchar_t* name)
{
    return std::wstring(CADRELS_TEST_OUTPUT_DIR) + L"\\" + name;
}

bool ProcessRuns(const wchar_t* exeName)
{
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{sizeof entry};
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, exeName) == 0) {
            return true;
        }
    }
    return false;
}

std::wstring ForeignWindowExe()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"foreign_window.exe";
}

// Where the dock must stand, computed from what the shell tells this process.
PixelPoint ExpectedDockCorner(int width, int height)
{
    DockPlacementInput input;
    HMONITOR monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    APPBARDATA taskbar{};
    taskbar.cbSize = sizeof taskbar;
    if (SHAppBarMessage(ABM_GETTASKBARPOS, &taskbar) != 0) {
        input.edge = taskbar.uEdge == ABE_TOP    ? TaskbarEdge::Top
                     : taskbar.uEdge == ABE_LEFT ? TaskbarEdge::Left
                     : taskbar.uEdge == ABE_RIGHT ? TaskbarEdge::Right
                                                  : TaskbarEdge::Bottom;
        input.taskbar = {taskbar.rc.left, taskbar.rc.top, taskbar.rc.right, taskbar.rc.bottom};
        monitor = MonitorFromRect(&taskbar.rc, MONITOR_DEFAULTTOPRIMARY);
    }
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    input.monitor = {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
    input.work = {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    input.width = width;
    input.height = height;
    input.distance = 8;
    return PlaceDock(input);
}

int CountDarkPixels(const ScreenImage& image, const RECT& area)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = image.Pixel(x, y);
            if (c != CLR_INVALID && GetRValue(c) < 40 && GetGValue(c) < 40 && GetBValue(c) < 45) {
                ++count;
            }
        }
    }
    return count;
}

int CountDifferent(const ScreenImage& a, const ScreenImage& b, const RECT& area)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                ++count;
            }
        }
    }
    return count;
}

class DockDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        folder_ = AppDataFolder();
        containers_ = ContainerRootFolder();
        ASSERT_TRUE(RemoveTree(folder_));
        ASSERT_TRUE(RemoveTree(containers_));
        files_ = MakeTempFolder(L"dock");
        ASSERT_FALSE(files_.empty());
        PointerTo({5, 5});
    }
    void TearDown() override
    {
        app_.EndTest(HasFailure());
        RemoveTree(folder_);
        RemoveTree(containers_);
        RemoveTree(files_);
        OleUninitialize();
    }

    // A layout with the dock on and the given items; one page, no cadrel
    // (the program adds an empty one where it does not cover the dock).
    void WriteLayout(const std::vector<std::wstring>& items, const std::map<std::wstring, std::wstring>& icons,
                     int theme = 0)
    {
        Settings settings;
        settings.theme = theme;
        settings.showDock = true;
        settings.dock = items;
        settings.dockIcons = icons;
        Workspace page;
        page.id = NewId();
        page.name = L"Test";
        settings.workspaces.push_back(page);
        settings.activeWorkspace = 0;
        SHCreateDirectoryExW(nullptr, folder_.c_str(), nullptr);
        ASSERT_TRUE(SaveLayout(settings));
    }

    Settings Layout() const
    {
        Settings settings;
        bool pagesFound = false;
        EXPECT_TRUE(LoadSettingsFile(folder_ + L"\\layout.json", settings, pagesFound));
        return settings;
    }

    // The layout file once it holds `count` dock items (the log line comes
    // just before the write).
    Settings LayoutWithItems(size_t count) const
    {
        Settings settings;
        WaitFor([&] {
            bool pagesFound = false;
            settings = Settings{};
            return LoadSettingsFile(folder_ + L"\\layout.json", settings, pagesFound) && settings.dock.size() == count;
        });
        return settings;
    }

    HWND DockWindow() const
    {
        const std::vector<HWND> windows = app_.TopLevelWindows(DockClass);
        return windows.size() == 1 ? windows[0] : nullptr;
    }

    // The screen centre of a slot at rest.
    POINT SlotCentre(HWND dock, int slot, size_t items) const
    {
        RECT bounds{};
        GetWindowRect(dock, &bounds);
        const DockLayout layout = ComputeDockLayout({}, DockSlotCount(items),
                                                    static_cast<float>(bounds.right - bounds.left),
                                                    static_cast<float>(bounds.bottom - bounds.top), 1.0f);
        const DockRect& r = layout.slots.at(static_cast<size_t>(slot));
        return {bounds.left + static_cast<int>(r.CentreX()), bounds.top + static_cast<int>((r.top + r.bottom) / 2)};
    }

    // Right-clicks the slot and clicks the menu's first entry (Change icon)
    // or its last (Remove from Dock).
    bool ChooseInItemMenu(HWND dock, int slot, size_t items, bool last)
    {
        const size_t menus = app_.CountLines(L"Dock : menu de l'element");
        const POINT at = SlotCentre(dock, slot, items);
        // The press goes where the slot is once the magnification around
        // the pointer has come to rest.
        PointerTo(at);
        ScreenImage still;
        CaptureSettled(still);
        Button(MOUSEEVENTF_RIGHTDOWN);
        Button(MOUSEEVENTF_RIGHTUP);
        if (!app_.WaitForLine(L"Dock : menu de l'element", 3000, menus + 1) ||
            !WaitFor([&] { return !app_.TopLevelWindows(MenuClass).empty(); }, 3000)) {
            return false;
        }
        RECT menu{};
        GetWindowRect(app_.TopLevelWindows(MenuClass).at(0), &menu);
        Click({menu.left + 30, last ? menu.bottom - 12 : menu.top + 14});
        return true;
    }

    HWND WaitForPicker() const
    {
        HWND picker = nullptr;
        WaitFor([&] {
            const std::vector<HWND> windows = app_.TopLevelWindows(PickerClass);
            picker = windows.empty() ? nullptr : windows[0];
            return picker != nullptr && IsWindowVisible(picker);
        });
        return picker;
    }

    std::wstring folder_;
    std::wstring containers_;
    std::wstring files_;
    CadrelsProcess app_;
};

TEST_F(DockDesktop, StandsAboveTheTaskbarDrawsMagnifiesLaunchesAndKeepsItsItems)
{
    const std::wstring launcher = ForeignWindowExe();
    ASSERT_TRUE(FileExists(launcher));
    WriteLayout({launcher}, {});
    ASSERT_TRUE(app_.Start());
    ASSERT_TRUE(app_.WaitUntilReady());
    ASSERT_TRUE(app_.WaitForLine(L"Dock cree : 1 element(s)", 5000));
    HWND dock = DockWindow();
    ASSERT_NE(dock, nullptr);

    // A tool window that never activates, on top, where the taskbar says.
    EXPECT_TRUE(IsWindowVisible(dock));
    const LONG_PTR exStyle = GetWindowLongPtrW(dock, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_NOACTIVATE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    wchar_t title[64] = {};
    GetWindowTextW(dock, title, 64);
    EXPECT_STREQ(title, L"Cadrels Dock");
    RECT bounds{};
    GetWindowRect(dock, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, DockWindowWidth(1, 1.0f));
    EXPECT_EQ(bounds.bottom - bounds.top, 120);
    const PixelPoint corner = ExpectedDockCorner(DockWindowWidth(1, 1.0f), 120);
    EXPECT_EQ(bounds.left, corner.x);
    EXPECT_EQ(bounds.top, corner.y);
    // The shelf takes its tint from the screen under it, with or without
    // the capture exclusion (Wine may refuse it).
    EXPECT_TRUE(app_.WaitForLine(L"Dock : fond echantillonne", 1000));

    // The shelf and its six icons are drawn; above the shelf is see-through.
    ScreenImage rest;
    ASSERT_TRUE(CaptureSettled(rest));
    rest.SaveBmp(OutputPath(L"dock-rest.bmp"), bounds);
    const COLORREF background = rest.Pixel(bounds.left + 3, bounds.top + 3);
    const RECT shelfBand{bounds.left, bounds.bottom - 60, bounds.right, bounds.bottom - 4};
    const RECT labelBand{bounds.left, bounds.top, bounds.right, bounds.top + 34};
    int shelfPixels = 0;
    for (int y = shelfBand.top; y < shelfBand.bottom; ++y) {
        for (int x = shelfBand.left; x < shelfBand.right; ++x) {
            shelfPixels += rest.Pixel(x, y) != background ? 1 : 0;
        }
    }
    EXPECT_GT(shelfPixels, (shelfBand.right - shelfBand.left) * 30) << "the shelf is drawn";
    EXPECT_EQ(CountDarkPixels(rest, labelBand), 0) << "no label at rest";

    // Under the pointer the New cadrel icon grows and its label shows above it.
    const auto idleBefore = app_.ReportActivity();
    PointerTo(SlotCentre(dock, 2, 1));
    ScreenImage magnified;
    const auto labelShown = [&](const ScreenImage& image) { return CountDarkPixels(image, labelBand) > 200; };
    const auto noLabel = [&](const ScreenImage& image) { return CountDarkPixels(image, labelBand) == 0; };
    ASSERT_TRUE(CaptureSettled(magnified, labelShown)) << "the magnification comes to rest";
    magnified.SaveBmp(OutputPath(L"dock-magnified.bmp"), bounds);
    EXPECT_GT(CountDarkPixels(magnified, labelBand), 200) << "the label box";
    const RECT aboveShelf{bounds.left, bounds.bottom - 84, bounds.right, bounds.bottom - 66};
    EXPECT_GT(CountDifferent(rest, magnified, aboveShelf), 100) << "the magnified icon rises above the shelf";

    // Away from the dock the icons shrink back and the animation timer stops.
    PointerTo({5, 5});
    ScreenImage shrunk;
    ASSERT_TRUE(CaptureSettled(shrunk, noLabel)) << "the icons shrink back and stay";
    const auto settled = app_.ReportActivity();
    const ULONGLONG settledAt = GetTickCount64();
    Sleep(2000);
    const auto idle = app_.ReportActivity();
    // The poll's count follows the time that really passed: a loaded machine
    // can stretch the two seconds.
    const ULONGLONG polls = (GetTickCount64() - settledAt) / 1000 + 2;
    ASSERT_TRUE(idleBefore && settled && idle);
    EXPECT_GT(settled->timers - idleBefore->timers, 20u) << "the animation ran";
    EXPECT_LE(idle->timers - settled->timers, polls) << "no animation timer while idle (only the 1 s full-screen poll)";
    ScreenImage back;
    ASSERT_TRUE(back.Capture());
    EXPECT_EQ(CountDarkPixels(back, labelBand), 0) << "the label went with the pointer";

    // A click on the item launches it once; a double click launches it once more.
    Click(SlotCentre(dock, 4, 1));
    ASSERT_TRUE(app_.WaitForLine(L"Dock : ouverture de", 5000));
    EXPECT_TRUE(WaitFor([] { return FindWindowW(L"STATIC", L"Autre application") != nullptr; }, 5000));
    WaitFor([] { return FindWindowW(L"STATIC", L"Autre application") == nullptr; }, 5000);
    Sleep(400);  // beyond the double-click time
    DoubleClick(SlotCentre(dock, 4, 1));
    Sleep(1000);
    EXPECT_EQ(app_.CountLines(L"Dock : ouverture de"), 2u) << "the second click of a double click does nothing";

    // Applications and Settings say they are not there yet.
    Sleep(400);
    Click(SlotCentre(dock, 1, 1));
    EXPECT_TRUE(app_.WaitForLine(L"Le Launchpad n'est pas encore disponible.", 3000));
    Sleep(400);
    Click(SlotCentre(dock, 3, 1));
    EXPECT_TRUE(app_.WaitForLine(L"La fenetre des reglages n'est pas encore disponible.", 3000));

    // No menu on a fixed slot.
    for (int slot : {0, 1, 2, 3, 5}) {
        // Settled, so that the press is not reported where the pointer was.
        PointerTo(SlotCentre(dock, slot, 1));
        ScreenImage still;
        CaptureSettled(still);  // the magnification settles around the slot under the pointer
        Button(MOUSEEVENTF_RIGHTDOWN);
        Button(MOUSEEVENTF_RIGHTUP);
    }
    ASSERT_TRUE(app_.WaitForLine(L"Dock : clic droit sur l'emplacement 5.", 3000));
    for (int slot : {0, 1, 2, 3}) {
        EXPECT_EQ(app_.CountLines(L"Dock : clic droit sur l'emplacement " + std::to_wstring(slot) + L"."), 1u);
    }
    Sleep(300);
    EXPECT_EQ(app_.CountLines(L"Dock : menu"), 0u);
    EXPECT_TRUE(app_.TopLevelWindows(MenuClass).empty());

    // Files dropped through a real OLE drag: appended in drop order, linked,
    // saved; the same files again (in another case) add nothing.
    ASSERT_TRUE(WriteBytes(files_ + L"\\b-notes.txt", "b"));
    ASSERT_TRUE(WriteBytes(files_ + L"\\a-report.txt", "a"));
    {
        ComPtr<IDataObject> data = FilesDataObject(files_, {L"b-notes.txt", L"a-report.txt"});
        ASSERT_TRUE(data);
        WalkingDropSource source({5, 5}, SlotCentre(dock, 2, 1));
        DWORD effect = 0;
        const HRESULT dropped = DoDragDrop(data.Get(), &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
        EXPECT_EQ(dropped, DRAGDROP_S_DROP);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));
    }
    ASSERT_TRUE(app_.WaitForLine(L"Dock : depot de 2 chemin(s), 2 ajoute(s).", 5000));
    ASSERT_TRUE(app_.WaitForLine(L"Dock : 3 element(s) enregistre(s).", 5000));
    Settings saved = LayoutWithItems(3);
    ASSERT_EQ(saved.dock.size(), 3u);
    EXPECT_EQ(saved.dock[0], launcher);
    EXPECT_NE(saved.dock[1].find(L"b-notes.txt"), std::wstring::npos);
    EXPECT_NE(saved.dock[2].find(L"a-report.txt"), std::wstring::npos);
    EXPECT_TRUE(FileExists(files_ + L"\\b-notes.txt")) << "a drop never moves the file";
    GetWindowRect(dock, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, DockWindowWidth(3, 1.0f)) << "the window grew for two items";

    const size_t savesBefore = app_.CountLines(L"enregistre(s).");
    {
        ComPtr<IDataObject> data = FilesDataObject(files_, {L"B-NOTES.TXT"});
        ASSERT_TRUE(data);
        WalkingDropSource source({5, 5}, SlotCentre(dock, 2, 3));
        DWORD effect = 0;
        DoDragDrop(data.Get(), &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
    }
    ASSERT_TRUE(app_.WaitForLine(L"Dock : depot de 1 chemin(s), 0 ajoute(s).", 5000));
    Sleep(300);
    EXPECT_EQ(app_.CountLines(L"enregistre(s)."), savesBefore) << "a duplicate drop does not save";

    // Change icon: the picker shows the built-in icons; a cell gives the
    // item that icon, saved under its path.
    ASSERT_TRUE(ChooseInItemMenu(dock, 5, 3, false));
    HWND picker = WaitForPicker();
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(app_.WaitForLine(L"Choix d'icone ouvert", 5000));
    EXPECT_TRUE(app_.WaitForLine(L"168 icones rendues", 100));
    RECT pickerRect{};
    GetWindowRect(picker, &pickerRect);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const IconPickerGeometry geometry =
        ComputeIconPickerGeometry(168, 1.0f, work.right - work.left, work.bottom - work.top);
    EXPECT_EQ(pickerRect.right - pickerRect.left, geometry.width);
    EXPECT_EQ(pickerRect.bottom - pickerRect.top, geometry.height);
    EXPECT_LE(pickerRect.bottom, work.bottom) << "the buttons stay on the screen";
    ScreenImage pickerShot;
    ASSERT_TRUE(CaptureSettled(pickerShot));
    pickerShot.SaveBmp(OutputPath(L"dock-picker.bmp"), pickerRect);
    // The first cell holds an icon: pixels unlike the light panel around it.
    const DockRect cell = IconPickerCell(geometry, 0);
    const RECT cellRect{pickerRect.left + static_cast<LONG>(cell.left), pickerRect.top + static_cast<LONG>(cell.top),
                        pickerRect.left + static_cast<LONG>(cell.right), pickerRect.top + static_cast<LONG>(cell.bottom)};
    const COLORREF panel = pickerShot.Pixel(cellRect.left - 4, cellRect.top - 4);
    EXPECT_GT(GetRValue(panel), 220);
    EXPECT_GT(GetGValue(panel), 220);
    EXPECT_GT(GetBValue(panel), 220);
    int inked = 0;
    for (int y = cellRect.top; y < cellRect.bottom; ++y) {
        for (int x = cellRect.left; x < cellRect.right; ++x) {
            const COLORREF c = pickerShot.Pixel(x, y);
            inked += std::abs(GetRValue(c) - GetRValue(panel)) + std::abs(GetGValue(c) - GetGValue(panel)) +
                             std::abs(GetBValue(c) - GetBValue(panel)) > 60
                         ? 1
                         : 0;
        }
    }
    EXPECT_GT(inked, 600) << "the first built-in icon is drawn in its cell";
    Click({(cellRect.left + cellRect.right) / 2, (cellRect.top + cellRect.bottom) / 2});
    const std::wstring firstKey = BuiltinIconTable()[0].key;
    ASSERT_TRUE(app_.WaitForLine(L"Choix d'icone : \"" + firstKey + L"\".", 3000));
    EXPECT_TRUE(WaitFor([&] { return app_.TopLevelWindows(PickerClass).empty() || !IsWindowVisible(picker); }, 2000));
    ASSERT_TRUE(WaitFor([&] { return LayoutWithItems(3).dockIcons.size() == 1; }));
    saved = LayoutWithItems(3);
    ASSERT_EQ(saved.dockIcons.count(saved.dock[1]), 1u);
    EXPECT_EQ(saved.dockIcons.at(saved.dock[1]), firstKey);

    // Default icon removes the entry; no empty value is stored.
    ASSERT_TRUE(ChooseInItemMenu(dock, 5, 3, false));
    picker = WaitForPicker();
    ASSERT_NE(picker, nullptr);
    GetWindowRect(picker, &pickerRect);
    const DockRect button = IconPickerDefaultButton(geometry);
    Click({pickerRect.left + static_cast<LONG>(button.CentreX()),
           pickerRect.top + static_cast<LONG>((button.top + button.bottom) / 2)});
    ASSERT_TRUE(app_.WaitForLine(L"Choix d'icone : \"\".", 3000));
    EXPECT_TRUE(WaitFor([&] { return LayoutWithItems(3).dockIcons.empty(); }));

    // The item gets its icon again, then is removed: its entry goes with it,
    // so dropping it again shows the default icon.
    ASSERT_TRUE(ChooseInItemMenu(dock, 5, 3, false));
    picker = WaitForPicker();
    ASSERT_NE(picker, nullptr);
    Click({(cellRect.left + cellRect.right) / 2, (cellRect.top + cellRect.bottom) / 2});
    ASSERT_TRUE(WaitFor([&] { return LayoutWithItems(3).dockIcons.size() == 1; }));
    ASSERT_TRUE(ChooseInItemMenu(dock, 5, 3, true));
    ASSERT_TRUE(app_.WaitForLine(L"Dock : element retire (2 restant(s)).", 3000));
    ASSERT_TRUE(app_.WaitForLine(L"Dock : 2 element(s) enregistre(s).", 3000));
    saved = LayoutWithItems(2);
    ASSERT_EQ(saved.dock.size(), 2u);
    EXPECT_TRUE(saved.dockIcons.empty()) << "the removed item's icon went with it";
    EXPECT_EQ(saved.dock[0], launcher);
    EXPECT_NE(saved.dock[1].find(L"a-report.txt"), std::wstring::npos);

    // Quitting leaves the dock's items in the file; the next start shows them.
    ASSERT_TRUE(app_.Quit());
    CadrelsProcess again;
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(again.WaitForLine(L"Dock cree : 2 element(s)", 20000));
    again.EndTest(HasFailure());
}

TEST_F(DockDesktop, ReordersByDraggingTreatsAShortDragAsAClickAndStandsAsideForFullScreen)
{
    // Three distinct programs that each show a window and end by themselves.
    std::vector<std::wstring> items;
    for (const wchar_t* name : {L"\\first.exe", L"\\second.exe", L"\\third.exe"}) {
        items.push_back(files_ + name);
        ASSERT_TRUE(CopyFileW(ForeignWindowExe().c_str(), items.back().c_str(), FALSE));
    }
    WriteLayout(items, {});
    ASSERT_TRUE(app_.Start());
    ASSERT_TRUE(app_.WaitUntilReady());
    ASSERT_TRUE(app_.WaitForLine(L"Dock cree : 3 element(s)", 5000));
    HWND dock = DockWindow();
    ASSERT_NE(dock, nullptr);
    ScreenImage drawn;
    ASSERT_TRUE(CaptureSettled(drawn));

    // Less than the system's drag distance is a click: the item launches.
    const POINT second = SlotCentre(dock, 5, 3);
    const int slop = GetSystemMetrics(SM_CXDRAG);
    PointerTo(second);
    ASSERT_TRUE(CaptureSettled(drawn)) << "the magnification comes to rest";
    Drag(second, {second.x + std::max(1, slop - 1), second.y});
    ASSERT_TRUE(app_.WaitForLine(L"Dock : ouverture de", 3000));
    EXPECT_NE(app_.Lines().back().find(L"second.exe"), std::wstring::npos);
    EXPECT_EQ(app_.CountLines(L"Dock : element deplace."), 0u);
    WaitFor([] { return FindWindowW(L"STATIC", L"Autre application") == nullptr; }, 5000);

    // A real drag of the first item past the third moves it to the end, and
    // only the order is saved: nothing launches.
    Sleep(400);
    const POINT first = SlotCentre(dock, 4, 3);
    const POINT beyondThird = SlotCentre(dock, 6, 3);
    Drag(first, {beyondThird.x + 20, beyondThird.y});
    ASSERT_TRUE(app_.WaitForLine(L"Dock : element deplace.", 3000));
    const Settings saved = LayoutWithItems(3);
    ASSERT_EQ(saved.dock.size(), 3u);
    WaitFor([&] { return LayoutWithItems(3).dock.back() == items[0]; }, 3000);
    EXPECT_EQ(LayoutWithItems(3).dock, (std::vector<std::wstring>{items[1], items[2], items[0]}));
    EXPECT_EQ(app_.CountLines(L"Dock : ouverture de"), 1u) << "a drag never launches";
    PointerTo({5, 5});

    // A window of another program covering the whole monitor hides the dock
    // at once; when it goes, the dock comes back. The program the click
    // launched takes the foreground when its window appears, which the
    // launch thread may make happen only now: it has to have come and gone.
    EXPECT_TRUE(app_.WaitForLine(L"Ouvert : ", 10000)) << "the shell never started the clicked item";
    EXPECT_TRUE(WaitFor([] { return !ProcessRuns(L"second.exe"); }, 10000)) << "the launched program stays";
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HWND fullScreen = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"Plein ecran", WS_POPUP | WS_VISIBLE, 0, 0, width,
                                      height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(fullScreen, nullptr);
    SetForegroundWindow(fullScreen);
    auto pump = [] {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        return false;
    };
    const bool hidden = WaitFor([&] { pump(); return !IsWindowVisible(dock); }, 4000);
    EXPECT_TRUE(hidden) << "foreground " << (GetForegroundWindow() == fullScreen);
    EXPECT_TRUE(app_.WaitForLine(L"Dock : masque pendant un programme en plein ecran.", 1000));
    DestroyWindow(fullScreen);
    EXPECT_TRUE(WaitFor([&] { pump(); return IsWindowVisible(dock) != FALSE; }, 4000));
    EXPECT_TRUE(app_.WaitForLine(L"Dock : de nouveau visible.", 1000));

    // A window that leaves part of the monitor free does not hide it.
    HWND large = CreateWindowExW(0, L"STATIC", L"Grande fenetre", WS_POPUP | WS_VISIBLE, 0, 0, width, height - 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(large, nullptr);
    SetForegroundWindow(large);
    WaitFor([&] { return pump(); }, 2500);
    EXPECT_TRUE(IsWindowVisible(dock));
    EXPECT_EQ(app_.CountLines(L"Dock : masque"), 1u);
    DestroyWindow(large);
}

TEST_F(DockDesktop, MagnifiesAndOpensThePickerInDarkAndLightAndDrawsAgainAfterADeviceLoss)
{
    ASSERT_TRUE(WriteBytes(files_ + L"\\Notes.txt", "notes"));
    const std::wstring emblem = BuiltinIconTable()[5].key;
    // The last item is a file that no longer exists: no shell icon, so it
    // shows the placeholder square, the one part of the dock that follows
    // the theme (light on dark, dark on light).
    const std::vector<std::wstring> items = {ForeignWindowExe(), files_, files_ + L"\\Notes.txt", L"C:\\windows",
                                             files_ + L"\\gone.txt"};
    int placeholderLightness[2] = {};
    for (const int theme : {1, 2}) {
        const std::wstring name = theme == 1 ? L"dark" : L"light";
        SCOPED_TRACE(::testing::Message() << "theme " << theme);
        WriteLayout(items, {{items[3], emblem}}, theme);
        CadrelsProcess app;
        ASSERT_TRUE(app.Start());
        ASSERT_TRUE(app.WaitUntilReady());
        PointerTo({5, 5});
        ASSERT_TRUE(app.WaitForLine(L"Dock cree : 5 element(s)", 5000));
        const std::vector<HWND> docks = app.TopLevelWindows(DockClass);
        ASSERT_EQ(docks.size(), 1u);
        const HWND dock = docks[0];
        RECT bounds{};
        GetWindowRect(dock, &bounds);
        const RECT labelBand{bounds.left, bounds.top, bounds.right, bounds.top + 34};
        // The items' shell icons arrive.
        ScreenImage rest;
        ASSERT_TRUE(CaptureSettled(rest));
        const COLORREF placeholder = rest.Pixel(SlotCentre(dock, 8, items.size()));
        placeholderLightness[theme - 1] = GetRValue(placeholder) + GetGValue(placeholder) + GetBValue(placeholder);

        // The pointer on the folder item: it and its neighbours grow, its
        // name shows above it.
        PointerTo(SlotCentre(dock, 5, items.size()));
        const auto labelShown = [&](const ScreenImage& image) { return CountDarkPixels(image, labelBand) > 200; };
        const auto noLabel = [&](const ScreenImage& image) { return CountDarkPixels(image, labelBand) == 0; };
        ScreenImage magnified;
        ASSERT_TRUE(CaptureSettled(magnified, labelShown));
        EXPECT_TRUE(magnified.SavePng(OutputPath((L"dock-" + name + L"-magnified.png").c_str())));
        EXPECT_GT(CountDarkPixels(magnified, labelBand), 200) << "the label box";

        if (theme == 1) {
            // The device lost and made again: the dock rebuilds its objects,
            // samples its backdrop again and draws the next hover on the new
            // device.
            const size_t samples = app.CountLines(L"Dock : fond");
            PostMessageW(app.AppWindow(), WM_APP_DEVICE_LOST, 0, 0);
            ASSERT_TRUE(app.WaitForLine(L"Device recree avec succes.", 10000));
            EXPECT_TRUE(app.WaitForLine(L"Dock : fond", 3000, samples + 1));
            PointerTo({5, 5});
            ScreenImage away;
            ASSERT_TRUE(CaptureSettled(away, noLabel));
            EXPECT_EQ(CountDarkPixels(away, labelBand), 0) << "the label went on the new device";
            PointerTo(SlotCentre(dock, 2, items.size()));
            ScreenImage again;
            ASSERT_TRUE(CaptureSettled(again, labelShown));
            EXPECT_GT(CountDarkPixels(again, labelBand), 200) << "a new label drawn on the new device";
            EXPECT_GT(CountDifferent(magnified, again, bounds), 500) << "the magnification moved to New cadrel";
            EXPECT_TRUE(app.Running());
        }

        // The picker open over the desktop, the pointer on one of its cells.
        const size_t menus = app.CountLines(L"Dock : menu de l'element");
        PointerTo(SlotCentre(dock, 7, items.size()));
        ScreenImage still;
        CaptureSettled(still);  // the magnification settles around the slot under the pointer
        Button(MOUSEEVENTF_RIGHTDOWN);
        Button(MOUSEEVENTF_RIGHTUP);
        ASSERT_TRUE(app.WaitForLine(L"Dock : menu de l'element 3.", 3000, 1));
        EXPECT_EQ(app.CountLines(L"Dock : menu de l'element"), menus + 1);
        std::vector<HWND> menuWindows;
        ASSERT_TRUE(WaitFor([&] { return !(menuWindows = app.TopLevelWindows(MenuClass)).empty(); }, 3000));
        RECT menu{};
        GetWindowRect(menuWindows[0], &menu);
        Click({menu.left + 30, menu.top + 14});
        HWND picker = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            const std::vector<HWND> windows = app.TopLevelWindows(PickerClass);
            picker = windows.empty() ? nullptr : windows[0];
            return picker != nullptr && IsWindowVisible(picker);
        }));
        // Shown before its first frame: the line follows that frame.
        ASSERT_TRUE(app.WaitForLine(L"Choix d'icone ouvert", 5000));
        RECT pickerRect{};
        GetWindowRect(picker, &pickerRect);
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const IconPickerGeometry geometry =
            ComputeIconPickerGeometry(168, 1.0f, work.right - work.left, work.bottom - work.top);
        const DockRect hovered = IconPickerCell(geometry, 12);
        PointerTo({pickerRect.left + static_cast<LONG>(hovered.CentreX()),
                       pickerRect.top + static_cast<LONG>((hovered.top + hovered.bottom) / 2)});
        ScreenImage screen;
        ASSERT_TRUE(CaptureSettled(screen));
        EXPECT_TRUE(screen.SavePng(OutputPath((L"dock-" + name + L"-picker.png").c_str())));
        // The item's own emblem is the current key: its cell is outlined in
        // the accent colour, which the cells around it are not.
        const DockRect current = IconPickerCell(geometry, 5);
        const COLORREF outline = screen.Pixel(pickerRect.left + static_cast<LONG>(current.CentreX()),
                                              pickerRect.top + static_cast<LONG>(current.top));
        const COLORREF plain = screen.Pixel(pickerRect.left + static_cast<LONG>(IconPickerCell(geometry, 6).CentreX()),
                                            pickerRect.top + static_cast<LONG>(current.top));
        EXPECT_NE(outline, plain) << "the current icon's cell is marked";

        // Escape closes it without a choice.
        PostMessageW(picker, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(WaitFor([&] { return app.TopLevelWindows(PickerClass).empty() || !IsWindowVisible(picker); }, 3000));
        Sleep(200);
        EXPECT_EQ(app.CountLines(L"Choix d'icone : \""), 0u);
        app.EndTest(HasFailure());
        RemoveTree(folder_);
    }
    EXPECT_GT(placeholderLightness[0], placeholderLightness[1] + 40)
        << "the missing item's square is light in the dark theme and dark in the light one";
}

}  // namespace
}  // namespace cadrels::testing
