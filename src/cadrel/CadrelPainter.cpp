#include "cadrel/CadrelPainter.h"

#include "base/Failure.h"
#include "base/PixelGeometry.h"
#include "cadrel/CadrelLayout.h"
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

D2D1_COLOR_F BackgroundColour(const CadrelColours& colours)
{
    return ToColorF(colours.tint ? colours.tint : CadrelBackgroundColor(), static_cast<float>(colours.opacity));
}

D2D1_COLOR_F AccentColour(const CadrelColours& colours)
{
    return ToColorF(colours.accent ? colours.accent : AccentColor(), AccentAlpha);
}

}  // namespace

CadrelPainter::CadrelPainter(GraphicsDevice& device) : device_(device)
{
}

HRESULT CadrelPainter::Create(ID2D1DeviceContext& context, unsigned dpi, const CadrelColours& colours)
{
    scale_ = DpiScale(dpi);
    const Palette& palette = CurrentPalette();
    CADRELS_RETURN_IF_FAILED(
        context.CreateSolidColorBrush(BackgroundColour(colours), backgroundBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(
        context.CreateSolidColorBrush(AccentColour(colours), accentBrush_.ReleaseAndGetAddressOf()));
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
    CADRELS_RETURN_IF_FAILED(MakeFormat(device_, 14.0f * scale_, TitleShape, titleFormat_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(MakeFormat(device_, 13.0f * scale_, TabShape, tabFormat_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(
        MakeFormat(device_, 11.0f * scale_, GridLabelShape, gridLabelFormat_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(
        MakeFormat(device_, 11.0f * scale_, ListLabelShape, listLabelFormat_.ReleaseAndGetAddressOf()));
    // Layouts made with the old formats would keep the old scale.
    labels_.layouts.clear();
    svgs_.Clear();
    return S_OK;
}

void CadrelPainter::Release()
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

void CadrelPainter::RecolourBackground(const CadrelColours& colours)
{
    if (backgroundBrush_) {
        backgroundBrush_->SetColor(BackgroundColour(colours));
    }
}

void CadrelPainter::RecolourAccent(const CadrelColours& colours)
{
    if (accentBrush_) {
        accentBrush_->SetColor(AccentColour(colours));
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

void CadrelPainter::ItemsChanged(std::wstring footerText)
{
    labels_.layouts.clear();
    footerText_ = std::move(footerText);
}

IDWriteTextLayout* CadrelPainter::LabelLayout(const std::vector<CadrelItem>& items, size_t index, int viewMode,
                                              float width, float height)
{
    if (index >= items.size()) {
        return nullptr;
    }
    if (labels_.width != width || labels_.height != height || labels_.viewMode != viewMode ||
        labels_.layouts.size() != items.size()) {
        labels_.layouts.assign(items.size(), nullptr);
        labels_.width = width;
        labels_.height = height;
        labels_.viewMode = viewMode;
    }
    Microsoft::WRL::ComPtr<IDWriteTextLayout>& layout = labels_.layouts[index];
    if (!layout) {
        IDWriteTextFormat* format = viewMode == ViewCompactList ? listLabelFormat_.Get() : gridLabelFormat_.Get();
        const std::wstring& name = items[index].name;
        if (format == nullptr ||
            FAILED(device_.DWrite()->CreateTextLayout(name.c_str(), static_cast<UINT32>(name.size()), format,
                                                      std::max(1.0f, width), std::max(1.0f, height),
                                                      layout.GetAddressOf()))) {
            return nullptr;
        }
    }
    return layout.Get();
}

float CadrelPainter::MeasureTitle(const std::wstring& text, IDWriteTextFormat* format, float width,
                                  float height) const
{
    Microsoft::WRL::ComPtr<IDWriteTextLayout> layout;
    DWRITE_TEXT_METRICS metrics{};
    if (format == nullptr ||
        FAILED(device_.DWrite()->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()), format,
                                                  std::max(1.0f, width), std::max(1.0f, height),
                                                  layout.GetAddressOf())) ||
        FAILED(layout->GetMetrics(&metrics))) {
        return 0;
    }
    return metrics.width;
}

void CadrelPainter::DrawTitle(ID2D1DeviceContext& context, const std::wstring& text, IDWriteTextFormat* format,
                              const D2D1_RECT_F& box, float angle, float opacity) const
{
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

void CadrelPainter::DrawMarquee(ID2D1DeviceContext& context, POINT start, POINT end) const
{
    if (!accentBrush_) {
        return;
    }
    const D2D1_RECT_F band = D2D1::RectF(
        static_cast<float>(std::min(start.x, end.x)), static_cast<float>(std::min(start.y, end.y)),
        static_cast<float>(std::max(start.x, end.x)), static_cast<float>(std::max(start.y, end.y)));
    context.FillRectangle(band, overlayBrush_.Get());
    context.DrawRectangle(band, accentBrush_.Get(), 1.0f);
}

}  // namespace cadrels
