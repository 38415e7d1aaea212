// The geometry and keyboard walk of one menu level, as plain functions over
// item lists so they can be checked without windows.
#pragma once

#include "settings/DarkMenu.h"

#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace cadrels {

// Every length of a menu at one DPI.
struct MenuMetrics {
    int dpi;
    int itemHeight;
    int separatorHeight;
    int separatorInset;
    int verticalMargin;
    int textLeft;
    int textRightMargin;
    int cornerDiameter;
    int minimumWidth;
    int highlightInset;
    int highlightCorner;
    int markCenterX;
    int markPenWidth;
    int radioRadius;
    int submenuOffset;
};

MenuMetrics MenuMetricsAt(int dpi);

struct MenuLevelLayout {
    int width = 0;
    int height = 0;
    std::vector<int> tops;  // one per item, in client coordinates
    std::vector<int> heights;
};

using LabelWidth = std::function<int(const std::wstring&)>;

MenuLevelLayout MeasureMenuLevel(std::span<const DarkMenuItem> items, const MenuMetrics& metrics,
                                 const LabelWidth& labelWidth);

// The item whose vertical span holds the client y, or -1.
int MenuItemAt(const MenuLevelLayout& layout, int y);

// An entry that can be highlighted by the keyboard and chosen.
bool IsChoosable(const DarkMenuItem& item);
bool OpensSubmenu(const DarkMenuItem& item);

// Up/Down: the previous or next choosable item, wrapping around; from -1,
// forward gives the first and backward the last. `hot` itself when nothing
// else can be chosen.
int NextMenuCandidate(std::span<const DarkMenuItem> items, int hot, bool forward);

// Where item `index` of a level whose window is `parentWindow` opens its
// submenu, before the work-area fit.
POINT SubmenuOrigin(const RECT& parentWindow, const MenuLevelLayout& parent, int index, const MenuMetrics& metrics);

}  // namespace cadrels
