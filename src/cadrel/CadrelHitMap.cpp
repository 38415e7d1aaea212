#include "cadrel/CadrelHitMap.h"

namespace cadrels {

LayoutRect CadrelHitMap::ItemRect(int index) const
{
    return ItemCellRect(view_, index, itemCount_, scrollOffset_);
}

int CadrelHitMap::ItemAt(int x, int y) const
{
    return ItemAtPoint(view_, x, y, itemCount_, scrollOffset_);
}

LayoutRect CadrelHitMap::TabRect(int index) const
{
    const PixelRect bar =
        TitleBarClientRect(view_.width, view_.height, view_.direction, MetricsForDpi(view_.dpi).titleBar);
    const TabSpan span = TabSpanAt(index, tabCount_, view_.width, view_.height, view_.direction, view_.dpi);
    if (IsVerticalUnfold(view_.direction)) {
        return {static_cast<float>(span.start), static_cast<float>(bar.top), static_cast<float>(span.end),
                static_cast<float>(bar.bottom)};
    }
    return {static_cast<float>(bar.left), static_cast<float>(span.start), static_cast<float>(bar.right),
            static_cast<float>(span.end)};
}

int CadrelHitMap::TabAt(int x, int y) const
{
    return TabAtPoint(x, y, tabCount_, view_.width, view_.height, view_.direction, view_.dpi);
}

int CadrelHitMap::TabInsertIndex(int x, int y) const
{
    return TabInsertIndexAt(x, y, tabCount_, view_.width, view_.height, view_.direction, view_.dpi);
}

bool CadrelHitMap::IsOnTitleBar(int x, int y) const
{
    return IsOnTitleBarAt(x, y, view_.width, view_.height, view_.direction, MetricsForDpi(view_.dpi).titleBar);
}

bool CadrelHitMap::IsOnFooter(int y) const
{
    return IsOnFooterAt(view_, y);
}

LayoutRect CadrelHitMap::ContentRect() const
{
    return ContentArea(view_);
}

float CadrelHitMap::MaxScroll() const
{
    return MaxScrollOffset(view_, itemCount_);
}

}  // namespace cadrels
