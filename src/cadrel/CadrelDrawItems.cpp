// The content of a cadrel's frame: the visible items with their icons,
// labels, selection, hover and pinned dots, the footer line, and the tab
// emblems of the title bar.
#include "cadrel/Cadrel.h"

#include <algorithm>

namespace cadrels {

bool Cadrel::DrawTabEmblem(ID2D1DeviceContext& context, const LiveTab& tab, const D2D1_RECT_F& square)
{
    if (icons_ == nullptr || tab.emblem.empty()) {
        return false;
    }
    const EmblemSources sources{graphicsDevice_, graphics_.SvgContext(), painter_.Svgs(), *icons_};
    return DrawEmblem(context, square, tab.emblem, sources);
}

void Cadrel::DrawItems(ID2D1DeviceContext& context, const CadrelView& view)
{
    if (content_.Items().empty() || !painter_.Secondary() || !painter_.GridLabelFormat() ||
        !tabs_[static_cast<size_t>(activeTab_)].hostedExe.empty()) {
        return;
    }
    const float s = painter_.Scale();
    const ContentMetrics m = ComputeContentMetrics(view);
    const LayoutRect area = ContentArea(view);
    context.PushAxisAlignedClip(D2D1::RectF(area.left, area.top, area.right, area.bottom),
                                D2D1_ANTIALIAS_MODE_ALIASED);
    const int count = static_cast<int>(content_.Items().size());
    for (int i = 0; i < count; ++i) {
        const LayoutRect c = ItemCellRect(view, i, count, content_.ScrollOffset());
        if (c.bottom < area.top) {
            continue;
        }
        if (c.top > area.bottom) {
            break;
        }
        const CadrelItem& item = content_.Items()[static_cast<size_t>(i)];
        const bool selected = content_.IsSelected(i);
        if (selected || i == hoverItem_) {
            const D2D1_ROUNDED_RECT cell =
                D2D1::RoundedRect(D2D1::RectF(c.left + 2, c.top + 2, c.right - 2, c.bottom - 2), 6 * s, 6 * s);
            context.FillRoundedRectangle(cell, painter_.Overlay());
            if (selected) {
                context.DrawRoundedRectangle(cell, painter_.Accent(), 1.5f * s);
            }
        }
        if (item.pinned) {
            context.FillEllipse(D2D1::Ellipse(D2D1::Point2F(c.left + 6.5f * s, c.top + 6.5f * s), 3.5f * s, 3.5f * s),
                                painter_.Accent());
        }
        D2D1_RECT_F icon;
        D2D1_RECT_F label;
        if (view.viewMode == ViewCompactList) {
            const float left = c.left + m.pad / 2;
            const float top = (c.top + c.bottom - m.icon) / 2;
            icon = D2D1::RectF(left, top, left + m.icon, top + m.icon);
            label = D2D1::RectF(icon.right + 6 * s, c.top, c.right - 4 * s, c.bottom);
        } else {
            const float left = (c.left + c.right - m.icon) / 2;
            const float top = c.top + m.pad / 2;
            icon = D2D1::RectF(left, top, left + m.icon, top + m.icon);
            label = D2D1::RectF(c.left + 2, icon.bottom + 2 * s, c.right - 2, c.bottom);
        }
        if (icons_ != nullptr) {
            DrawItemIcon(context, icon, item.path, *icons_, painter_.Placeholder(), s);
        } else {
            context.FillRoundedRectangle(D2D1::RoundedRect(icon, 4 * s, 4 * s), painter_.Placeholder());
        }
        if (IDWriteTextLayout* layout =
                painter_.LabelLayout(content_.Items(), static_cast<size_t>(i), properties_.viewMode,
                                     label.right - label.left, label.bottom - label.top)) {
            context.DrawTextLayout(D2D1::Point2F(label.left, label.top), layout, painter_.Secondary(),
                                   D2D1_DRAW_TEXT_OPTIONS_CLIP);
        }
    }
    if (press_.Kind() == PressKind::Band) {
        const PixelPoint start = press_.BandStart();
        const PixelPoint end = press_.BandEnd();
        painter_.DrawMarquee(context, POINT{start.x, start.y}, POINT{end.x, end.y});
    }
    context.PopAxisAlignedClip();
}

// The tab being torn off follows the pointer as a floating copy.
void Cadrel::DrawTornTab(ID2D1DeviceContext& context)
{
    const int draggedTab = press_.DraggedTab();
    if (draggedTab < 0 || draggedTab >= static_cast<int>(tabs_.size())) {
        return;
    }
    const float s = painter_.Scale();
    const LayoutRect slot = HitMap().TabRect(draggedTab);
    const float width = slot.right - slot.left;
    const float bar = 30 * s;
    const float w = static_cast<float>(clientWidth_);
    const float h = static_cast<float>(clientHeight_);
    const PixelPoint point = press_.TabDragPoint();
    const float left = std::clamp(static_cast<float>(point.x) - press_.TabGrabOffset(), 0.0f, std::max(0.0f, w - width));
    const float top = std::clamp(static_cast<float>(point.y) - bar / 2, 0.0f, std::max(0.0f, h - bar));
    const D2D1_ROUNDED_RECT ghost = D2D1::RoundedRect(D2D1::RectF(left, top, left + width, top + bar), 6 * s, 6 * s);
    context.FillRoundedRectangle(ghost, painter_.Background());
    context.FillRoundedRectangle(ghost, painter_.Overlay());
    context.DrawRoundedRectangle(ghost, painter_.Accent(), 1.5f * s);
    const D2D1_RECT_F text = D2D1::RectF(left + 4 * s, top, left + width - 4 * s, top + bar);
    const std::wstring& title = tabs_[static_cast<size_t>(draggedTab)].title;
    context.PushAxisAlignedClip(text, D2D1_ANTIALIAS_MODE_ALIASED);
    context.DrawTextW(title.c_str(), static_cast<UINT32>(title.size()), painter_.TabFormat(), text, painter_.Text());
    context.PopAxisAlignedClip();
}

void Cadrel::DrawFooter(ID2D1DeviceContext& context, const CadrelView& view)
{
    const float footer = FooterHeight(view);
    if (footer <= 0 || !painter_.TabFormat() || !tabs_[static_cast<size_t>(activeTab_)].hostedExe.empty()) {
        return;
    }
    const float s = painter_.Scale();
    const float w = static_cast<float>(view.width);
    const float h = static_cast<float>(view.height);
    const float pad = 10 * s;
    const float bar = 30 * s;
    float left = pad;
    float right = w - pad;
    if (view.direction == UnfoldLeft) {
        right -= bar;
    } else if (view.direction == UnfoldRight) {
        left += bar;
    }
    const float line = view.direction == UnfoldUp ? footer : h - footer;
    const float top = view.direction == UnfoldUp ? 0 : h - footer;
    context.DrawLine(D2D1::Point2F(left, line), D2D1::Point2F(right, line), painter_.Separator(), 1.0f);
    painter_.Text()->SetOpacity(0.55f);
    const std::wstring& text = painter_.FooterText();
    context.DrawTextW(text.c_str(), static_cast<UINT32>(text.size()), painter_.TabFormat(),
                      D2D1::RectF(left, top, right, top + footer), painter_.Text(), D2D1_DRAW_TEXT_OPTIONS_CLIP);
    painter_.Text()->SetOpacity(1.0f);
}

}  // namespace cadrels
