#include "cadrel/CadrelSelection.h"

#include <algorithm>

namespace cadrels {

void SelectRangeBits(std::vector<bool>& bits, int a, int b)
{
    std::fill(bits.begin(), bits.end(), false);
    const int last = static_cast<int>(bits.size()) - 1;
    for (int i = std::max(0, std::min(a, b)); i <= std::min(last, std::max(a, b)); ++i) {
        bits[static_cast<size_t>(i)] = true;
    }
}

int SelectedCountOf(const std::vector<bool>& bits)
{
    return static_cast<int>(std::count(bits.begin(), bits.end(), true));
}

int FirstSelectedOf(const std::vector<bool>& bits)
{
    const auto found = std::find(bits.begin(), bits.end(), true);
    return found == bits.end() ? -1 : static_cast<int>(found - bits.begin());
}

BandRect MarqueeBand(const CadrelView& view, int startX, int startY, int endX, int endY)
{
    const float scale = DpiScale(view.dpi);
    const int bar = static_cast<int>(30 * scale);
    const int footer = static_cast<int>(FooterHeight(view));
    int topLimit = 0;
    int bottomLimit = view.height - footer;
    if (view.direction == UnfoldDown) {
        topLimit = bar;
    } else if (view.direction == UnfoldUp) {
        topLimit = footer;
        bottomLimit = std::max(0, view.height - bar);
    }
    BandRect band;
    band.left = std::min(startX, endX);
    band.right = std::max(startX, endX);
    band.top = std::max(std::min(startY, endY), topLimit);
    band.bottom = std::min(std::max(startY, endY), bottomLimit);
    return band;
}

std::vector<bool> SelectByBand(const CadrelView& view, const BandRect& band, int itemCount, float scrollOffset,
                               bool additive, const std::vector<bool>& base)
{
    std::vector<bool> bits(static_cast<size_t>(std::max(0, itemCount)), false);
    for (int i = 0; i < itemCount; ++i) {
        const LayoutRect cell = ItemCellRect(view, i, itemCount, scrollOffset);
        const int left = std::max(band.left, static_cast<int>(cell.left));
        const int right = std::min(band.right, static_cast<int>(cell.right));
        const int top = std::max(band.top, static_cast<int>(cell.top));
        const int bottom = std::min(band.bottom, static_cast<int>(cell.bottom));
        const bool touched = left < right && top < bottom;
        const bool kept = additive && static_cast<size_t>(i) < base.size() && base[static_cast<size_t>(i)];
        bits[static_cast<size_t>(i)] = touched || kept;
    }
    return bits;
}

int ActiveTabAfterMove(int active, int from, int to)
{
    if (from == active) {
        return to;
    }
    if (from < active && active <= to) {
        return active - 1;
    }
    if (to <= active && active < from) {
        return active + 1;
    }
    return active;
}

bool IsTabTornOff(const CadrelView& view, int x, int y)
{
    if (view.direction != UnfoldDown && view.direction != UnfoldUp) {
        return false;
    }
    const float scale = DpiScale(view.dpi);
    const float margin = 24 * scale;
    const float bar = 30 * scale;
    const float barTop = TitleBarTop(view);
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    return fy < barTop - margin || fy > barTop + bar + margin || fx < -margin ||
           fx > static_cast<float>(view.width) + margin;
}

}  // namespace cadrels
