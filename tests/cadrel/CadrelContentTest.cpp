// What cadrels show, end to end: the real program lists its cadrels'
// folders, follows changes made by another process, and draws items, tabs
// and footers where the layout puts them, in every view and bar side.
#include "CadrelScenario.h"
#include "DesktopInput.h"
#include "ScreenImage.h"
#include "TestFiles.h"

#include "cadrel/CadrelLayout.h"
#include "cadrel/CadrelPlacement.h"
#include "model/LayoutFile.h"
#include "model/MonitorInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

// Whether the rectangle holds anything drawn: two pixels whose colours are
// far apart. An empty stretch of a cadrel's body is one flat colour.
bool HasDetail(const ScreenImage& image, const LayoutRect& area)
{
    const COLORREF first = image.Pixel(static_cast<int>(area.left) + 1, static_cast<int>(area.top) + 1);
    for (int y = static_cast<int>(area.top) + 1; y < static_cast<int>(area.bottom) - 1; ++y) {
        for (int x = static_cast<int>(area.left) + 1; x < static_cast<int>(area.right) - 1; ++x) {
            const COLORREF c = image.Pixel(x, y);
            if (std::abs(GetRValue(c) - GetRValue(first)) + std::abs(GetGValue(c) - GetGValue(first)) +
                    std::abs(GetBValue(c) - GetBValue(first)) >
                60) {
                return true;
            }
        }
    }
    return false;
}

// A fingerprint of a rectangle's pixels, to see that something changed.
unsigned long long Fingerprint(const ScreenImage& image, const LayoutRect& area)
{
    unsigned long long hash = 1469598103934665603ull;
    for (int y = static_cast<int>(area.top); y < static_cast<int>(area.bottom); ++y) {
        for (int x = static_cast<int>(area.left); x < static_cast<int>(area.right); ++x) {
            hash = (hash ^ image.Pixel(x, y)) * 1099511628211ull;
        }
    }
    return hash;
}

// Whether any pixel of the rectangle is clearly red.
bool HasRed(const ScreenImage& image, const LayoutRect& area)
{
    for (int y = static_cast<int>(area.top); y < static_cast<int>(area.bottom); ++y) {
        for (int x = static_cast<int>(area.left); x < static_cast<int>(area.right); ++x) {
            const COLORREF c = image.Pixel(x, y);
            if (GetRValue(c) > 170 && GetGValue(c) < 90 && GetBValue(c) < 90) {
                return true;
            }
        }
    }
    return false;
}

LayoutRect Offset(const LayoutRect& r, const PixelRect& window)
{
    return {r.left + static_cast<float>(window.left), r.top + static_cast<float>(window.top),
            r.right + static_cast<float>(window.left), r.bottom + static_cast<float>(window.top)};
}

POINT CentreOf(const LayoutRect& r)
{
    return {static_cast<LONG>((r.left + r.right) / 2), static_cast<LONG>((r.top + r.bottom) / 2)};
}

struct Shown {
    const char* id;
    int viewMode;
    int direction;
    double x, y, w, h;
};

// One cadrel per view mode and bar side, pinned open side by side.
constexpr Shown Grid{"cadrel-grid", ViewIconGrid, UnfoldDown, 0.03, 0.04, 0.30, 0.44};
constexpr Shown List{"cadrel-list", ViewCompactList, UnfoldUp, 0.36, 0.04, 0.28, 0.44};
constexpr Shown Tiles{"cadrel-tiles", ViewLargeTiles, UnfoldLeft, 0.67, 0.04, 0.30, 0.44};
constexpr Shown Side{"cadrel-side", ViewIconGrid, UnfoldRight, 0.03, 0.52, 0.30, 0.44};
constexpr Shown Burst{"cadrel-burst", ViewCompactList, UnfoldDown, 0.36, 0.52, 0.28, 0.40};

class CadrelContent : public CadrelScenario {
protected:
    CadrelContent() : CadrelScenario(L"cadrel-content") {}

