// The dock's geometry as plain functions over plain values: which slot holds
// what, the window width, the rest centres, magnification and bounce, the
// rectangles of one frame, hit-testing, placement against the taskbar,
// reordering, item labels and dropped items. Lengths are given at 96 DPI and
// multiplied by `scale` (the window's DPI / 96). Free of Windows headers.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

inline constexpr int DockFixedSlotCount = 5;
inline constexpr float DockIconSize = 44.0f;
inline constexpr float DockSlotGap = 10.0f;
inline constexpr float DockSeparatorGap = 18.0f;
inline constexpr float DockShelfMargin = 10.0f;
inline constexpr float DockShelfHeight = 64.0f;
inline constexpr float DockWindowHeight = 120.0f;
inline constexpr float DockEdgeDistance = 8.0f;
// Room left and right of the shelf for icons that grow under the pointer.
inline constexpr float DockMagnifyRoom = 3.0f * 28.0f;
// An icon grows from 44 to 72 pixels at most.
inline constexpr float DockMagnifyGain = 7.0f / 11.0f;
inline constexpr float DockMagnifyRadius = 95.0f;
inline constexpr float DockEase = 0.3f;
// A scale that moves less than this in one tick has arrived.
inline constexpr float DockScaleSettled = 0.0015f;
inline constexpr float DockHoverScale = 1.06f;
inline constexpr float DockBounceStep = 0.015f;
inline constexpr float DockBounceDuration = 0.55f;
inline constexpr float DockBounceHeight = 16.0f;

enum class DockSlotKind { ThisPc, Applications, NewCadrel, Settings, Item, Trash };

struct DockSlot {
    DockSlotKind kind = DockSlotKind::ThisPc;
    int item = -1;  // the user item's index for DockSlotKind::Item, else -1
};

int DockSlotCount(size_t itemCount);
// The content of `slot` (0 .. DockSlotCount - 1) for a dock of `itemCount` items.
DockSlot DockSlotAt(int slot, size_t itemCount);
// The slot that shows user item `item`.
inline int DockItemSlot(int item) { return item + 4; }

// The gap before `slot` at 96 DPI: 0 before the first, 18 before the first
// user item's place and before the Trash, else 10.
float DockGapBefore(int slot, int slotCount);
// The window width in pixels: margins, icons at rest, gaps and the room for
// magnified icons, all scaled and rounded up.
int DockWindowWidth(size_t itemCount, float scale);

// The x of every slot's centre at rest, the row centred in the client width.
std::vector<float> DockRestCentres(int slotCount, float clientWidth, float scale);

// The magnification a slot eases towards: 1 with the pointer outside
// (negative x) or while an item is dragged, else up to 1 + 7/11 under the
// pointer, fading along a cosine to 1 at the radius.
float DockTargetScale(float mouseX, float restCentre, float scale, bool dragging);

struct DockAnimationStep {
    bool moving = false;  // some scale moved by more than DockScaleSettled
    int hoverSlot = -1;   // slot whose label shows, or -1
};

// One animation tick: resizes `scales` to the slot count (new ones at 1),
// eases each towards its target and picks the hovered slot (the largest
// scale above 1.06, the first on ties; none with the pointer outside).
DockAnimationStep StepDockScales(std::vector<float>& scales, const std::vector<float>& restCentres, float mouseX,
                                 bool dragging, float scale);

struct DockBounce {
    int slot = -1;
    float time = 0.0f;
};
// Advances a running bounce by one tick; returns whether it still runs.
bool StepDockBounce(DockBounce& bounce);
// How far the bouncing slot is raised, in pixels.
float DockBounceOffset(float bounceTime, float scale);

struct DockRect {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
    float CentreX() const { return (left + right) / 2.0f; }
    bool operator==(const DockRect&) const = default;
};

struct DockLayout {
    std::vector<DockRect> slots;  // one per slot, left to right
    float firstSeparator = -1.0f;   // between Settings and the first user item
    float secondSeparator = -1.0f;  // before the Trash
    DockRect shelf;
};

// The rectangles of one frame: icons of size scale * 44 standing on a
// baseline 10 above the window's bottom, walking from the shelf's left
// margin. Missing scales count as 1.
DockLayout ComputeDockLayout(const std::vector<float>& scales, int slotCount, float clientWidth, float clientHeight,
                             float scale);

// The slot under (x, y), right and bottom edges excluded, or -1. The fixed
// slots are tried before the user items, Applications first.
int DockHitTest(const DockLayout& layout, float x, float y);

// Where a dragged user item goes: the first item whose rest centre lies
// right of the pointer, else the last item. -1 without items.
int DockReorderTarget(const std::vector<float>& restCentres, size_t itemCount, float mouseX);
// Removes the item at `from` and inserts it at `to`; false when either is
// outside the list or they are equal.
bool MoveDockItem(std::vector<std::wstring>& items, int from, int to);

// Appends every non-empty dropped path that is not yet in `items` (nor
// earlier in the same drop) according to `same`, in drop order. Returns how
// many were added.
size_t AppendDroppedItems(std::vector<std::wstring>& items, const std::vector<std::wstring>& dropped,
                          const std::function<bool(std::wstring_view, std::wstring_view)>& same);

// The text after the last "\" or "/", cut before the last "." unless that
// dot is the name's first character.
std::wstring DockItemLabel(std::wstring_view path);

// The label's box above an icon: text plus 10 each side and 4 above and
// below, its bottom 8 above the icon, the top at least 2, shifted to stay
// within [2, clientWidth - 2].
DockRect DockLabelBox(float textWidth, float textHeight, const DockRect& icon, float clientWidth, float scale);

// The item that follows the pointer while dragged: 44 * 1.18 square, centred
// on the pointer and kept inside the window, its bottom 24 above the
// window's bottom.
DockRect DockDraggedIconRect(float mouseX, float clientWidth, float clientHeight, float scale);

// The Applications slot without its icon: a 3 by 3 grid of squares centred
// in `slot`, row by row; the centre one is index 4.
std::vector<DockRect> DockGridSquares(const DockRect& slot);

}  // namespace cadrels
