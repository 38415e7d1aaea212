// Pointer interaction with a cadrel's content, end to end: real input on
// the real program, checked through its diagnostic lines, its windows and
// its layout file.
#include "CadrelScenario.h"
#include "ProcessProbe.h"
#include "DesktopInput.h"
#include "TestFiles.h"

#include "base/AppMessages.h"
#include "base/UniqueHandle.h"
#include "cadrel/CadrelLayout.h"
#include "cadrel/CadrelPlacement.h"
#include "model/LayoutFile.h"
#include "model/MonitorInfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

void ModifiedDrag(HWND window, POINT from, POINT to, WPARAM modifier)
{
    PointerTo(from);
    PostButton(window, WM_LBUTTONDOWN, from, MK_LBUTTON | modifier);
    // The pointer itself goes along: the moves it makes carry the same points.
    for (int i = 1; i <= 4; ++i) {
        const POINT step{from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4};
        PointerTo(step);
        PostButton(window, WM_MOUSEMOVE, step, MK_LBUTTON | modifier);
    }
    Sleep(150);
    PostButton(window, WM_LBUTTONUP, to, modifier);
}

struct Placed {
    const char* id;
    int viewMode;
    double x, y, w, h;
    bool pinned;
};

// Four columns of items at the test desktop's width.
constexpr Placed Grid{"cadrel-entrees", ViewIconGrid, 0.05, 0.05, 0.30, 0.50, true};
constexpr Placed List{"cadrel-liste", ViewCompactList, 0.45, 0.05, 0.25, 0.40, true};
constexpr Placed Rolled{"cadrel-roule", ViewIconGrid, 0.75, 0.05, 0.20, 0.40, false};

class CadrelInput : public CadrelScenario {
protected:
    CadrelInput() : CadrelScenario(L"cadrel-input") {}

    void TearDown() override
    {
        if (app_.Running()) {
            EndChildrenOf(app_.ProcessId());
        }
        CadrelScenario::TearDown();
    }

    std::wstring MakeFolder(const wchar_t* name, int files, const wchar_t* prefix, const wchar_t* extension = L".txt")
    {
        const std::wstring folder = root_ + L"\\" + name;
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int i = 0; i < files; ++i) {
            WriteBytes(folder + L"\\" + prefix + (i < 10 ? L"0" : L"") + std::to_wstring(i) + extension, "x");
        }
        return folder;
    }

    void Add(Workspace& page, const Placed& placed, std::vector<CadrelTab> tabs) const
    {
        CadrelRecord& record = AddPinned(page, placed.id, placed.x, placed.y, placed.w, placed.h, std::move(tabs));
        record.pinned = placed.pinned;
        record.viewMode = placed.viewMode;
    }

    static CadrelView ViewOf(HWND window, int viewMode)
    {
        RECT client{};
        GetClientRect(window, &client);
        CadrelView view;
        view.width = client.right;
        view.height = client.bottom;
        view.viewMode = viewMode;
        view.dpi = GetDpiForWindow(window) == 0 ? 96 : GetDpiForWindow(window);
        return view;
    }

    // The screen point at the centre of item `index`'s cell, or of where the
    // cell would be when there is no such item.
    POINT Cell(HWND window, int viewMode, int index, int count) const
    {
        const LayoutRect cell = ItemCellRect(ViewOf(window, viewMode), index, count, 0);
        const PixelRect rect = RectOf(window);
        return {rect.left + static_cast<LONG>((cell.left + cell.right) / 2),
                rect.top + static_cast<LONG>((cell.top + cell.bottom) / 2)};
    }

    // Runs the action and waits for the selection line it should produce.
    bool SelectsAfter(const std::function<void()>& action, const std::wstring& indices) const
    {
        const std::wstring line = L"Cadrel cadrel-entrees : selection [" + indices + L"].";
        const size_t before = app_.CountLines(line);
        action();
        return app_.WaitForLine(line, 3000, before + 1);
    }

    Settings SavedLayout() const { return SaveAndReadLayout(app_, appData_); }

};

