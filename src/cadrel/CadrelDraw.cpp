// What a cadrel draws: its translucent body, the accent border, the merge
// highlight, and the title bar with the title or the tab strip; the items
// and the footer are CadrelDrawItems.cpp's.
#include "cadrel/Cadrel.h"

#include "base/Failure.h"
#include "gfx/D2DColor.h"
#include "model/Theme.h"

#include <algorithm>
#include <utility>

namespace cadrels {
namespace {

constexpr float AccentAlpha = 0.95f;
constexpr float TextAlpha = 0.95f;
constexpr float OverlayAlpha = 0.14f;
constexpr float SeparatorAlpha = 0.12f;
constexpr float SecondaryAlpha = 0.92f;
constexpr float PlaceholderAlpha = 0.08f;

struct FormatShape {
    DWRITE_FONT_WEIGHT weight;
    DWRITE_TEXT_ALIGNMENT text;
    DWRITE_PARAGRAPH_ALIGNMENT paragraph;
    DWRITE_WORD_WRAPPING wrapping;
    bool trimmed;
};

constexpr FormatShape TitleShape{DWRITE_FONT_WEIGHT_SEMI_BOLD, DWRITE_TEXT_ALIGNMENT_CENTER,
                                 DWRITE_PARAGRAPH_ALIGNMENT_CENTER, DWRITE_WORD_WRAPPING_NO_WRAP, false};
constexpr FormatShape TabShape{DWRITE_FONT_WEIGHT_SEMI_BOLD, DWRITE_TEXT_ALIGNMENT_CENTER,
                               DWRITE_PARAGRAPH_ALIGNMENT_CENTER, DWRITE_WORD_WRAPPING_NO_WRAP, true};
constexpr FormatShape GridLabelShape{DWRITE_FONT_WEIGHT_NORMAL, DWRITE_TEXT_ALIGNMENT_CENTER,
                                     DWRITE_PARAGRAPH_ALIGNMENT_NEAR, DWRITE_WORD_WRAPPING_WRAP, true};
constexpr FormatShape ListLabelShape{DWRITE_FONT_WEIGHT_NORMAL, DWRITE_TEXT_ALIGNMENT_LEADING,
                                     DWRITE_PARAGRAPH_ALIGNMENT_CENTER, DWRITE_WORD_WRAPPING_NO_WRAP, true};

HRESULT MakeFormat(GraphicsDevice& device, float size, const FormatShape& shape, IDWriteTextFormat** format)
{
    CADRELS_RETURN_IF_FAILED(device.CreateTextFormat(size, shape.weight, format));
    (*format)->SetTextAlignment(shape.text);
    (*format)->SetParagraphAlignment(shape.paragraph);
    (*format)->SetWordWrapping(shape.wrapping);
    if (shape.trimmed) {
        const DWRITE_TRIMMING trimming{DWRITE_TRIMMING_GRANULARITY_CHARACTER, 0, 0};
        Microsoft::WRL::ComPtr<IDWriteInlineObject> ellipsis;
        if (SUCCEEDED(device.DWrite()->CreateEllipsisTrimmingSign(*format, ellipsis.GetAddressOf()))) {
            (*format)->SetTrimming(&trimming, ellipsis.Get());
        }
    }
    return S_OK;
}

}  // namespace

FrameResult Cadrel::Draw()
{
    if (building_) {
        drawPending_ = true;
        return FrameResult::Skipped;
    }
    return graphics_.Draw();
}

void Cadrel::FinishBuilding()
{
    building_ = false;
    if (!content_.Listed()) {
        StartWatcher();
        ListFolder();
    }
    if (std::exchange(drawPending_, false) || !graphics_.Built()) {
        Draw();
    }
}

HRESULT Cadrel::CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context)
{
    scale_ = DpiScale(dpi_);
    const Palette& palette = CurrentPalette();
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(ToColorF(tint_ ? tint_ : CadrelBackgroundColor(),
                                                                    static_cast<float>(opacity_)),
                                                           backgroundBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(ToColorF(accent_ ? accent_ : AccentColor(), AccentAlpha),
                                                           accentBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(ToColorF(palette.cadrelForeground, TextAlpha),
                                                           textBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(ToColorF(palette.contrastForeground, OverlayAlpha),
                                                           overlayBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(ToColorF(palette.contrastForeground, SeparatorAlpha),
                                                           separatorBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(ToColorF(palette.cadrelForeground, SecondaryAlpha),
                                                           secondaryBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(ToColorF(palette.contrastForeground, PlaceholderAlpha),
                                                           placeholderBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(MakeFormat(device, 14.0f * scale_, TitleShape, titleFormat_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(MakeFormat(device, 13.0f * scale_, TabShape, tabFormat_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(
        MakeFormat(device, 11.0f * scale_, GridLabelShape, gridLabelFormat_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(
        MakeFormat(device, 11.0f * scale_, ListLabelShape, listLabelFormat_.ReleaseAndGetAddressOf()));
    // Layouts made with the old formats would keep the old scale.
    labels_.layouts.clear();
    svgs_.Clear();
    return S_OK;
}

void Cadrel::ReleaseDeviceResources()
{
    backgroundBrush_.Reset();
    accentBrush_.Reset();
    textBrush_.Reset();
    overlayBrush_.Reset();
    separatorBrush_.Reset();
    secondaryBrush_.Reset();
    placeholderBrush_.Reset();
    titleFormat_.Reset();
    tabFormat_.Reset();
    gridLabelFormat_.Reset();
    listLabelFormat_.Reset();
    labels_.layouts.clear();
    svgs_.Clear();
}

void Cadrel::RecolourBackground()
{
    if (backgroundBrush_) {
        backgroundBrush_->SetColor(ToColorF(tint_ ? tint_ : CadrelBackgroundColor(), static_cast<float>(opacity_)));
    }
}

void Cadrel::RecolourAccent()
{
    if (accentBrush_) {
        accentBrush_->SetColor(ToColorF(accent_ ? accent_ : AccentColor(), AccentAlpha));
    }
    if (textBrush_) {
        textBrush_->SetColor(ToColorF(CurrentPalette().cadrelForeground, TextAlpha));
    }
    if (overlayBrush_) {
        overlayBrush_->SetColor(ToColorF(CurrentPalette().contrastForeground, OverlayAlpha));
    }
    if (separatorBrush_) {
        separatorBrush_->SetColor(ToColorF(CurrentPalette().contrastForeground, SeparatorAlpha));
    }
    if (secondaryBrush_) {
        secondaryBrush_->SetColor(ToColorF(CurrentPalette().cadrelForeground, SecondaryAlpha));
    }
    if (placeholderBrush_) {
        placeholderBrush_->SetColor(ToColorF(CurrentPalette().contrastForeground, PlaceholderAlpha));
    }
}

void Cadrel::DrawTitle(ID2D1DeviceContext& context, const std::wstring& text, const D2D1_RECT_F& box, float angle,
                       float opacity)
{
    IDWriteTextFormat* format = tabs_.size() > 1 ? tabFormat_.Get() : titleFormat_.Get();
    textBrush_->SetOpacity(opacity);
    if (angle == 0.0f) {
        context.PushAxisAlignedClip(box, D2D1_ANTIALIAS_MODE_ALIASED);
        context.DrawTextW(text.c_str(), static_cast<UINT32>(text.size()), format, box, textBrush_.Get());
        context.PopAxisAlignedClip();
    } else {
        // A side bar reads along its length: the text box is as long as the
        // strip and as thick as the bar, turned about the strip's centre.
        D2D1_MATRIX_3X2_F saved;
        context.GetTransform(&saved);
        const D2D1_POINT_2F centre = D2D1::Point2F((box.left + box.right) / 2, (box.top + box.bottom) / 2);
        const float length = std::max(0.0f, box.bottom - box.top - 8.0f * scale_);
        const float thickness = box.right - box.left;
        context.SetTransform(D2D1::Matrix3x2F::Rotation(angle, centre) * saved);
        const D2D1_RECT_F turned = D2D1::RectF(centre.x - length / 2, centre.y - thickness / 2, centre.x + length / 2,
                                               centre.y + thickness / 2);
        context.DrawTextW(text.c_str(), static_cast<UINT32>(text.size()), format, turned, textBrush_.Get(),
                          D2D1_DRAW_TEXT_OPTIONS_CLIP);
        context.SetTransform(saved);
    }
    textBrush_->SetOpacity(1.0f);
}

void Cadrel::DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size)
{
    const float s = scale_;
    const float w = size.width;
    const float h = size.height;
    const float bar = static_cast<float>(Metrics().titleBar);
    const float pad = static_cast<float>(ScaleLength(10, dpi_));
    const float radius = 10.0f * s;
    const int direction = unfoldDirection_;
    const bool vertical = IsVerticalUnfold(direction);
    const float barTop = direction == UnfoldUp ? std::max(0.0f, h - bar) : 0.0f;

    const D2D1_ROUNDED_RECT body = D2D1::RoundedRect(D2D1::RectF(0, 0, w, h), radius, radius);
    context.FillRoundedRectangle(body, backgroundBrush_.Get());
    const float border = 1.0f * s;
    context.DrawRoundedRectangle(
        D2D1::RoundedRect(D2D1::RectF(border / 2, border / 2, w - border / 2, h - border / 2), radius, radius),
        accentBrush_.Get(), border);
    DrawHosting(context, w, h);

    D2D1_RECT_F titleBar = D2D1::RectF(0, barTop, w, barTop + bar);
    if (direction == UnfoldLeft) {
        titleBar = D2D1::RectF(w - bar, 0, w, h);
    } else if (direction == UnfoldRight) {
        titleBar = D2D1::RectF(0, 0, bar, h);
    }

    if (dropHighlight_) {
        const float inset = 1.5f * s;
        context.DrawRoundedRectangle(
            D2D1::RoundedRect(D2D1::RectF(inset, inset, w - inset, h - inset), radius, radius), accentBrush_.Get(),
            2.5f * s);
    }
    if (mergeHighlight_ || hostHighlight_) {
        const D2D1_RECT_F fill = vertical ? D2D1::RectF(2 * s, titleBar.top, w - 2 * s, titleBar.bottom)
                                          : D2D1::RectF(titleBar.left, 2 * s, titleBar.right, h - 2 * s);
        context.FillRectangle(fill, accentBrush_.Get());
        context.DrawRoundedRectangle(D2D1::RoundedRect(D2D1::RectF(2 * s, 2 * s, w - 2 * s, h - 2 * s), radius, radius),
                                     accentBrush_.Get(), 3 * s);
    }

    const float angle = direction == UnfoldLeft ? 90.0f : direction == UnfoldRight ? -90.0f : 0.0f;
    const int count = static_cast<int>(tabs_.size());
    if (count == 1) {
        const LiveTab& tab = tabs_[0];
        const D2D1_RECT_F box = vertical ? D2D1::RectF(pad, barTop, w - pad, barTop + bar) : titleBar;
        if (!tab.emblem.empty()) {
            if (vertical) {
                const float a = std::min(18 * s, bar - 10 * s);
                const float m = MeasureTitle(tab.title, titleFormat_.Get(), box.right - box.left, bar);
                const float left = std::max(box.left, (box.left + box.right) / 2 - m / 2 - 5 * s - a);
                const float top = barTop + (bar - a) / 2;
                if (a > 0) {
                    DrawTabEmblem(context, tab, D2D1::RectF(left, top, left + a, top + a));
                }
            } else {
                const float a = std::min(18 * s, bar - 6 * s);
                const float m = MeasureTitle(tab.title, titleFormat_.Get(), h - 8 * s, bar);
                const float top = std::max(6 * s, h / 2 - m / 2 - 5 * s - a);
                const float left = titleBar.left + (bar - a) / 2;
                if (a > 0) {
                    DrawTabEmblem(context, tab, D2D1::RectF(left, top, left + a, top + a));
                }
            }
        }
        DrawTitle(context, tab.title, box, angle, 1.0f);
    } else {
        for (int i = 0; i < count; ++i) {
            const LayoutRect r = TabRect(i);
            const D2D1_RECT_F tab = D2D1::RectF(r.left, r.top, r.right, r.bottom);
            const bool active = i == activeTab_;
            const bool dragged = press_.TabDragging() && i == press_.DraggedTab();
            const bool torn = dragged && press_.TornOff();
            const bool drop = i == dropTab_;
            if ((active || dragged || drop) && !torn) {
                const float inset = 3 * s;
                const D2D1_ROUNDED_RECT fill = D2D1::RoundedRect(
                    D2D1::RectF(tab.left + inset, tab.top + inset, tab.right - inset, tab.bottom - inset), 6 * s, 6 * s);
                context.FillRoundedRectangle(fill, overlayBrush_.Get());
                if (dragged || drop) {
                    context.DrawRoundedRectangle(fill, accentBrush_.Get(), (drop ? 2.0f : 1.0f) * s);
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
                        MeasureTitle(live.title, tabFormat_.Get(), text.right - text.left, tab.bottom - tab.top);
                    const float left = std::max(text.left, (text.left + text.right) / 2 - m / 2 - 5 * s - a);
                    const float top = (tab.top + tab.bottom - a) / 2;
                    if (a > 0) {
                        DrawTabEmblem(context, live, D2D1::RectF(left, top, left + a, top + a));
                    }
                } else {
                    const float a = std::min(18 * s, bar - 8 * s);
                    const float m = MeasureTitle(live.title, tabFormat_.Get(), tab.bottom - tab.top - 8 * s, bar);
                    const float top = std::max(tab.top + 2 * s, (tab.top + tab.bottom) / 2 - m / 2 - 5 * s - a);
                    const float left = tab.left + (bar - a) / 2;
                    if (a > 0) {
                        DrawTabEmblem(context, live, D2D1::RectF(left, top, left + a, top + a));
                    }
                }
            }
            DrawTitle(context, live.title, text, angle, opacity);
            if (torn) {
                continue;
            }
            if (active && vertical) {
                const float y = direction == UnfoldUp ? tab.top + 1.5f * s : tab.bottom - 1.5f * s;
                context.DrawLine(D2D1::Point2F(tab.left + 8 * s, y), D2D1::Point2F(tab.right - 8 * s, y),
                                 accentBrush_.Get(), 2 * s);
            } else if (active) {
                const float x = direction == UnfoldLeft ? tab.left + 1.5f * s : tab.right - 1.5f * s;
                context.DrawLine(D2D1::Point2F(x, tab.top + 8 * s), D2D1::Point2F(x, tab.bottom - 8 * s),
                                 accentBrush_.Get(), 2 * s);
            }
        }
        // The grip in the free end of the strip says the bar can be taken.
        textBrush_->SetOpacity(0.3f);
        for (const float step : {-3 * s, 0.0f, 3 * s}) {
            if (vertical) {
                const float x = w - 11 * s + step;
                const float c = barTop + bar / 2;
                context.DrawLine(D2D1::Point2F(x, c - 4 * s), D2D1::Point2F(x, c + 4 * s), textBrush_.Get(), 1.4f * s);
            } else {
                const float y = h - pad - 11 * s + step;
                const float c = (titleBar.left + titleBar.right) / 2;
                context.DrawLine(D2D1::Point2F(c - 4 * s, y), D2D1::Point2F(c + 4 * s, y), textBrush_.Get(), 1.4f * s);
            }
        }
        textBrush_->SetOpacity(1.0f);
        if (press_.TabDragging() && press_.TornOff()) {
            DrawTornTab(context);
        }
    }

    if (vertical) {
        const float y = direction == UnfoldUp ? barTop : bar;
        context.DrawLine(D2D1::Point2F(pad, y), D2D1::Point2F(w - pad, y), separatorBrush_.Get(), 1.0f);
    } else {
        const float x = direction == UnfoldLeft ? w - bar : bar;
        context.DrawLine(D2D1::Point2F(x, pad), D2D1::Point2F(x, h - pad), separatorBrush_.Get(), 1.0f);
    }

    const CadrelView view = View();
    if (!rolled_) {
        DrawItems(context, view);
        DrawFooter(context, view);
    }
}

}  // namespace cadrels
