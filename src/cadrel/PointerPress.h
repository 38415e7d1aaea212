// One press of the left button on a cadrel, from the press to the release or
// the loss of the capture. Its kind is decided where it lands: an edge
// resizes, the title bar may become a move, a tab may be dragged along the
// bar or torn off it, an item may become a drag out, the space between
// items draws a rubber band. Two things outlive the press: the selection as
// it stood before an item press (a double click opens all of it) and the
// item a slow second click may rename. Plain values only, so it builds and
// is tested on any host.
#pragma once

#include "base/PixelGeometry.h"

#include <string>
#include <utility>
#include <vector>

namespace cadrels {

enum class PressKind { None, Resize, TitleBar, Tab, Item, Band };

class PointerPress {
public:
    PressKind Kind() const { return kind_; }
    bool Active() const { return kind_ != PressKind::None; }
    // A tab lies on the title bar: pressing one is a title bar press too.
    bool OnTitleBar() const { return kind_ == PressKind::TitleBar || kind_ == PressKind::Tab; }
    bool OnItems() const { return kind_ == PressKind::Item || kind_ == PressKind::Band; }

    // Every press starts here, with the cursor and the window rectangle on
    // screen; it has no kind until one of the Press calls gives it one. A
    // rename waiting from the previous click is dropped.
    void Begin(PixelPoint cursor, PixelRect window);
    void PressEdges(int edges);
    void PressTitleBar();
    // `grabOffset`: how far from the tab's leading edge it was taken.
    void PressTab(int tab, float grabOffset);
    // `screen`: where the item was pressed, for the drag threshold.
    // `wasSoleSelection`: it was the only selected item before the press.
    void PressItem(int item, PixelPoint screen, bool wasSoleSelection);
    void PressBand(PixelPoint client, bool additive, std::vector<bool> base);
    void KeepSelectionBefore(std::vector<std::wstring> paths) { selectionBefore_ = std::move(paths); }

    // Ends the press and returns it as it stood. Ending no press returns one
    // of kind None.
    PointerPress End();

    PixelPoint Cursor() const { return cursor_; }
    PixelRect Window() const { return window_; }
    // The window was put at `window` while the pointer stood at `cursor`
    // (the system's rectangle for a new monitor's scale): later steps of the
    // move or resize go on from there instead of from the press, or the
    // window would go back across the monitor edge and flip scale again.
    void Rebase(PixelRect window, PixelPoint cursor)
    {
        window_ = window;
        cursor_ = cursor;
    }

    bool Resizing() const { return kind_ == PressKind::Resize; }
    int ResizeEdges() const { return edges_; }
    // Only a press on the bar outside the tabs moves the window.
    bool StartMoving();
    bool Moving() const { return moving_; }
    bool MovingOrResizing() const { return moving_ || Resizing(); }

    int PressedTab() const { return pressedTab_; }
    // The pressed tab starts following the pointer; false without one.
    bool StartTabDrag();
    bool TabDragging() const { return tabDragging_; }
    int DraggedTab() const { return draggedTab_; }
    void TabMovedTo(int slot) { draggedTab_ = slot; }
    bool TornOff() const { return tornOff_; }
    void SetTornOff(bool torn) { tornOff_ = torn; }
    float TabGrabOffset() const { return grabOffset_; }
    PixelPoint TabDragPoint() const { return tabDragPoint_; }
    void SetTabDragPoint(PixelPoint client) { tabDragPoint_ = client; }

    int PressedItem() const { return pressedItem_; }
    PixelPoint ItemPoint() const { return itemPoint_; }
    bool WasSoleSelection() const { return wasSoleSelection_; }
    // The item press waits for the pointer to go past the drag threshold.
    bool DragPending() const { return kind_ == PressKind::Item; }

    PixelPoint BandStart() const { return bandStart_; }
    PixelPoint BandEnd() const { return bandEnd_; }
    void SetBandEnd(PixelPoint client) { bandEnd_ = client; }
    bool BandAdditive() const { return bandAdditive_; }
    const std::vector<bool>& BandBase() const { return bandBase_; }

    const std::vector<std::wstring>& SelectionBefore() const { return selectionBefore_; }

    void SetRenameCandidate(int item, std::wstring path);
    int RenameCandidate() const { return renameCandidate_; }
    const std::wstring& RenameCandidatePath() const { return renameCandidatePath_; }
    // The candidate, once: afterwards there is none.
    int TakeRenameCandidate();
    void DropRenameCandidate();

private:
    PressKind kind_ = PressKind::None;
    PixelPoint cursor_;
    PixelRect window_;
    int edges_ = 0;
    bool moving_ = false;
    int pressedTab_ = -1;
    bool tabDragging_ = false;
    int draggedTab_ = -1;
    bool tornOff_ = false;
    float grabOffset_ = 0;
    PixelPoint tabDragPoint_;
    int pressedItem_ = -1;
    PixelPoint itemPoint_;
    bool wasSoleSelection_ = false;
    PixelPoint bandStart_;
    PixelPoint bandEnd_;
    bool bandAdditive_ = false;
    std::vector<bool> bandBase_;

    std::vector<std::wstring> selectionBefore_;
    int renameCandidate_ = -1;
    std::wstring renameCandidatePath_;
};

}  // namespace cadrels
