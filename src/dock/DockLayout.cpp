#include "dock/DockLayout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace cadrels {
namespace {

float ScaleAt(const std::vector<float>& scales, int slot)
{
    return slot >= 0 && static_cast<size_t>(slot) < scales.size() ? scales[static_cast<size_t>(slot)] : 1.0f;
}

float SumOfGaps(int slotCount)
{
    float sum = 0.0f;
    for (int slot = 1; slot < slotCount; ++slot) {
        sum += DockGapBefore(slot, slotCount);
    }
    return sum;
}

bool Contains(const DockRect& rect, float x, float y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

}  // namespace

int DockSlotCount(size_t itemCount)
{
    return static_cast<int>(itemCount) + DockFixedSlotCount;
}

DockSlot DockSlotAt(int slot, size_t itemCount)
{
    const int last = DockSlotCount(itemCount) - 1;
    if (slot == last) {
        return {DockSlotKind::Trash, -1};
    }
    switch (slot) {
    case 0:
        return {DockSlotKind::ThisPc, -1};
    case 1:
        return {DockSlotKind::Applications, -1};
    case 2:
        return {DockSlotKind::NewCadrel, -1};
    case 3:
        return {DockSlotKind::Settings, -1};
    default:
        return {DockSlotKind::Item, slot - 4};
    }
}

float DockGapBefore(int slot, int slotCount)
{
    if (slot <= 0) {
        return 0.0f;
    }
    return slot == 4 || slot == slotCount - 1 ? DockSeparatorGap : DockSlotGap;
}

int DockWindowWidth(size_t itemCount, float scale)
{
    const int slots = DockSlotCount(itemCount);
    const float width = 2.0f * DockShelfMargin + static_cast<float>(slots) * DockIconSize + SumOfGaps(slots) +
                        DockMagnifyRoom;
    return static_cast<int>(std::ceil(width * scale - 0.001f));
}

std::vector<float> DockRestCentres(int slotCount, float clientWidth, float scale)
{
    std::vector<float> centres;
    if (slotCount <= 0) {
        return centres;
    }
    const float restWidth = (static_cast<float>(slotCount) * DockIconSize + SumOfGaps(slotCount)) * scale;
    const float left = (clientWidth - (restWidth + 2.0f * DockShelfMargin * scale)) / 2.0f + DockShelfMargin * scale;
    centres.reserve(static_cast<size_t>(slotCount));
    float centre = left + DockIconSize * scale / 2.0f;
    for (int slot = 0; slot < slotCount; ++slot) {
        if (slot > 0) {
            centre += (DockGapBefore(slot, slotCount) + DockIconSize) * scale;
        }
        centres.push_back(centre);
    }
    return centres;
}

float DockTargetScale(float mouseX, float restCentre, float scale, bool dragging)
{
    if (mouseX < 0.0f || dragging) {
        return 1.0f;
    }
    const float distance = std::fabs(mouseX - restCentre);
    const float radius = DockMagnifyRadius * scale;
    if (distance >= radius) {
        return 1.0f;
    }
    const float weight = (std::cos(std::numbers::pi_v<float> * distance / radius) + 1.0f) / 2.0f;
    return 1.0f + DockMagnifyGain * weight;
}

DockAnimationStep StepDockScales(std::vector<float>& scales, const std::vector<float>& restCentres, float mouseX,
                                 bool dragging, float scale)
{
    scales.resize(restCentres.size(), 1.0f);
    DockAnimationStep step;
    float largest = DockHoverScale;
    for (size_t slot = 0; slot < scales.size(); ++slot) {
        const float target = DockTargetScale(mouseX, restCentres[slot], scale, dragging);
        const float before = scales[slot];
        const float after = before + (target - before) * DockEase;
        scales[slot] = after;
        if (std::fabs(after - before) > DockScaleSettled) {
            step.moving = true;
        }
        if (mouseX >= 0.0f && after > largest) {
            largest = after;
            step.hoverSlot = static_cast<int>(slot);
        }
    }
    return step;
}

bool StepDockBounce(DockBounce& bounce)
{
    if (bounce.slot < 0) {
        return false;
    }
    bounce.time += DockBounceStep;
    if (bounce.time >= DockBounceDuration) {
        bounce = DockBounce{};
        return false;
    }
    return true;
}

float DockBounceOffset(float bounceTime, float scale)
{
    const float v = std::clamp(bounceTime / DockBounceDuration, 0.0f, 1.0f);
    return std::fabs(std::sin(2.0f * std::numbers::pi_v<float> * v)) * DockBounceHeight * (1.0f - v) * scale;
}

DockLayout ComputeDockLayout(const std::vector<float>& scales, int slotCount, float clientWidth, float clientHeight,
                             float scale)
{
    DockLayout layout;
    if (slotCount <= 0) {
        return layout;
    }
    float icons = 0.0f;
    for (int slot = 0; slot < slotCount; ++slot) {
        icons += ScaleAt(scales, slot) * DockIconSize * scale;
    }
    const float shelfWidth = icons + SumOfGaps(slotCount) * scale + 2.0f * DockShelfMargin * scale;
    const float shelfLeft = (clientWidth - shelfWidth) / 2.0f;
    layout.shelf = {shelfLeft, clientHeight - DockShelfHeight * scale, shelfLeft + shelfWidth, clientHeight};

    const float baseline = clientHeight - DockShelfMargin * scale;
    float x = shelfLeft + DockShelfMargin * scale;
    layout.slots.reserve(static_cast<size_t>(slotCount));
    for (int slot = 0; slot < slotCount; ++slot) {
        const float gap = DockGapBefore(slot, slotCount) * scale;
        if (slot == slotCount - 1 && slot > 0) {
            layout.secondSeparator = x + gap / 2.0f;
        } else if (slot == 4) {
            layout.firstSeparator = x + gap / 2.0f;
        }
        x += gap;
        const float side = ScaleAt(scales, slot) * DockIconSize * scale;
        layout.slots.push_back({x, baseline - side, x + side, baseline});
        x += side;
    }
    return layout;
}

int DockHitTest(const DockLayout& layout, float x, float y)
{
    const int count = static_cast<int>(layout.slots.size());
    if (count < DockFixedSlotCount) {
        return -1;
    }
    auto hits = [&](int slot) { return Contains(layout.slots[static_cast<size_t>(slot)], x, y); };
    for (int slot : {1, 0, 2, 3}) {
        if (hits(slot)) {
            return slot;
        }
    }
    for (int slot = 4; slot < count - 1; ++slot) {
        if (hits(slot)) {
            return slot;
        }
    }
    return hits(count - 1) ? count - 1 : -1;
}

int DockReorderTarget(const std::vector<float>& restCentres, size_t itemCount, float mouseX)
{
    if (itemCount == 0) {
        return -1;
    }
    for (size_t item = 0; item < itemCount; ++item) {
        const size_t slot = static_cast<size_t>(DockItemSlot(static_cast<int>(item)));
        if (slot < restCentres.size() && restCentres[slot] > mouseX) {
            return static_cast<int>(item);
        }
    }
    return static_cast<int>(itemCount) - 1;
}

bool MoveDockItem(std::vector<std::wstring>& items, int from, int to)
{
    const int count = static_cast<int>(items.size());
    if (from < 0 || to < 0 || from >= count || to >= count || from == to) {
        return false;
    }
    std::wstring moving = std::move(items[static_cast<size_t>(from)]);
    items.erase(items.begin() + from);
    items.insert(items.begin() + to, std::move(moving));
    return true;
}

size_t AppendDroppedItems(std::vector<std::wstring>& items, const std::vector<std::wstring>& dropped,
                          const std::function<bool(std::wstring_view, std::wstring_view)>& same)
{
    size_t added = 0;
    for (const std::wstring& path : dropped) {
        if (path.empty()) {
            continue;
        }
        const bool known =
            std::any_of(items.begin(), items.end(), [&](const std::wstring& item) { return same(item, path); });
        if (!known) {
            items.push_back(path);
            ++added;
        }
    }
    return added;
}

std::wstring DockItemLabel(std::wstring_view path)
{
    // A folder dropped as "D:\Photos\" is named by its last component, not
    // by the nothing after the final separator; a bare root keeps its text.
    std::wstring_view trimmed = path;
    while (trimmed.size() > 1 && (trimmed.back() == L'\\' || trimmed.back() == L'/')) {
        trimmed.remove_suffix(1);
    }
    const size_t separator = trimmed.find_last_of(L"\\/");
    std::wstring_view name = separator == std::wstring_view::npos ? trimmed : trimmed.substr(separator + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring_view::npos && dot != 0) {
        name = name.substr(0, dot);
    }
    return std::wstring(name);
}

DockRect DockLabelBox(float textWidth, float textHeight, const DockRect& icon, float clientWidth, float scale)
{
    const float width = textWidth + 2.0f * 10.0f * scale;
    const float height = textHeight + 2.0f * 4.0f * scale;
    float top = icon.top - 8.0f * scale - height;
    top = std::max(top, 2.0f);
    float left = icon.CentreX() - width / 2.0f;
    if (left + width > clientWidth - 2.0f) {
        left = clientWidth - 2.0f - width;
    }
    left = std::max(left, 2.0f);
    return {left, top, left + width, top + height};
}

DockRect DockDraggedIconRect(float mouseX, float clientWidth, float clientHeight, float scale)
{
    const float side = DockIconSize * 1.18f * scale;
    const float left = std::clamp(mouseX - side / 2.0f, 0.0f, std::max(0.0f, clientWidth - side));
    const float bottom = clientHeight - 24.0f * scale;
    return {left, bottom - side, left + side, bottom};
}

std::vector<DockRect> DockGridSquares(const DockRect& slot)
{
    const float pitch = 0.6f * slot.Width() / 3.0f;
    const float side = 0.64f * pitch;
    const float inset = (pitch - side) / 2.0f;
    const float gridLeft = slot.CentreX() - 1.5f * pitch;
    const float gridTop = (slot.top + slot.bottom) / 2.0f - 1.5f * pitch;
    std::vector<DockRect> squares;
    squares.reserve(9);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const float left = gridLeft + static_cast<float>(column) * pitch + inset;
            const float top = gridTop + static_cast<float>(row) * pitch + inset;
            squares.push_back({left, top, left + side, top + side});
        }
    }
    return squares;
}

}  // namespace cadrels