    std::wstring Folder(const char* id) const { return root_ + L"\\" + std::wstring(id, id + strlen(id)); }

    void Fill(const std::wstring& folder, int count, const wchar_t* prefix) const
    {
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(WriteBytes(folder + L"\\" + prefix + std::to_wstring(i) + L".txt", "x"));
        }
    }

    void AddCadrel(Workspace& page, const Shown& shown, std::vector<CadrelTab> tabs) const
    {
        CadrelRecord& record = AddPinned(page, shown.id, shown.x, shown.y, shown.w, shown.h, std::move(tabs));
        record.viewMode = shown.viewMode;
        record.expandDir = shown.direction;
        record.sortBy = 2;
        record.sortDesc = true;
        record.opacity = 0.9;
    }

    static std::wstring Listed(const Shown& shown, size_t count)
    {
        return L"Cadrel " + std::wstring(shown.id, shown.id + strlen(shown.id)) + L" : " + std::to_wstring(count) +
               L" elements listes.";
    }

    static CadrelView ViewOf(HWND window, const Shown& shown)
    {
        RECT client{};
        GetClientRect(window, &client);
        CadrelView view;
        view.width = client.right;
        view.height = client.bottom;
        view.direction = shown.direction;
        view.viewMode = shown.viewMode;
        view.dpi = GetDpiForWindow(window) == 0 ? 96 : GetDpiForWindow(window);
        return view;
    }

};

