// The arithmetic of pointer interaction with a cadrel's content: selection
// bits, the rubber band, tab reordering and tearing off. Plain values only,
// so it builds and is tested on any host.
#pragma once

#include "cadrel/CadrelLayout.h"

#include <vector>

namespace cadrels {

// Clears every bit, then sets those from min(a, b) to max(a, b), kept to
// the bits there are.
void SelectRangeBits(std::vector<bool>& bits, int a, int b);
int SelectedCountOf(const std::vector<bool>& bits);
// The lowest set bit, -1 without one.
int FirstSelectedOf(const std::vector<bool>& bits);

struct BandRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The rubber band between two client points, normalised and kept off the
// title bar and the footer.
BandRect MarqueeBand(const CadrelView& view, int startX, int startY, int endX, int endY);

// The selection a band makes: the items whose cells (edges truncated)
// intersect it, plus with `additive` those set in `base`.
std::vector<bool> SelectByBand(const CadrelView& view, const BandRect& band, int itemCount, float scrollOffset,
                               bool additive, const std::vector<bool>& base);

// Where the active tab stands after moving the tab at `from` to `to`.
int ActiveTabAfterMove(int active, int from, int to);

// Whether a tab dragged to the client point has left a horizontal title bar
// by more than 24s: only bars across the top or bottom tear tabs off.
bool IsTabTornOff(const CadrelView& view, int x, int y);

}  // namespace cadrels
