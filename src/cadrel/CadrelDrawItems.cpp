// The content of a cadrel's frame: the visible items with their icons,
// labels, selection, hover and pinned dots, the footer line, and the tab
// emblems of the title bar.
#include "cadrel/Cadrel.h"

#include <algorithm>

namespace cadrels {

IDWriteTextLayout* Cadrel::LabelLayout(size_t index, float width, float height)
{
    if (labels_.width != width || labels_.height != height || labels_.viewMode != viewMode_ ||
        labels_.layouts.size() != content_.Items().size()) {
        labels_.layouts.assign(content_.Items().size(), nullptr);
        labels_.width = width;
        labels_.height = height;
        labels_.viewMode = viewMode_;
    }
    Microsoft::WRL::ComPtr<IDWriteTextLayout>& layout = labels_.layouts[index];
    if (!layout) {
        IDWriteTextFormat* format = viewMode_ == ViewCompactList ? listLabelFormat_.Get() : gridLabelFormat_.Get();
        const std::wstring& name = content_.Items()[index].name;
        if (FAILED(graphicsDevice_.DWrite()->CreateTextLayout(name.c_str(), static_cast<UINT32>(name.size()), format,
                                                               std::max(1.0f, width), std::max(1.0f, height),
                                                               layout.GetAddressOf()))) {
            return nullptr;
        }
    }
    return layout.Get();
}

float Cadrel::MeasureTitle(const std::wstring& text, IDWriteTextFormat* format, float width, float height) const
{
    Microsoft::WRL::ComPtr<IDWriteTextLayout> layout;
    DWRITE_TEXT_METRICS metrics{};
    if (format == nullptr ||
        FAILED(graphicsDevice_.DWrite()->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()), format,
                                                           std::max(1.0f, width), std::max(1.0f, height),
                                                           layout.GetAddressOf())) ||
        FAILED(layout->GetMetrics(&metrics))) {
        return 0;
    }
    return metrics.width;
}

bool Cadrel::DrawTabEmblem(ID2D1DeviceContext& context, const LiveTab& tab, const D2D1_RECT_F& square)
{
    if (icons_ == nullptr || tab.emblem.empty()) {
        return false;
    }
    const EmblemSources sources{graphicsDevice_, graphics_.SvgContext(), svgs_, *icons_};
    return DrawEmblem(context, square, tab.emblem, sources);
}

void Cadrel::DrawItems(ID2D1DeviceContext& context, const CadrelView& view)
{
    if (content_.Items().empty() || !secondaryBrush_ || !gridLabelFormat_ ||
        !tabs_[static_cast<size_t>(activeTab_)].hostedExe.empty()) {
        return;
    }
    const float s = scale_;
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
            context.FillRoundedRectangle(cell, overlayBrush_.Get());
            if (selected) {
                context.DrawRoundedRectangle(cell, accentBrush_.Get(), 1.5f * s);
            }
        }
        if (item.pinned) {
            context.FillEllipse(D2D1::Ellipse(D2D1::Point2F(c.left + 6.5f * s, c.top + 6.5f * s), 3.5f * s, 3.5f * s),
                                accentBrush_.Get());
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
            DrawItemIcon(context, icon, item.path, *icons_, placeholderBrush_.Get(), s);
        } else {
            context.FillRoundedRectangle(D2D1::RoundedRect(icon, 4 * s, 4 * s), placeholderBrush_.Get());
        }
        if (IDWriteTextLayout* layout = LabelLayout(static_cast<size_t>(i), label.right - label.left,
                                                    label.bottom - label.top)) {
            context.DrawTextLayout(D2D1::Point2F(label.left, label.top), layout, secondaryBrush_.Get(),
                                   D2D1_DRAW_TEXT_OPTIONS_CLIP);
        }
    }
    DrawMarquee(context);
    context.PopAxisAlignedClip();
}

void Cadrel::DrawMarquee(ID2D1DeviceContext& context)
{
    if (press_.Kind() != PressKind::Band || !accentBrush_) {
        return;
    }
    const PixelPoint start = press_.BandStart();
    const PixelPoint end = press_.BandEnd();
    const D2D1_RECT_F band = D2D1::RectF(
        static_cast<float>(std::min(start.x, end.x)),
        static_cast<float>(std::min(start.y, end.y)),
        static_cast<float>(std::max(start.x, end.x)),
        static_cast<float>(std::max(start.y, end.y)));
    context.FillRectangle(band, overlayBrush_.Get());
    context.DrawRectangle(band, accentBrush_.Get(), 1.0f);
}

// The tab being torn off follows the pointer as a floating copy.
void Cadrel::DrawTornTab(ID2D1DeviceContext& context)
{
    const int draggedTab = press_.DraggedTab();
    if (draggedTab < 0 || draggedTab >= static_cast<int>(tabs_.size())) {
        return;
    }
    const float s = scale_;
    const LayoutRect slot = TabRect(draggedTab);
    const float width = slot.right - slot.left;
    const float bar = 30 * s;
    const float w = static_cast<float>(clientWidth_);
    const float h = static_cast<float>(clientHeight_);
    const PixelPoint point = press_.TabDragPoint();
    const float left = std::clamp(static_cast<float>(point.x) - press_.TabGrabOffset(), 0.0f, std::max(0.0f, w - width));
    const float top = std::clamp(static_cast<float>(point.y) - bar / 2, 0.0f, std::max(0.0f, h - bar));
    const D2D1_ROUNDED_RECT ghost = D2D1::RoundedRect(D2D1::RectF(left, top, left + width, top + bar), 6 * s, 6 * s);
    context.FillRoundedRectangle(ghost, backgroundBrush_.Get());
    context.FillRoundedRectangle(ghost, overlayBrush_.Get());
    context.DrawRoundedRectangle(ghost, accentBrush_.Get(), 1.5f * s);
    const D2D1_RECT_F text = D2D1::RectF(left + 4 * s, top, left + width - 4 * s, top + bar);
    const std::wstring& title = tabs_[static_cast<size_t>(draggedTab)].title;
    context.PushAxisAlignedClip(text, D2D1_ANTIALIAS_MODE_ALIASED);
    context.DrawTextW(title.c_str(), static_cast<UINT32>(title.size()), tabFormat_.Get(), text, textBrush_.Get());
    context.PopAxisAlignedClip();
}

void Cadrel::DrawFooter(ID2D1DeviceContext& context, const CadrelView& view)
{
    const float footer = FooterHeight(view);
    if (footer <= 0 || !tabFormat_ || !tabs_[static_cast<size_t>(activeTab_)].hostedExe.empty()) {
        return;
    }
    const float s = scale_;
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
    context.DrawLine(D2D1::Point2F(left, line), D2D1::Point2F(right, line), separatorBrush_.Get(), 1.0f);
    textBrush_->SetOpacity(0.55f);
    context.DrawTextW(footerText_.c_str(), static_cast<UINT32>(footerText_.size()), tabFormat_.Get(),
                      D2D1::RectF(left, top, right, top + footer), textBrush_.Get(), D2D1_DRAW_TEXT_OPTIONS_CLIP);
    textBrush_->SetOpacity(1.0f);
}

}  // namespace cadrels
