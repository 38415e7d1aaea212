// One open menu window: its items, their layout, the highlighted entry and
// the entry whose submenu is open. The window keeps a pointer to its level.
#pragma once

#include "base/UniqueHandle.h"
#include "settings/MenuLayout.h"
#include "settings/UiFontSet.h"

#include <windows.h>

#include <span>
#include <string>

namespace cadrels {

// What every level of one menu shares.
struct MenuStyle {
    MenuMetrics metrics;
    UiFontSet* fonts = nullptr;
    HINSTANCE instance = nullptr;
};

// The extent of a label in the font the menu draws it with, on the screen DC.
int MeasureLabelExtent(UiFontSet& fonts, const std::wstring& label);

class MenuLevel {
public:
    MenuLevel(std::span<const DarkMenuItem> items, const MenuStyle& style);
    MenuLevel(const MenuLevel&) = delete;
    MenuLevel& operator=(const MenuLevel&) = delete;

    // Fits the level into the work area nearest to `at`, then creates and
    // shows its window without activating it. False leaves the level closed.
    bool Open(POINT at);

    HWND Window() const { return window_.Get(); }
    RECT WindowRect() const;
    std::span<const DarkMenuItem> Items() const { return items_; }
    const MenuLevelLayout& Layout() const { return layout_; }

    // The item under a screen point, or -1.
    int ItemAtScreen(POINT point) const;

    int Hot() const { return hot_; }
    void SetHot(int index);

    int OpenChild() const { return openChild_; }
    void SetOpenChild(int index) { openChild_ = index; }

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnPaint(HWND window);

    std::span<const DarkMenuItem> items_;
    const MenuStyle& style_;
    MenuLevelLayout layout_;
    int hot_ = -1;
    int openChild_ = -1;
    UniqueWindow window_;
};

// Draws a level into `dc` in the current palette.
void PaintMenuLevel(HDC dc, const MenuLevel& level, const MenuStyle& style);

}  // namespace cadrels
