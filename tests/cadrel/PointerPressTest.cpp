#include "cadrel/PointerPress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrels {
namespace {

constexpr PixelPoint Cursor{500, 300};
constexpr PixelRect Window{400, 200, 700, 600};

PointerPress Begun()
{
    PointerPress press;
    press.Begin(Cursor, Window);
    return press;
}

TEST(PointerPress, EachPressGetsTheKindWhereItLanded)
{
    struct Case {
        const char* what;
        void (*land)(PointerPress&);
        PressKind kind;
        bool onTitleBar;
        bool onItems;
    };
    const Case cases[] = {
        {"nothing", [](PointerPress&) {}, PressKind::None, false, false},
        {"edge", [](PointerPress& p) { p.PressEdges(3); }, PressKind::Resize, false, false},
        {"bar", [](PointerPress& p) { p.PressTitleBar(); }, PressKind::TitleBar, true, false},
        {"tab", [](PointerPress& p) { p.PressTab(1, 12.5f); }, PressKind::Tab, true, false},
        {"item", [](PointerPress& p) { p.PressItem(4, {510, 310}, true); }, PressKind::Item, false, true},
        {"band", [](PointerPress& p) { p.PressBand({20, 60}, false, {}); }, PressKind::Band, false, true},
    };
    for (const Case& c : cases) {
        PointerPress press = Begun();
        c.land(press);
        EXPECT_EQ(press.Kind(), c.kind) << c.what;
        EXPECT_EQ(press.Active(), c.kind != PressKind::None) << c.what;
        EXPECT_EQ(press.OnTitleBar(), c.onTitleBar) << c.what;
        EXPECT_EQ(press.OnItems(), c.onItems) << c.what;
        EXPECT_EQ(press.Resizing(), c.kind == PressKind::Resize) << c.what;
        EXPECT_EQ(press.DragPending(), c.kind == PressKind::Item) << c.what;
        EXPECT_EQ(press.Cursor(), Cursor) << c.what;
        EXPECT_EQ(press.Window(), Window) << c.what;
    }
}

TEST(PointerPress, OnlyABarPressOutsideTheTabsMovesTheWindow)
{
    for (const PressKind kind : {PressKind::None, PressKind::Resize, PressKind::Tab, PressKind::Item}) {
        PointerPress press = Begun();
        if (kind == PressKind::Resize) {
            press.PressEdges(1);
        } else if (kind == PressKind::Tab) {
            press.PressTab(0, 0);
        } else if (kind == PressKind::Item) {
            press.PressItem(0, {}, false);
        }
        EXPECT_FALSE(press.StartMoving()) << static_cast<int>(kind);
        EXPECT_FALSE(press.Moving()) << static_cast<int>(kind);
        EXPECT_EQ(press.MovingOrResizing(), kind == PressKind::Resize) << static_cast<int>(kind);
    }
    PointerPress press = Begun();
    press.PressTitleBar();
    EXPECT_FALSE(press.Moving());
    EXPECT_TRUE(press.StartMoving());
    EXPECT_TRUE(press.Moving());
    EXPECT_TRUE(press.MovingOrResizing());
}

TEST(PointerPress, ATabDragFollowsThePressedTabUntilTheRelease)
{
    PointerPress press = Begun();
    press.PressTitleBar();
    EXPECT_FALSE(press.StartTabDrag());

    press = Begun();
    press.PressTab(2, 17.0f);
    EXPECT_EQ(press.PressedTab(), 2);
    EXPECT_FLOAT_EQ(press.TabGrabOffset(), 17.0f);
    EXPECT_FALSE(press.TabDragging());
    EXPECT_EQ(press.DraggedTab(), -1);

    ASSERT_TRUE(press.StartTabDrag());
    EXPECT_TRUE(press.TabDragging());
    EXPECT_EQ(press.DraggedTab(), 2);
    press.TabMovedTo(0);
    press.SetTabDragPoint({40, 12});
    press.SetTornOff(true);

    const PointerPress ended = press.End();
    EXPECT_EQ(ended.Kind(), PressKind::Tab);
    EXPECT_TRUE(ended.TabDragging());
    EXPECT_TRUE(ended.TornOff());
    EXPECT_EQ(ended.PressedTab(), 2);
    EXPECT_EQ(ended.DraggedTab(), 0);
    EXPECT_EQ(ended.TabDragPoint(), (PixelPoint{40, 12}));

    EXPECT_FALSE(press.Active());
    EXPECT_FALSE(press.TabDragging());
    EXPECT_FALSE(press.TornOff());
    EXPECT_EQ(press.PressedTab(), -1);
    EXPECT_EQ(press.DraggedTab(), -1);
}

// The end of a press, by release or by a lost capture, leaves nothing of it
// behind for the next one to find.
TEST(PointerPress, EndingClearsEveryKindOfPress)
{
    PointerPress press = Begun();
    press.PressItem(3, {505, 305}, true);
    PointerPress ended = press.End();
    EXPECT_EQ(ended.Kind(), PressKind::Item);
    EXPECT_EQ(ended.PressedItem(), 3);
    EXPECT_EQ(ended.ItemPoint(), (PixelPoint{505, 305}));
    EXPECT_TRUE(ended.WasSoleSelection());
    EXPECT_EQ(press.PressedItem(), -1);
    EXPECT_FALSE(press.WasSoleSelection());
    EXPECT_FALSE(press.DragPending());

    press = Begun();
    press.PressBand({10, 50}, true, {true, false, true});
    press.SetBandEnd({90, 140});
    ended = press.End();
    EXPECT_EQ(ended.Kind(), PressKind::Band);
    EXPECT_EQ(ended.BandStart(), (PixelPoint{10, 50}));
    EXPECT_EQ(ended.BandEnd(), (PixelPoint{90, 140}));
    EXPECT_TRUE(ended.BandAdditive());
    EXPECT_EQ(ended.BandBase(), (std::vector<bool>{true, false, true}));
    EXPECT_FALSE(press.OnItems());
    EXPECT_FALSE(press.BandAdditive());
    EXPECT_TRUE(press.BandBase().empty());

    press = Begun();
    press.PressTitleBar();
    press.StartMoving();
    ended = press.End();
    EXPECT_TRUE(ended.Moving());
    EXPECT_FALSE(press.Moving());

    press = Begun();
    press.PressEdges(6);
    ended = press.End();
    EXPECT_EQ(ended.ResizeEdges(), 6);
    EXPECT_FALSE(press.Resizing());
    EXPECT_EQ(press.ResizeEdges(), 0);

    // Ending twice, as a release followed by the capture change it causes does.
    EXPECT_EQ(press.End().Kind(), PressKind::None);
}

TEST(PointerPress, TheSelectionBeforeAnItemPressOutlivesIt)
{
    PointerPress press = Begun();
    press.KeepSelectionBefore({L"a", L"b"});
    press.PressItem(0, {}, false);
    press.End();
    EXPECT_EQ(press.SelectionBefore(), (std::vector<std::wstring>{L"a", L"b"}));

    // A press elsewhere keeps it; the next item press replaces it.
    press.Begin(Cursor, Window);
    press.PressTitleBar();
    press.End();
    EXPECT_EQ(press.SelectionBefore().size(), 2u);
    press.Begin(Cursor, Window);
    press.KeepSelectionBefore({});
    EXPECT_TRUE(press.SelectionBefore().empty());
}

TEST(PointerPress, ARenameCandidateIsTakenOnceAndDroppedByTheNextPress)
{
    PointerPress press = Begun();
    press.PressItem(2, {}, true);
    press.End();
    press.SetRenameCandidate(2, L"C:\\f\\b.txt");
    // Ending again keeps it: only the next press or a drop clears it.
    press.End();
    EXPECT_EQ(press.RenameCandidate(), 2);
    EXPECT_EQ(press.RenameCandidatePath(), L"C:\\f\\b.txt");
    EXPECT_EQ(press.TakeRenameCandidate(), 2);
    EXPECT_EQ(press.TakeRenameCandidate(), -1);

    press.SetRenameCandidate(1, L"C:\\f\\a.txt");
    press.Begin(Cursor, Window);
    EXPECT_EQ(press.RenameCandidate(), -1);

    press.SetRenameCandidate(1, L"C:\\f\\a.txt");
    press.DropRenameCandidate();
    EXPECT_EQ(press.TakeRenameCandidate(), -1);
}

TEST(PointerPress, BeginForgetsAPressThatNeverEnded)
{
    PointerPress press = Begun();
    press.PressTab(1, 3.0f);
    press.StartTabDrag();
    press.SetTornOff(true);
    press.Begin({1, 2}, {0, 0, 10, 10});
    EXPECT_FALSE(press.Active());
    EXPECT_FALSE(press.TabDragging());
    EXPECT_FALSE(press.TornOff());
    EXPECT_EQ(press.DraggedTab(), -1);
    EXPECT_EQ(press.Cursor(), (PixelPoint{1, 2}));
    EXPECT_EQ(press.Window(), (PixelRect{0, 0, 10, 10}));
}

}  // namespace
}  // namespace cadrels