TEST_F(CadrelContent, ListsFollowsAndDrawsFoldersInEveryViewAndDirection)
{
    // The grid cadrel's folder: what a user sees, and what stays hidden.
    const std::wstring mixed = Folder(Grid.id);
    ASSERT_TRUE(CreateDirectoryW(mixed.c_str(), nullptr));
    for (const wchar_t* name : {L"a.txt", L"B.txt", L"Report.lnk", L"old.txt", L"desktop.ini", L"hidden.txt",
                                L"system.txt"}) {
        ASSERT_TRUE(WriteBytes(mixed + L"\\" + name, "some bytes"));
    }
    ASSERT_TRUE(SetFileAttributesW((mixed + L"\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW((mixed + L"\\system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(CreateDirectoryW((mixed + L"\\Sub").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(mixed + L"\\Sub\\inside.txt", std::string(100, 'x')));
    ASSERT_TRUE(WriteBytes(mixed + L"\\photo.bmp", Bitmap24(64, [](int) { return RGB(220, 30, 30); })));
    const std::wstring second = root_ + L"\\second";
    ASSERT_TRUE(CreateDirectoryW(second.c_str(), nullptr));
    Fill(second, 2, L"autre");
    for (const Shown* shown : {&List, &Tiles, &Side, &Burst}) {
        ASSERT_TRUE(CreateDirectoryW(Folder(shown->id).c_str(), nullptr));
    }
    Fill(Folder(List.id), 3, L"liste");
    Fill(Folder(Tiles.id), 4, L"tuile");
    Fill(Folder(Side.id), 6, L"cote");
    Fill(Folder(Burst.id), 40, L"rafale");

    Workspace page;
    page.id = "{page}";
    page.name = L"Page";
    // The first tab's emblem is built in; the second names a file that is not there.
    CadrelTab pinnedTab{L"Mixte", mixed, {L"OLD.TXT"}, L"svg:trash"};
    CadrelTab otherTab{L"Autre", second, {}, root_ + L"\\missing.svg"};
    AddCadrel(page, Grid, {pinnedTab, otherTab});
    AddCadrel(page, List, {CadrelTab{L"Liste", Folder(List.id)}});
    AddCadrel(page, Tiles, {CadrelTab{L"Tuiles", Folder(Tiles.id)}});
    AddCadrel(page, Side, {CadrelTab{L"Cote", Folder(Side.id)}});
    AddCadrel(page, Burst, {CadrelTab{L"Rafale", Folder(Burst.id)}});
    StartWithPage(page);
    // desktop.ini, the hidden and the system file never show.
    EXPECT_TRUE(app_.WaitForLine(Listed(Grid, 6), 5000));
    EXPECT_TRUE(app_.WaitForLine(Listed(List, 3), 5000));
    EXPECT_TRUE(app_.WaitForLine(Listed(Tiles, 4), 5000));
    EXPECT_TRUE(app_.WaitForLine(Listed(Side, 6), 5000));
    EXPECT_TRUE(app_.WaitForLine(Listed(Burst, 40), 5000));
    HWND grid = CadrelTitled(L"Mixte");
    HWND list = CadrelTitled(L"Liste");
    HWND tiles = CadrelTitled(L"Tuiles");
    HWND side = CadrelTitled(L"Cote");
    ASSERT_TRUE(grid && list && tiles && side);
    // The icons arrive and the cadrels redraw.
    ScreenImage screen;
    ASSERT_TRUE(CaptureSettled(screen));
    EXPECT_TRUE(screen.SavePng(std::wstring(CADRELS_TEST_OUTPUT_DIR) + L"\\cadrel-content.png"));

    // Every cadrel draws its first item where the layout says, and nothing
    // where no item is; its bar carries the title.
    struct Expect {
        HWND window;
        const Shown& shown;
        int items;
    };
    for (const Expect& e : {Expect{grid, Grid, 6}, Expect{list, List, 3}, Expect{tiles, Tiles, 4},
                            Expect{side, Side, 6}}) {
        SCOPED_TRACE(e.shown.id);
        const PixelRect window = RectOf(e.window);
        const CadrelView view = ViewOf(e.window, e.shown);
        EXPECT_TRUE(HasDetail(screen, Offset(ItemCellRect(view, 0, e.items, 0), window))) << "the first item";
        EXPECT_TRUE(HasDetail(screen, Offset(ItemCellRect(view, e.items - 1, e.items, 0), window))) << "the last";
        const LayoutRect area = ContentArea(view);
        const LayoutRect cell = ItemCellRect(view, 0, e.items, 0);
        // An empty stretch of content: past the last item's row, or for the
        // bar at the bottom, above the first item.
        LayoutRect empty = area;
        if (e.shown.direction == UnfoldUp) {
            empty.bottom = cell.top - 2;
            empty.top = area.top + 4;
        } else {
            empty.top = ItemCellRect(view, e.items - 1, e.items, 0).bottom + 2;
            empty.bottom = area.bottom - 4;
        }
        empty.left += 12;
        empty.right -= 12;
        ASSERT_GT(empty.bottom - empty.top, 10.0f) << "the cadrel is tall enough to leave room";
        EXPECT_FALSE(HasDetail(screen, Offset(empty, window))) << "nothing is drawn where no item is";
        const PixelRect bar = TitleBarClientRect(view.width, view.height, e.shown.direction, ScaleLength(30, view.dpi));
        const LayoutRect barArea{static_cast<float>(bar.left) + 12, static_cast<float>(bar.top) + 4,
                                 static_cast<float>(bar.right) - 12, static_cast<float>(bar.bottom) - 4};
        EXPECT_TRUE(HasDetail(screen, Offset(barArea, window))) << "the title";
        // The footer line counts the items.
        const float footer = FooterHeight(view);
        ASSERT_GT(footer, 0.0f);
        const float footerTop = e.shown.direction == UnfoldUp ? 0 : static_cast<float>(view.height) - footer;
        const float left = e.shown.direction == UnfoldRight ? 40.0f : 10.0f;
        const float right = static_cast<float>(view.width) - (e.shown.direction == UnfoldLeft ? 40.0f : 10.0f);
        EXPECT_TRUE(HasDetail(screen, Offset({left, footerTop + 2, right, footerTop + footer - 2}, window)))
            << "the footer";
    }

    // Pictures show as thumbnails of themselves.
    const PixelRect gridRect = RectOf(grid);
    const CadrelView gridView = ViewOf(grid, Grid);
    EXPECT_TRUE(HasRed(screen, Offset(ContentArea(gridView), gridRect))) << "the red picture's thumbnail";

    // The built-in emblem stands left of its tab's centred title; the
    // missing file's draws nothing there.
    for (int tab = 0; tab < 2; ++tab) {
        const float width = (static_cast<float>(gridView.width) - 20 - 22) / 2;
        const float centre = 10 + width * (static_cast<float>(tab) + 0.5f);
        const LayoutRect emblem{centre - 42, 9, centre - 27, 21};
        EXPECT_EQ(HasDetail(screen, Offset(emblem, gridRect)), tab == 0) << "tab " << tab;
    }

    // Hovering an item highlights its cell; a click selects it.
    const LayoutRect third = Offset(ItemCellRect(gridView, 2, 6, 0), gridRect);
    const unsigned long long plain = Fingerprint(screen, third);
    PointerTo(CentreOf(third));
    EXPECT_TRUE(WaitFor([&] { return screen.Capture() && Fingerprint(screen, third) != plain; })) << "hover shows";
    const unsigned long long hovered = Fingerprint(screen, third);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitFor([&] { return screen.Capture() && Fingerprint(screen, third) != hovered; }))
        << "the selection's outline shows";

    // Files made, renamed and removed by another process show after one
    // coalesced refresh.
    Fill(mixed, 3, L"nouveau");
    EXPECT_TRUE(app_.WaitForLine(Listed(Grid, 9), 5000));
    const size_t nines = app_.CountLines(Listed(Grid, 9));
    ASSERT_TRUE(MoveFileW((mixed + L"\\nouveau0.txt").c_str(), (mixed + L"\\renomme.txt").c_str()));
    EXPECT_TRUE(app_.WaitForLine(Listed(Grid, 9), 5000, nines + 1)) << "a rename lists again";
    ASSERT_TRUE(DeleteFileW((mixed + L"\\renomme.txt").c_str()));
    EXPECT_TRUE(app_.WaitForLine(Listed(Grid, 8), 5000));

    // 500 changes in a burst make a handful of listings, not 500.
    const std::wstring burstPrefix = L"Cadrel " + std::wstring(Burst.id, Burst.id + strlen(Burst.id)) + L" :";
    const size_t before = app_.CountLines(burstPrefix);
    Fill(Folder(Burst.id), 500, L"vague");
    EXPECT_TRUE(app_.WaitForLine(Listed(Burst, 540), 10000));
    Sleep(700);
    const size_t listings = app_.CountLines(burstPrefix) - before;
    EXPECT_GE(listings, 1u);
    EXPECT_LE(listings, 20u) << "bursts are coalesced";

    // A folder moved away empties its cadrel, which follows it again when
    // it comes back.
    const std::wstring away = root_ + L"\\ailleurs";
    ASSERT_TRUE(MoveFileW(Folder(Side.id).c_str(), away.c_str()));
    EXPECT_TRUE(app_.WaitForLine(Listed(Side, 0), 8000));
    ASSERT_TRUE(MoveFileW(away.c_str(), Folder(Side.id).c_str()));
    EXPECT_TRUE(app_.WaitForLine(Listed(Side, 6), 12000, 2)) << "listed again once it is back";

    // Choosing the second tab lists its folder and watches it instead.
    const LayoutRect secondTab{gridRect.left + gridView.width * 0.6f, gridRect.top + 5.0f,
                               gridRect.left + gridView.width * 0.6f + 4, gridRect.top + 9.0f};
    Click(CentreOf(secondTab));
    ASSERT_TRUE(WaitFor([&] { return TitleOf(grid) == L"Autre"; }, 3000)) << "the window takes the tab's title";
    EXPECT_TRUE(app_.WaitForLine(Listed(Grid, 2), 3000));
    Fill(second, 1, L"encore");
    EXPECT_TRUE(app_.WaitForLine(Listed(Grid, 3), 5000)) << "the new tab's folder is watched";
}

}  // namespace
}  // namespace cadrels::testing
