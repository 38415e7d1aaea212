// Where things stand in a cadrel's client area for one state of it: its
// view, how many tabs and items it shows and how far it is scrolled. The
// pointer handling, drawing, the rename box and drops ask it; it needs no
// window, so the answers are tested on their own.
#pragma once

#include "cadrel/CadrelLayout.h"

namespace cadrels {

class CadrelHitMap {
public:
    CadrelHitMap(const CadrelView& view, int tabCount, int itemCount, float scrollOffset)
        : view_(view), tabCount_(tabCount), itemCount_(itemCount), scrollOffset_(scrollOffset)
    {
    }

    // In client pixels; -1 where no item or tab is.
    LayoutRect ItemRect(int index) const;
    int ItemAt(int x, int y) const;
    LayoutRect TabRect(int index) const;
    int TabAt(int x, int y) const;
    // Where a dragged tab would be inserted.
    int TabInsertIndex(int x, int y) const;
    bool IsOnTitleBar(int x, int y) const;
    bool IsOnFooter(int y) const;
    LayoutRect ContentRect() const;
    float MaxScroll() const;

private:
    CadrelView view_;
    int tabCount_;
    int itemCount_;
    float scrollOffset_;
};

}  // namespace cadrels
