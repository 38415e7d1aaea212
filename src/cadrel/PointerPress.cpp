#include "cadrel/PointerPress.h"

namespace cadrels {

void PointerPress::Begin(PixelPoint cursor, PixelRect window)
{
    End();
    DropRenameCandidate();
    cursor_ = cursor;
    window_ = window;
}

void PointerPress::PressEdges(int edges)
{
    kind_ = PressKind::Resize;
    edges_ = edges;
}

void PointerPress::PressTitleBar()
{
    kind_ = PressKind::TitleBar;
}

void PointerPress::PressTab(int tab, float grabOffset)
{
    kind_ = PressKind::Tab;
    pressedTab_ = tab;
    grabOffset_ = grabOffset;
}

void PointerPress::PressItem(int item, PixelPoint screen, bool wasSoleSelection)
{
    kind_ = PressKind::Item;
    pressedItem_ = item;
    itemPoint_ = screen;
    wasSoleSelection_ = wasSoleSelection;
}

void PointerPress::PressBand(PixelPoint client, bool additive, std::vector<bool> base)
{
    kind_ = PressKind::Band;
    bandStart_ = bandEnd_ = client;
    bandAdditive_ = additive;
    bandBase_ = std::move(base);
}

PointerPress PointerPress::End()
{
    PointerPress ended = std::move(*this);
    // What outlives the press stays; everything else starts over.
    PointerPress fresh;
    fresh.cursor_ = ended.cursor_;
    fresh.window_ = ended.window_;
    fresh.selectionBefore_ = ended.selectionBefore_;
    fresh.renameCandidate_ = ended.renameCandidate_;
    fresh.renameCandidatePath_ = ended.renameCandidatePath_;
    *this = std::move(fresh);
    return ended;
}

bool PointerPress::StartMoving()
{
    if (kind_ != PressKind::TitleBar) {
        return false;
    }
    moving_ = true;
    return true;
}

bool PointerPress::StartTabDrag()
{
    if (kind_ != PressKind::Tab || pressedTab_ < 0) {
        return false;
    }
    tabDragging_ = true;
    draggedTab_ = pressedTab_;
    return true;
}

void PointerPress::SetRenameCandidate(int item, std::wstring path)
{
    renameCandidate_ = item;
    renameCandidatePath_ = std::move(path);
}

int PointerPress::TakeRenameCandidate()
{
    const int item = renameCandidate_;
    renameCandidate_ = -1;
    return item;
}

void PointerPress::DropRenameCandidate()
{
    renameCandidate_ = -1;
}

}  // namespace cadrels
