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
    const std::wstring outside = Folder(L"dehors", {L"o1.txt", L"o2.txt", L"o3.txt"});
    const std::wstring receive = Folder(L"recoit", {L"deja.txt"});
    const std::wstring other = Folder(L"autre", {});
    const std::wstring source = Folder(L"source", {L"s0.txt", L"s1.txt", L"s2.txt"});
    Workspace page;
    page.id = "{page}";
    page.name = L"Page";
    AddPinned(page, "cadrel-cible", 0.05, 0.08, 0.30, 0.45, {CadrelTab{L"Recoit", receive}, CadrelTab{L"Autre", other}});
    AddPinned(page, "cadrel-source", 0.55, 0.08, 0.30, 0.45, {CadrelTab{L"Source", source}});
    StartWithPage(page);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel cadrel-source : 3 elements listes.", 5000));
    HWND target = CadrelTitled(L"Recoit");
    HWND from = CadrelTitled(L"Source");
    ASSERT_TRUE(target && from);
    const PixelRect targetRect = RectOf(target);
    const POINT targetCentre{(targetRect.left + targetRect.right) / 2, (targetRect.top + targetRect.bottom) / 2};
    const POINT start{work_.left + 5, work_.bottom - 5};

    // Another program's files dropped on the cadrel move into its folder;
    // the source is told they moved, and one undo brings them back.
    const std::wstring shots(CADRELS_TEST_OUTPUT_DIR);
    DWORD effect = DragFiles(outside, {L"o1.txt", L"o2.txt"}, start, targetCentre, DROPEFFECT_COPY | DROPEFFECT_MOVE,
                             [&] {
                                 Sleep(300);
                                 ScreenImage during;
                                 if (during.Capture()) {
                                     during.SavePng(shots + L"\\cadrel-drop-over.png");
                                 }
                             });
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    ASSERT_TRUE(app_.WaitForLine(L"Depot sur le cadrel cadrel-cible : 2 fichier(s) sur 2", 5000));
    EXPECT_TRUE(FileExists(receive + L"\\o1.txt") && FileExists(receive + L"\\o2.txt"));
    EXPECT_FALSE(FileExists(outside + L"\\o1.txt"));
    EXPECT_TRUE(app_.WaitForLine(L"Cadrel cadrel-cible : 3 elements listes.", 3000)) << "the cadrel shows them";
    Sleep(500);
    ScreenImage after;
    ASSERT_TRUE(after.Capture());
    EXPECT_TRUE(after.SavePng(shots + L"\\cadrel-drop-after.png"));
    PostMessageW(app_.AppWindow(), WM_APP_UNDO, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return FileExists(outside + L"\\o1.txt") && FileExists(outside + L"\\o2.txt"); }))
        << "one undo brings both back";

    // A drop on the other tab stores the file there and leaves the tab as it is.
    const float tabWidth = (static_cast<float>(targetRect.Width()) - 20 - 22) / 2;
    const POINT otherTab{targetRect.left + static_cast<LONG>(10 + tabWidth * 1.5f), targetRect.top + 15};
    effect = DragFiles(outside, {L"o3.txt"}, start, otherTab, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_TRUE(WaitFor([&] { return FileExists(other + L"\\o3.txt"); }));
    EXPECT_EQ(TitleOf(target), L"Recoit") << "the tab that received the files does not become active";

    // A source that allows only a copy is never told its files moved: the
    // program cannot copy yet, so nothing happens and it hears so.
    effect = DragFiles(outside, {L"o1.txt"}, start, targetCentre, DROPEFFECT_COPY);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(FileExists(outside + L"\\o1.txt"));
    // Files already where they would go move nothing, and the answer says so.
    effect = DragFiles(receive, {L"deja.txt"}, start, targetCentre, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(FileExists(receive + L"\\deja.txt"));

    // An item dragged out of one cadrel onto another moves there, and the
    // cadrel it left lists its folder again.
    const CadrelView view{RectOf(from).Width(), RectOf(from).Height()};
    const LayoutRect first = ItemCellRect(view, 0, 3, 0);
    const POINT item{RectOf(from).left + static_cast<LONG>((first.left + first.right) / 2),
                     RectOf(from).top + static_cast<LONG>((first.top + first.bottom) / 2)};
    Drag(item, targetCentre);
    EXPECT_TRUE(app_.WaitForLine(L"Glisser hors du cadrel cadrel-source : 1 element(s), depose", 5000));
    EXPECT_TRUE(WaitFor([&] { return FileExists(receive + L"\\s0.txt"); })) << "moved to the other cadrel";
    EXPECT_FALSE(FileExists(source + L"\\s0.txt"));
    EXPECT_TRUE(app_.WaitForLine(L"Cadrel cadrel-source : 2 elements listes.", 3000));
}

}  // namespace
}  // namespace cadrels::testing
