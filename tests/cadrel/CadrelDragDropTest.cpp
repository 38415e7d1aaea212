// Files dragged into, out of and between cadrels of the real program: a
// drag started by the test stands for another program, a press and move on
// an item drags it out with the program's own drag.
#include "CadrelScenario.h"
#include "DesktopInput.h"
#include "FileDrag.h"
#include "ScreenImage.h"
#include "TestFiles.h"

#include "base/AppMessages.h"
#include "cadrel/CadrelLayout.h"
#include "cadrel/CadrelPlacement.h"
#include "model/LayoutFile.h"
#include "model/MonitorInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

class CadrelDragDrop : public CadrelScenario {
protected:
    CadrelDragDrop() : CadrelScenario(L"cadrel-drop") {}

    void SetUp() override
    {
        OleInitialize(nullptr);
        CadrelScenario::SetUp();
    }
    void TearDown() override
    {
        CadrelScenario::TearDown();
        OleUninitialize();
    }

    std::wstring Folder(const wchar_t* name, std::initializer_list<const wchar_t*> files) const
    {
        const std::wstring folder = root_ + L"\\" + name;
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const wchar_t* file : files) {
            WriteBytes(folder + L"\\" + file, "x");
        }
        return folder;
    }

};

TEST_F(CadrelDragDrop, FilesMoveInOutAndBetweenCadrelsAndTheSourceLearnsWhatHappened)
{
    const std::wstring outside = Folder(L"dehors", {L"o1.txt", L"o2.txt", L"o3.txt", L"o4.txt"});
    const std::wstring receive = Folder(L"recoit", {L"deja.txt"});
    const std::wstring other = Folder(L"autre", {});
    const std::wstring source = Folder(L"source", {L"s0.txt", L"s1.txt", L"s2.txt"});
    const std::wstring beside = Folder(L"pres-appli", {});
    CadrelTab hosting{L"Appli", L""};
    hosting.hostedExe = L"C:\\Programmes\\absent\\appli.exe";
    hosting.hostedTitle = L"Appli";
    Workspace page;
    page.id = "{page}";
    page.name = L"Page";
    AddPinned(page, "cadrel-cible", 0.05, 0.08, 0.30, 0.40, {CadrelTab{L"Recoit", receive}, CadrelTab{L"Autre", other}});
    AddPinned(page, "cadrel-source", 0.55, 0.08, 0.30, 0.40, {CadrelTab{L"Source", source}});
    AddPinned(page, "cadrel-hote", 0.05, 0.55, 0.30, 0.35, {CadrelTab{L"Pres", beside}, hosting});
    AddPinned(page, "cadrel-appli", 0.55, 0.55, 0.30, 0.35, {hosting});
    StartWithPage(page);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel cadrel-source : 3 elements listes.", 5000));
    HWND target = CadrelTitled(L"Recoit");
    HWND from = CadrelTitled(L"Source");
    HWND besideApp = CadrelTitled(L"Pres");
    HWND appOnly = CadrelTitled(L"Appli");
    ASSERT_TRUE(target && from && besideApp && appOnly);
    const PixelRect targetRect = RectOf(target);
    const POINT targetCentre{(targetRect.left + targetRect.right) / 2, (targetRect.top + targetRect.bottom) / 2};
    const POINT start{work_.left + 5, work_.bottom - 5};
    // The second of two tabs on a title bar.
    const auto secondTab = [](const PixelRect& rect) {
        const float tabWidth = (static_cast<float>(rect.Width()) - 20 - 22) / 2;
        return POINT{rect.left + static_cast<LONG>(10 + tabWidth * 1.5f), rect.top + 15};
    };
    // The drop highlight is an accent outline just inside the window's edge.
    const POINT outline{targetRect.left + 2, targetCentre.y};
    const auto outlinePixel = [&] {
        ScreenImage screen;
        return screen.Capture() ? screen.Pixel(outline) : CLR_INVALID;
    };
    const COLORREF idle = outlinePixel();

    // Another program's files dropped on the cadrel move into its folder;
    // the source is told they moved, and one undo brings them back.
    const std::wstring shots(CADRELS_TEST_OUTPUT_DIR);
    COLORREF duringFiles = CLR_INVALID;
    DWORD effect = DragFiles(outside, {L"o1.txt", L"o2.txt"}, start, targetCentre, DROPEFFECT_COPY | DROPEFFECT_MOVE,
                             [&] {
                                 Sleep(300);
                                 ScreenImage during;
                                 if (during.Capture()) {
                                     duringFiles = during.Pixel(outline);
                                     during.SavePng(shots + L"\\cadrel-drop-over.png");
                                 }
                             });
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_NE(duringFiles, idle) << "a drag of files is outlined";
    ASSERT_TRUE(app_.WaitForLine(L"Depot sur le cadrel cadrel-cible : 2 fichier(s) sur 2", 5000));
    EXPECT_TRUE(FileExists(receive + L"\\o1.txt") && FileExists(receive + L"\\o2.txt"));
    EXPECT_FALSE(FileExists(outside + L"\\o1.txt"));
    EXPECT_TRUE(app_.WaitForLine(L"Cadrel cadrel-cible : 3 elements listes.", 3000)) << "the cadrel shows them";
    ScreenImage after;
    ASSERT_TRUE(CaptureSettled(after));
    EXPECT_TRUE(after.SavePng(shots + L"\\cadrel-drop-after.png"));
    EXPECT_EQ(after.Pixel(outline), idle) << "the outline goes with the drop";
    PostMessageW(app_.AppWindow(), WM_APP_UNDO, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return FileExists(outside + L"\\o1.txt") && FileExists(outside + L"\\o2.txt"); }))
        << "one undo brings both back";

    // Text is no file: no outline, and the source hears nothing happened.
    COLORREF duringText = CLR_INVALID;
    const DragOutcome text = DragData(TextDataObject(L"du texte").Get(), start, targetCentre,
                                      DROPEFFECT_COPY | DROPEFFECT_MOVE, false, [&] {
                                          Sleep(300);
                                          duringText = outlinePixel();
                                      });
    EXPECT_EQ(text.dropped, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(text.shown, static_cast<DWORD>(DROPEFFECT_NONE)) << "the pointer shows no drop";
    EXPECT_EQ(duringText, idle);

    // A drop on the other tab stores the file there and leaves the tab as it is.
    effect = DragFiles(outside, {L"o3.txt"}, start, secondTab(targetRect), DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_TRUE(WaitFor([&] { return FileExists(other + L"\\o3.txt"); }));
    EXPECT_EQ(TitleOf(target), L"Recoit") << "the tab that received the files does not become active";

    // Ctrl copies, and the pointer says so while it is held.
    const DragOutcome ctrl = DragData(FilesDataObject(outside, {L"o2.txt"}).Get(), start, targetCentre,
                                      DROPEFFECT_COPY | DROPEFFECT_MOVE, true);
    EXPECT_EQ(ctrl.shown, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(ctrl.dropped, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(WaitFor([&] { return FileExists(receive + L"\\o2.txt"); }));
    EXPECT_TRUE(FileExists(outside + L"\\o2.txt")) << "a copy leaves the original";

    // A source that allows only a copy gets a copy, never a move it would
    // answer by deleting its originals.
    effect = DragFiles(outside, {L"o1.txt"}, start, targetCentre, DROPEFFECT_COPY);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(WaitFor([&] { return FileExists(receive + L"\\o1.txt"); }));
    EXPECT_TRUE(FileExists(outside + L"\\o1.txt"));
    // Files already where they would go move nothing, and the answer says so.
    effect = DragFiles(receive, {L"deja.txt"}, start, targetCentre, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(FileExists(receive + L"\\deja.txt"));

    // A hosting tab has no folder: a drop on it goes to the active tab, and
    // where no tab has a folder nothing moves.
    effect = DragFiles(outside, {L"o4.txt"}, start, secondTab(RectOf(besideApp)), DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_TRUE(WaitFor([&] { return FileExists(beside + L"\\o4.txt"); }));
    const PixelRect appRect = RectOf(appOnly);
    effect = DragFiles(beside, {L"o4.txt"}, start, {(appRect.left + appRect.right) / 2, (appRect.top + appRect.bottom) / 2},
                       DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(FileExists(beside + L"\\o4.txt"));

    // The program's own drags out of the source cadrel.
    const PixelRect fromRect = RectOf(from);
    const CadrelView view{fromRect.Width(), fromRect.Height()};
    const auto cell = [&](int index, int count) {
        const LayoutRect rect = ItemCellRect(view, index, count, 0);
        return POINT{fromRect.left + static_cast<LONG>((rect.left + rect.right) / 2),
                     fromRect.top + static_cast<LONG>((rect.top + rect.bottom) / 2)};
    };
    // Esc during the drag cancels it, wherever the button is released.
    PointerTo(cell(0, 3));
    Button(MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 6; ++i) {
        PointerTo({cell(0, 3).x + (targetCentre.x - cell(0, 3).x) * i / 12, cell(0, 3).y});
    }
    Sleep(300);
    // The drag loop takes Esc from the key messages of the program's thread
    // (a key sent with SendInput would go to whichever window has the focus).
    PostMessageW(from, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(200);
    PointerTo(targetCentre);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(app_.WaitForLine(L"Glisser hors du cadrel cadrel-source : 1 element(s), annule", 5000));
    EXPECT_TRUE(FileExists(source + L"\\s0.txt"));

    // Onto its own items the drag moves nothing.
    Drag(cell(0, 3), cell(2, 3));
    EXPECT_TRUE(app_.WaitForLine(L"Depot sur le cadrel cadrel-source : 0 fichier(s) sur 1", 5000));
    EXPECT_TRUE(FileExists(source + L"\\s0.txt"));

    // An item that is not selected goes alone, whatever is selected.
    Click(cell(1, 3));
    Drag(cell(0, 3), targetCentre);
    EXPECT_TRUE(app_.WaitForLine(L"Glisser hors du cadrel cadrel-source : 1 element(s), depose", 5000));
    EXPECT_TRUE(WaitFor([&] { return FileExists(receive + L"\\s0.txt"); })) << "moved to the other cadrel";
    EXPECT_FALSE(FileExists(source + L"\\s0.txt"));
    EXPECT_TRUE(FileExists(source + L"\\s1.txt"));
    EXPECT_TRUE(app_.WaitForLine(L"Cadrel cadrel-source : 2 elements listes.", 3000)) << "the source lists again";

    // A member of a selection takes the whole selection along, as one undo.
    // Every listing clears the selection: the watcher's own comes first.
    Sleep(1000);
    Click(cell(0, 2));
    ModifiedClick(from, cell(1, 2), MK_CONTROL);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel cadrel-source : selection [0,1].", 3000));
    Drag(cell(0, 2), targetCentre);
    EXPECT_TRUE(app_.WaitForLine(L"Glisser hors du cadrel cadrel-source : 2 element(s), depose", 5000));
    EXPECT_TRUE(WaitFor([&] { return FileExists(receive + L"\\s1.txt") && FileExists(receive + L"\\s2.txt"); }));
    EXPECT_TRUE(app_.WaitForLine(L"Cadrel cadrel-source : 0 elements listes.", 3000));
    PostMessageW(app_.AppWindow(), WM_APP_UNDO, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return FileExists(source + L"\\s1.txt") && FileExists(source + L"\\s2.txt"); }));
    EXPECT_TRUE(FileExists(receive + L"\\s0.txt")) << "the earlier drag is a separate entry";
}

}  // namespace
}  // namespace cadrels::testing
