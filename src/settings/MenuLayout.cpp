#include "settings/MenuLayout.h"

#include "settings/DarkStyle.h"

#include <algorithm>

namespace cadrels {

MenuMetrics MenuMetricsAt(int dpi)
{
    auto s = [dpi](int length) { return ScaleLength(length, dpi); };
    return {
        .dpi = dpi == 0 ? USER_DEFAULT_SCREEN_DPI : dpi,
        .itemHeight = s(30),
        .separatorHeight = s(9),
        .separatorInset = s(10),
        .verticalMargin = s(6),
        .textLeft = s(34),
        .textRightMargin = s(28),
        .cornerDiameter = s(9),
        .minimumWidth = s(170),
        .highlightInset = s(4),
        .highlightCorner = s(6),
        .markCenterX = s(14),
        .markPenWidth = s(2),
        .radioRadius = s(3),
        .submenuOffset = s(3),
    };
}

MenuLevelLayout MeasureMenuLevel(std::span<const DarkMenuItem> items, const MenuMetrics& metrics,
                                 const LabelWidth& labelWidth)
{
    MenuLevelLayout layout;
    layout.tops.reserve(items.size());
    layout.heights.reserve(items.size());
    int y = metrics.verticalMargin;
    int widest = metrics.minimumWidth;
    for (const DarkMenuItem& item : items) {
        const int height = item.separator ? metrics.separatorHeight : metrics.itemHeight;
        layout.tops.push_back(y);
        layout.heights.push_back(height);
        y += height;
        if (!item.separator) {
            widest = std::max(widest, metrics.textLeft + metrics.textRightMargin + labelWidth(item.label));
        }
    }
    layout.width = widest;
    layout.height = y + metrics.verticalMargin;
    return layout;
}

int MenuItemAt(const MenuLevelLayout& layout, int y)
{
    for (size_t i = 0; i < layout.tops.size(); ++i) {
        if (y >= layout.tops[i] && y < layout.tops[i] + layout.heights[i]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool IsChoosable(const DarkMenuItem& item)
{
    return !item.separator && item.enabled;
}

bool OpensSubmenu(const DarkMenuItem& item)
{
    return IsChoosable(item) && !item.children.empty();
}

int NextMenuCandidate(std::span<const DarkMenuItem> items, int hot, bool forward)
{
    const int count = static_cast<int>(items.size());
    int index = hot;
    for (int step = 0; step < count; ++step) {
        if (forward) {
            index = index + 1 >= count ? 0 : index + 1;
        } else {
            index = index <= 0 ? count - 1 : index - 1;
        }
        if (IsChoosable(items[static_cast<size_t>(index)])) {
            return index;
        }
    }
    return hot;
}

POINT SubmenuOrigin(const RECT& parentWindow, const MenuLevelLayout& parent, int index, const MenuMetrics& metrics)
{
    return {parentWindow.right - metrics.submenuOffset, parentWindow.top + parent.tops[static_cast<size_t>(index)]};
}

}  // namespace cadrels
