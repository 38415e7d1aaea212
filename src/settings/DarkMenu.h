// The owner-drawn popup menu with nested submenus that every window of the
// program uses. It runs its own message loop on the main thread and returns
// the chosen entry; everything it does not consume is dispatched, so timers,
// posted messages and other windows keep working (and callers must expect
// re-entrant calls) while it is open.
#pragma once

#include "settings/DarkMenuItem.h"

#include <windows.h>

#include <string>
#include <vector>

namespace cadrels {


// Shows the menu with its top-left corner at the screen point (x, y), fitted
// into the work area of the nearest monitor, and returns the chosen entry's
// id, or 0 when nothing was chosen. `owner` only supplies the module instance
// (the process module when it is null); the menu windows have no owner.
// Lengths are given at 96 DPI and scaled to `dpi` (0 counts as 96).
int ShowDarkMenu(HWND owner, const std::vector<DarkMenuItem>& items, int x, int y, int dpi);

// The width in pixels that the menu measures for a label at `dpi`: the text
// extent in the menu font, without the mark column and the right margin.
int MeasureMenuLabel(const std::wstring& label, int dpi);

}  // namespace cadrels