TEST_F(CadrelInput, SelectingOpeningRenamingTabsWheelAndZoom)
{
    // No program opens these: opening them fails at once, and silently.
    const std::wstring items = MakeFolder(L"items", 10, L"f", L".cadrelstest");
    const std::wstring two = MakeFolder(L"deux", 2, L"d");
    const std::wstring three = MakeFolder(L"trois", 3, L"t");
    const std::wstring many = MakeFolder(L"liste", 40, L"l");
    Workspace page;
    page.id = "{page}";
    page.name = L"Page";
    Add(page, Grid, {CadrelTab{L"Entrees", items}, CadrelTab{L"Deux", two}, CadrelTab{L"Trois", three}});
    Add(page, List, {CadrelTab{L"Liste", many}});
    Add(page, Rolled, {CadrelTab{L"Roule", two}});
    StartWithPage(page);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel cadrel-entrees : 10 elements listes.", 5000));
    HWND grid = CadrelTitled(L"Entrees");
    HWND list = CadrelTitled(L"Liste");
    HWND rolled = CadrelTitled(L"Roule");
    ASSERT_TRUE(grid && list && rolled);
    auto cell = [&](int index) { return Cell(grid, ViewIconGrid, index, 10); };

    // Click, Ctrl-click, Shift-click from the anchor.
    EXPECT_TRUE(SelectsAfter([&] { Click(cell(0)); }, L"0"));
    EXPECT_TRUE(SelectsAfter([&] { ModifiedClick(grid, cell(2), MK_CONTROL); }, L"0,2")) << "Ctrl toggles";
    EXPECT_TRUE(SelectsAfter([&] { ModifiedClick(grid, cell(5), MK_SHIFT); }, L"2,3,4,5")) << "Shift, from the anchor";
    // Pressing one member of the selection keeps all of it.
    EXPECT_TRUE(SelectsAfter([&] { Click(cell(3)); }, L"2,3,4,5"));

    // A press on the footer changes nothing.
    const size_t selections = app_.CountLines(L"Cadrel cadrel-entrees : selection");
    const PixelRect gridRect = RectOf(grid);
    ASSERT_EQ(ComputeContentMetrics(ViewOf(grid, ViewIconGrid)).columns, 4);
    Click({(gridRect.left + gridRect.right) / 2, gridRect.bottom - 8});
    Sleep(300);
    EXPECT_EQ(app_.CountLines(L"Cadrel cadrel-entrees : selection"), selections) << "no press on the items";
    EXPECT_EQ(GetCapture(), nullptr);

    // Double-clicking one of three selected items opens the three in order
    // and keeps them selected.
    EXPECT_TRUE(SelectsAfter([&] { Click(cell(6)); }, L"6"));
    ASSERT_TRUE(SelectsAfter([&] { ModifiedClick(grid, cell(8), MK_SHIFT); }, L"6,7,8"));
    Sleep(600);  // not a double click with the Shift-click
    DoubleClick(cell(7));
    ASSERT_TRUE(app_.WaitForLine(L"f08.cadrelstest.", 5000));
    std::vector<std::wstring> opened;
    for (const std::wstring& line : app_.Lines()) {
        if (line.rfind(L"Ouverture de ", 0) == 0) {
            opened.push_back(line.substr(line.size() - 16));
        }
    }
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"f06.cadrelstest.", L"f07.cadrelstest.", L"f08.cadrelstest."}));
    EndChildrenOf(app_.ProcessId());

    // A slow second click on the sole selected item renames it after the
    // double-click time and 50 ms; a double click does not.
    ASSERT_TRUE(SelectsAfter([&] { Click(cell(1)); }, L"1"));
    Sleep(GetDoubleClickTime() + 100);
    Click(cell(1));
    const DWORD clicked = GetTickCount();
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel cadrel-entrees : renommage de " + items + L"\\f01.cadrelstest ouvert.", 3000));
    EXPECT_GE(GetTickCount() - clicked, GetDoubleClickTime()) << "not before the double-click time";
    // Esc in the rename box closes it without renaming.
    HWND renameHost = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<HWND> hosts = app_.TopLevelWindows(L"Cadrels.RenameHost");
        renameHost = hosts.empty() ? nullptr : hosts.front();
        return renameHost != nullptr;
    }));
    PostMessageW(FindWindowExW(renameHost, nullptr, L"EDIT", nullptr), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitFor([&] { return app_.TopLevelWindows(L"Cadrels.RenameHost").empty(); }));
    DoubleClick(cell(1));
    Sleep(GetDoubleClickTime() + 300);
    EXPECT_EQ(app_.CountLines(L"Cadrel cadrel-entrees : renommage de"), 1u) << "a double click opens, it does not rename";
    EXPECT_TRUE(FileExists(items + L"\\f01.cadrelstest"));
    EndChildrenOf(app_.ProcessId());

    // Rubber band: without Ctrl it replaces, shrinking deselects, with Ctrl
    // it adds to what was selected.
    EXPECT_TRUE(SelectsAfter([&] { Drag(cell(11), cell(6)); }, L"6,7"))
        << "the band over the last two columns of the middle row";
    EXPECT_TRUE(SelectsAfter(
        [&] {
            // A band needs some height to touch anything: along the last row.
            const POINT end{cell(9).x, cell(9).y - 10};
            ModifiedDrag(grid, cell(11), end, MK_CONTROL);
        },
        L"6,7,9"));
    EXPECT_TRUE(SelectsAfter(
        [&] {
            PointerTo(cell(11));
            Sleep(150);
            PointerTo(cell(11));
            Button(MOUSEEVENTF_LEFTDOWN);
            PointerTo(cell(5));
            Sleep(100);
            PointerTo(cell(10));
            Sleep(150);
            Button(MOUSEEVENTF_LEFTUP);
        },
        L""))
        << "shrunk back to nothing";

    // The wheel scrolls one row a notch and never past either end.
    const POINT listCentre{(RectOf(list).left + RectOf(list).right) / 2, (RectOf(list).top + RectOf(list).bottom) / 2};
    // The wheel goes to the window under the pointer: it must be seen there.
    PointerTo(listCentre);
    Wheel(listCentre, -WHEEL_DELTA);
    EXPECT_TRUE(app_.WaitForLine(L"Cadrel cadrel-liste : defilement a 26 px.", 10000));
    for (int i = 0; i < 3; ++i) {
        Wheel(listCentre, WHEEL_DELTA);
    }
    EXPECT_TRUE(app_.WaitForLine(L"Cadrel cadrel-liste : defilement a 0 px.", 10000));
    for (int i = 0; i < 60; ++i) {
        Wheel(listCentre, -WHEEL_DELTA);
    }
    const int bottom = static_cast<int>(std::lround(MaxScrollOffset(ViewOf(list, ViewCompactList), 40)));
    EXPECT_TRUE(app_.WaitForLine(L"Cadrel cadrel-liste : defilement a " + std::to_wstring(bottom) + L" px.", 10000));
    EXPECT_EQ(app_.CountLines(L"Cadrel cadrel-liste : defilement a " + std::to_wstring(bottom + 26)), 0u);

    // Ctrl with the wheel zooms by a tenth, within 0.6 to 2.0, and it is saved.
    const auto ctrlWheel = [&] {
        PostMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(listCentre.x, listCentre.y));
        Sleep(40);
    };
    ctrlWheel();
    Sleep(300);
    Settings saved = SavedLayout();
    EXPECT_NEAR(saved.workspaces.at(0).cadrels.at(1).density[ViewCompactList], 1.1f, 0.001f);
    for (int i = 0; i < 20; ++i) {
        ctrlWheel();
    }
    Sleep(300);
    saved = SavedLayout();
    EXPECT_NEAR(saved.workspaces.at(0).cadrels.at(1).density[ViewCompactList], 2.0f, 0.001f);

    // An unpinned cadrel unfolds under the pointer and rolls up after it.
    // (Before any cadrel is made at the pointer: a thread tracks the pointer
    // leaving one window at a time.)
    ASSERT_EQ(RectOf(rolled).Height(), 30);
    const PixelRect bar = RectOf(rolled);
    // The pointer comes in over a few pixels, as a hand brings it, so the
    // cadrel sees moves of its own (a single jump can be delivered to the
    // window the pointer came from).
    PointerTo({(bar.left + bar.right) / 2, bar.top + 15});
    EXPECT_TRUE(WaitFor([&] { return RectOf(rolled).Height() > 100; }, 5000));
    PointerTo({work_.right - 3, work_.bottom - 3});
    EXPECT_TRUE(WaitFor([&] { return RectOf(rolled).Height() == 30; }, 6000)) << "rolls up when left";

    // Hovering an inactive tab for 350 ms activates it; passing over one
    // does not.
    const CadrelView view = ViewOf(grid, ViewIconGrid);
    const float tabWidth = (static_cast<float>(view.width) - 20 - 22) / 3;
    auto tab = [&](int index) {
        return POINT{gridRect.left + static_cast<LONG>(10 + tabWidth * (static_cast<float>(index) + 0.5f)),
                     gridRect.top + 15};
    };
    Sleep(500);  // the frames of the earlier presses are drawn
    PointerTo(tab(2));
    Sleep(100);
    PointerTo(cell(0));
    Sleep(500);
    EXPECT_EQ(TitleOf(grid), L"Entrees") << "passing over a tab does not switch";
    PointerTo(tab(1));
    EXPECT_TRUE(WaitFor([&] { return TitleOf(grid) == L"Deux"; }, 2000)) << "resting on it does";

    // A tab dragged over the bar only reorders, and the saved layout says so.
    Drag(tab(0), tab(2));
    Sleep(300);
    saved = SavedLayout();
    ASSERT_EQ(saved.workspaces.at(0).cadrels.at(0).tabs.size(), 3u);
    EXPECT_EQ(saved.workspaces[0].cadrels[0].tabs[2].title, L"Entrees");
    EXPECT_EQ(saved.workspaces[0].cadrels[0].tabs[0].title, L"Deux");

    // Dragged 30 px below the bar, a tab becomes a cadrel of its own, its
    // title bar under the pointer.
    const POINT trois = tab(1);
    const DragPoints torn = Drag(trois, {trois.x + 40, gridRect.top + 30 + 30 + 30});
    HWND newCadrel = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (newCadrel = CadrelTitled(L"Trois")) != nullptr; }, 3000));
    const PixelRect made = RectOf(newCadrel);
    EXPECT_EQ(made.Width(), 360);
    EXPECT_EQ(made.Height(), 460);
    EXPECT_TRUE(torn.release.x >= made.left && torn.release.x < made.right && torn.release.y >= made.top &&
                torn.release.y < made.top + 30)
        << "the title bar is under the pointer";
    saved = SavedLayout();
    EXPECT_EQ(saved.workspaces.at(0).cadrels.at(0).tabs.size(), 2u);

}

}  // namespace
}  // namespace cadrels::testing
