// The small timing and index rules of the application window, as plain
// functions over plain values, free of Windows headers.
#pragma once

#include <cstdint>

namespace cadrels {

// True while `now` is before `until`, across the 49-day tick wrap.
bool TickBefore(std::uint32_t now, std::uint32_t until);

// The sorting pass waits while a close prompt runs and while undo or redo
// just moved files back (they would be filed again at once).
bool SortMustWait(bool busy, std::uint32_t now, std::uint32_t suppressedUntil);

// The page `step` places away from `active`, wrapping; -1 without pages.
int WrappedPageIndex(int active, int count, int step);

}  // namespace cadrels
