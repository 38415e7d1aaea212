// What a cadrel draws: its translucent body, the accent border, the merge
// highlight, and the title bar with the title or the tab strip; the items
// and the footer are CadrelDrawItems.cpp's.
#include "cadrel/Cadrel.h"

#include "base/PublishedFlags.h"

#include <algorithm>
#include <utility>

namespace cadrels {

FrameResult Cadrel::Draw()
{
    // Every change of the selection is drawn, so this is where the keyboard
    // hook's thread learns whether Space over this cadrel means quick look.
    const bool hasSelection = content_.SelectedCount() > 0;
    if (hasSelection != publishedSelection_ && window_) {
        PublishFlag(window_.Get(), HasSelectionFlag, hasSelection);
        publishedSelection_ = hasSelection;
    }
    if (building_) {
        drawPending_ = true;
        return FrameResult::Skipped;
    }
    return graphics_.Draw();
}

void Cadrel::FinishBuilding()
{
    building_ = false;
    if (!content_.Listed() && !content_.ListingWaiting()) {
        StartWatcher();
        ListFolder();
    }
    if (std::exchange(drawPending_, false) || !graphics_.Built()) {
        Draw();
    }
}

HRESULT Cadrel::CreateDeviceResources(GraphicsDevice&, ID2D1DeviceContext& context)
{
    return painter_.Create(context, dpi_, Colours());
}

void Cadrel::ReleaseDeviceResources()
{
    painter_.Release();
}

CadrelColours Cadrel::Colours() const
{
    return {properties_.tint, properties_.caccent, properties_.opacity};
}

void Cadrel::DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size)
{
    const float s = painter_.Scale();
    const float w = size.width;
    const float h = size.height;
    const float bar = static_cast<float>(Metrics().titleBar);
    const float pad = static_cast<float>(ScaleLength(10, dpi_));
    const float radius = 10.0f * s;
    const int direction = properties_.expandDir;
    const bool vertical = IsVerticalUnfold(direction);
    const float barTop = direction == UnfoldUp ? std::max(0.0f, h - bar) : 0.0f;

    const D2D1_ROUNDED_RECT body = D2D1::RoundedRect(D2D1::RectF(0, 0, w, h), radius, radius);
    context.FillRoundedRectangle(body, painter_.Background());
    const float border = 1.0f * s;
    context.DrawRoundedRectangle(
        D2D1::RoundedRect(D2D1::RectF(border / 2, border / 2, w - border / 2, h - border / 2), radius, radius),
        painter_.Accent(), border);
    hosting_.Draw(context, painter_, w, h);

    D2D1_RECT_F titleBar = D2D1::RectF(0, barTop, w, barTop + bar);
    if (direction == UnfoldLeft) {
        titleBar = D2D1::RectF(w - bar, 0, w, h);
    } else if (direction == UnfoldRight) {
        titleBar = D2D1::RectF(0, 0, bar, h);
    }

    if (dropHighlight_) {
        const float inset = 1.5f * s;
        context.DrawRoundedRectangle(
            D2D1::RoundedRect(D2D1::RectF(inset, inset, w - inset, h - inset), radius, radius), painter_.Accent(),
            2.5f * s);
    }
    if (mergeHighlight_ || hosting_.Highlighted()) {
        const D2D1_RECT_F fill = vertical ? D2D1::RectF(2 * s, titleBar.top, w - 2 * s, titleBar.bottom)
                                          : D2D1::RectF(titleBar.left, 2 * s, titleBar.right, h - 2 * s);
        context.FillRectangle(fill, painter_.Accent());
        context.DrawRoundedRectangle(D2D1::RoundedRect(D2D1::RectF(2 * s, 2 * s, w - 2 * s, h - 2 * s), radius, radius),
                                     painter_.Accent(), 3 * s);
    }

    const float angle = direction == UnfoldLeft ? 90.0f : direction == UnfoldRight ? -90.0f : 0.0f;
    const int count = static_cast<int>(tabs_.size());
    if (count == 1) {
        const LiveTab& tab = tabs_[0];
        const D2D1_RECT_F box = vertical ? D2D1::RectF(pad, barTop, w - pad, barTop + bar) : titleBar;
        if (!tab.emblem.empty()) {
            if (vertical) {
                const float a = std::min(18 * s, bar - 10 * s);
                const float m = painter_.MeasureTitle(tab.title, painter_.TitleFormat(), box.right - box.left, bar);
                const float left = std::max(box.left, (box.left + box.right) / 2 - m / 2 - 5 * s - a);
                const float top = barTop + (bar - a) / 2;
                if (a > 0) {
                    DrawTabEmblem(context, tab, D2D1::RectF(left, top, left + a, top + a));
                }
            } else {
                const float a = std::min(18 * s, bar - 6 * s);
                const float m = painter_.MeasureTitle(tab.title, painter_.TitleFormat(), h - 8 * s, bar);
                const float top = std::max(6 * s, h / 2 - m / 2 - 5 * s - a);
                const float left = titleBar.left + (bar - a) / 2;
                if (a > 0) {
                    DrawTabEmblem(context, tab, D2D1::RectF(left, top, left + a, top + a));
                }
            }
        }
        painter_.DrawTitle(context, tab.title, painter_.TitleFormat(), box, angle, 1.0f);
    } else {
        const CadrelHitMap map = HitMap();
        for (int i = 0; i < count; ++i) {
            const LayoutRect r = map.TabRect(i);
            const D2D1_RECT_F tab = D2D1::RectF(r.left, r.top, r.right, r.bottom);
            const bool active = i == activeTab_;
            const bool dragged = press_.TabDragging() && i == press_.DraggedTab();
            const bool torn = dragged && press_.TornOff();
            const bool drop = i == dropTab_;
            if ((active || dragged || drop) && !torn) {
                const float inset = 3 * s;
                const D2D1_ROUNDED_RECT fill = D2D1::RoundedRect(
                    D2D1::RectF(tab.left + inset, tab.top + inset, tab.right - inset, tab.bottom - inset), 6 * s, 6 * s);
                context.FillRoundedRectangle(fill, painter_.Overlay());
                if (dragged || drop) {
                    context.DrawRoundedRectangle(fill, painter_.Accent(), (drop ? 2.0f : 1.0f) * s);
                }
            }
            const float opacity = torn ? 0.25f : (active || dragged || drop) ? 1.0f : i == hoverTab_ ? 0.8f : 0.5f;
            const LiveTab& live = tabs_[static_cast<size_t>(i)];
            const D2D1_RECT_F text = vertical ? D2D1::RectF(tab.left + 4 * s, tab.top, tab.right - 4 * s, tab.bottom)
                                              : tab;
            if (!live.emblem.empty()) {
                if (vertical) {
                    const float a = std::min(18 * s, (tab.bottom - tab.top) - 10 * s);
                    const float m =
                        painter_.MeasureTitle(live.title, painter_.TabFormat(), text.right - text.left, tab.bottom - tab.top);
                    const float left = std::max(text.left, (text.left + text.right) / 2 - m / 2 - 5 * s - a);
                    const float top = (tab.top + tab.bottom - a) / 2;
                    if (a > 0) {
                        DrawTabEmblem(context, live, D2D1::RectF(left, top, left + a, top + a));
                    }
                } else {
                    const float a = std::min(18 * s, bar - 8 * s);
                    const float m = painter_.MeasureTitle(live.title, painter_.TabFormat(), tab.bottom - tab.top - 8 * s, bar);
                    const float top = std::max(tab.top + 2 * s, (tab.top + tab.bottom) / 2 - m / 2 - 5 * s - a);
                    const float left = tab.left + (bar - a) / 2;
                    if (a > 0) {
                        DrawTabEmblem(context, live, D2D1::RectF(left, top, left + a, top + a));
                    }
                }
            }
            painter_.DrawTitle(context, live.title, painter_.TabFormat(), text, angle, opacity);
            if (torn) {
                continue;
            }
            if (active && vertical) {
                const float y = direction == UnfoldUp ? tab.top + 1.5f * s : tab.bottom - 1.5f * s;
                context.DrawLine(D2D1::Point2F(tab.left + 8 * s, y), D2D1::Point2F(tab.right - 8 * s, y),
                                 painter_.Accent(), 2 * s);
            } else if (active) {
                const float x = direction == UnfoldLeft ? tab.left + 1.5f * s : tab.right - 1.5f * s;
                context.DrawLine(D2D1::Point2F(x, tab.top + 8 * s), D2D1::Point2F(x, tab.bottom - 8 * s),
                                 painter_.Accent(), 2 * s);
            }
        }
        // The grip in the free end of the strip says the bar can be taken.
        painter_.Text()->SetOpacity(0.3f);
        for (const float step : {-3 * s, 0.0f, 3 * s}) {
            if (vertical) {
                const float x = w - 11 * s + step;
                const float c = barTop + bar / 2;
                context.DrawLine(D2D1::Point2F(x, c - 4 * s), D2D1::Point2F(x, c + 4 * s), painter_.Text(), 1.4f * s);
            } else {
                const float y = h - pad - 11 * s + step;
                const float c = (titleBar.left + titleBar.right) / 2;
                context.DrawLine(D2D1::Point2F(c - 4 * s, y), D2D1::Point2F(c + 4 * s, y), painter_.Text(), 1.4f * s);
            }
        }
        painter_.Text()->SetOpacity(1.0f);
        if (press_.TabDragging() && press_.TornOff()) {
            DrawTornTab(context);
        }
    }

    if (vertical) {
        const float y = direction == UnfoldUp ? barTop : bar;
        context.DrawLine(D2D1::Point2F(pad, y), D2D1::Point2F(w - pad, y), painter_.Separator(), 1.0f);
    } else {
        const float x = direction == UnfoldLeft ? w - bar : bar;
        context.DrawLine(D2D1::Point2F(x, pad), D2D1::Point2F(x, h - pad), painter_.Separator(), 1.0f);
    }

    const CadrelView view = View();
    if (!rolled_) {
        DrawItems(context, view);
        DrawFooter(context, view);
    }
}

}  // namespace cadrels
