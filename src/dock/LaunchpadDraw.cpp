// One frame of the launcher: the background, the search box with its caret,
// the group headers and the cells of the grid, or the empty result; scaled
// and faded in while the window opens.
#include "dock/Launchpad.h"

#include "base/Failure.h"
#include "gfx/D2DColor.h"
#include "i18n/StringTable.h"
#include "model/Theme.h"

#include <algorithm>
#include <cmath>

namespace cadrels {
namespace {

constexpr D2D1_COLOR_F SecondaryColour{0.376f, 0.400f, 0.439f, 0.95f};
constexpr D2D1_COLOR_F PrimaryColour{0.125f, 0.133f, 0.157f, 0.95f};

}  // namespace

HRESULT Launchpad::CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context)
{
    // The backdrop belonged to the old device's frames; the next opening samples it again.
    backdrop_.reset();
    const float scale = Scale();
    CADRELS_RETURN_IF_FAILED(
        context.CreateSolidColorBrush(D2D1::ColorF(0, 0, 0, 1), resources_.brush.ReleaseAndGetAddressOf()));

    const D2D1_GRADIENT_STOP stops[] = {
        {0.0f, D2D1::ColorF(0.969f, 0.976f, 0.988f, 0.97f)},
        {1.0f, D2D1::ColorF(0.894f, 0.910f, 0.933f, 0.98f)},
    };
    Microsoft::WRL::ComPtr<ID2D1GradientStopCollection> collection;
    CADRELS_RETURN_IF_FAILED(context.CreateGradientStopCollection(stops, 2, collection.GetAddressOf()));
    CADRELS_RETURN_IF_FAILED(context.CreateLinearGradientBrush(
        D2D1::LinearGradientBrushProperties(D2D1::Point2F(0, 0), D2D1::Point2F(0, 1)), collection.Get(),
        resources_.gradient.ReleaseAndGetAddressOf()));

    CADRELS_RETURN_IF_FAILED(
        device.CreateTextFormat(16.0f * scale, DWRITE_FONT_WEIGHT_NORMAL, resources_.queryFormat.ReleaseAndGetAddressOf()));
    resources_.queryFormat->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    resources_.queryFormat->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);

    CADRELS_RETURN_IF_FAILED(device.CreateTextFormat(14.0f * scale, DWRITE_FONT_WEIGHT_SEMI_BOLD,
                                                     resources_.headerFormat.ReleaseAndGetAddressOf()));
    resources_.headerFormat->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    resources_.headerFormat->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);

    CADRELS_RETURN_IF_FAILED(
        device.CreateTextFormat(12.5f * scale, DWRITE_FONT_WEIGHT_NORMAL, resources_.nameFormat.ReleaseAndGetAddressOf()));
    resources_.nameFormat->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
    resources_.nameFormat->SetWordWrapping(DWRITE_WORD_WRAPPING_WRAP);
    CADRELS_RETURN_IF_FAILED(device.DWrite()->CreateEllipsisTrimmingSign(resources_.nameFormat.Get(),
                                                                         resources_.ellipsis.ReleaseAndGetAddressOf()));
    const DWRITE_TRIMMING trimming{DWRITE_TRIMMING_GRANULARITY_CHARACTER, 0, 0};
    resources_.nameFormat->SetTrimming(&trimming, resources_.ellipsis.Get());
    return S_OK;
}

void Launchpad::ReleaseDeviceResources()
{
    resources_ = DeviceResources{};
}

void Launchpad::SetColour(float r, float g, float b, float a)
{
    resources_.brush->SetColor(D2D1::ColorF(r, g, b, a * fade_));
}

void Launchpad::DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size)
{
    // Layers' opacity is not honoured everywhere: the fade goes into every
    // colour instead.
    fade_ = 1.0f;
    if (opening_ && openProgress_ < 1.0f) {
        const float rest = 1.0f - openProgress_;
        const float eased = 1.0f - rest * rest * rest;
        fade_ = eased;
        const float zoom = 0.9f + 0.1f * eased;
        context.SetTransform(D2D1::Matrix3x2F::Scale(zoom, zoom, D2D1::Point2F(size.width / 2, size.height / 2)));
    }
    DrawBackground(context);
    DrawSearchBox(context);
    DrawGrid(context);
    context.SetTransform(D2D1::Matrix3x2F::Identity());
    fade_ = 1.0f;
}

void Launchpad::DrawBackground(ID2D1DeviceContext& context)
{
    const float scale = Scale();
    const float width = static_cast<float>(width_);
    const float height = static_cast<float>(height_);
    const float radius = 20.0f * scale;
    const D2D1_ROUNDED_RECT rounded = D2D1::RoundedRect(D2D1::RectF(0, 0, width, height), radius, radius);
    if (backdrop_) {
        SetColour(backdrop_->r, backdrop_->g, backdrop_->b, backdrop_->a);
        context.FillRoundedRectangle(rounded, resources_.brush.Get());
    } else {
        resources_.gradient->SetStartPoint(D2D1::Point2F(0, 0));
        resources_.gradient->SetEndPoint(D2D1::Point2F(0, height));
        resources_.gradient->SetOpacity(fade_);
        context.FillRoundedRectangle(rounded, resources_.gradient.Get());
    }
    SetColour(1, 1, 1, 0.65f);
    context.DrawLine(D2D1::Point2F(20.0f * scale, scale), D2D1::Point2F(width - 20.0f * scale, scale),
                     resources_.brush.Get(), 1.2f * scale);
    SetColour(1, 1, 1, 0.70f);
    context.DrawRoundedRectangle(rounded, resources_.brush.Get(), scale);
}

void Launchpad::DrawSearchBox(ID2D1DeviceContext& context)
{
    const float s = Scale();
    const float width = static_cast<float>(width_);
    const D2D1_ROUNDED_RECT box =
        D2D1::RoundedRect(D2D1::RectF(26 * s, 26 * s, width - 26 * s, 70 * s), 10 * s, 10 * s);
    SetColour(1, 1, 1, 0.55f);
    context.FillRoundedRectangle(box, resources_.brush.Get());
    const D2D1_COLOR_F accent = ToColorF(AccentColor(), 0.95f);
    SetColour(accent.r, accent.g, accent.b, accent.a);
    context.DrawRoundedRectangle(box, resources_.brush.Get(), 1.6f * s);

    // The magnifier, drawn rather than taken from a symbol font that not
    // every system has, centred in the square (34, 26, 78, 70).
    SetColour(SecondaryColour.r, SecondaryColour.g, SecondaryColour.b, SecondaryColour.a);
    context.DrawEllipse(D2D1::Ellipse(D2D1::Point2F(54.5f * s, 46.0f * s), 6.5f * s, 6.5f * s), resources_.brush.Get(),
                        1.8f * s);
    context.DrawLine(D2D1::Point2F(59.2f * s, 50.7f * s), D2D1::Point2F(63.5f * s, 55.0f * s), resources_.brush.Get(),
                     2.0f * s);

    const D2D1_RECT_F textArea = D2D1::RectF(70 * s, 26 * s, width - 38 * s, 70 * s);
    context.PushAxisAlignedClip(textArea, D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    const std::wstring placeholder = query_.empty() ? Tr(TextId::SearchApp) : std::wstring();
    const std::wstring& text = query_.empty() ? placeholder : query_;
    const D2D1_COLOR_F colour = query_.empty() ? SecondaryColour : PrimaryColour;
    SetColour(colour.r, colour.g, colour.b, colour.a);
    context.DrawTextW(text.c_str(), static_cast<UINT32>(text.size()), resources_.queryFormat.Get(),
                      D2D1::RectF(textArea.left, textArea.top, textArea.left + 4000 * s, textArea.bottom),
                      resources_.brush.Get(), D2D1_DRAW_TEXT_OPTIONS_CLIP);
    context.PopAxisAlignedClip();

    if (caretOn_) {
        float measured = 0.0f;
        Microsoft::WRL::ComPtr<IDWriteTextLayout> layout;
        if (!query_.empty() &&
            SUCCEEDED(device_.DWrite()->CreateTextLayout(query_.c_str(), static_cast<UINT32>(query_.size()),
                                                         resources_.queryFormat.Get(), 4000 * s, 44 * s,
                                                         layout.GetAddressOf()))) {
            DWRITE_TEXT_METRICS metrics{};
            if (SUCCEEDED(layout->GetMetrics(&metrics))) {
                measured = metrics.widthIncludingTrailingWhitespace;
            }
        }
        const float x = std::min(70 * s + 2 * s + measured, width - 38 * s);
        SetColour(accent.r, accent.g, accent.b, 1.0f);
        context.DrawLine(D2D1::Point2F(x, 35 * s), D2D1::Point2F(x, 61 * s), resources_.brush.Get(), 1.6f * s);
    }
}

void Launchpad::DrawGrid(ID2D1DeviceContext& context)
{
    const float s = Scale();
    const float width = static_cast<float>(width_);
    const float height = static_cast<float>(height_);
    const float gridTop = LaunchpadGridTop * s;
    const float gridBottom = height - LaunchpadMargin * s;

    if (matches_.empty()) {
        // Before the first catalogue arrived the grid is only not there yet.
        if (catalogKnown_ || !query_.empty()) {
            const std::wstring text = Tr(TextId::NoApplication);
            SetColour(SecondaryColour.r, SecondaryColour.g, SecondaryColour.b, SecondaryColour.a);
            context.DrawTextW(text.c_str(), static_cast<UINT32>(text.size()), resources_.queryFormat.Get(),
                              D2D1::RectF(26 * s, 86 * s, width - 26 * s, 146 * s), resources_.brush.Get());
        }
        return;
    }

    context.PushAxisAlignedClip(D2D1::RectF(LaunchpadMargin * s, gridTop, width - LaunchpadMargin * s, gridBottom),
                                D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    SetColour(SecondaryColour.r, SecondaryColour.g, SecondaryColour.b, SecondaryColour.a);
    for (const GridHeader& header : grid_.headers) {
        const float top = gridTop + header.y - scroll_;
        if (top + LaunchpadHeaderHeight * s <= gridTop || top >= gridBottom) {
            continue;
        }
        context.DrawTextW(header.key.c_str(), static_cast<UINT32>(header.key.size()), resources_.headerFormat.Get(),
                          D2D1::RectF(30 * s, top, width - 26 * s, top + LaunchpadHeaderHeight * s),
                          resources_.brush.Get());
    }
    for (size_t cell = 0; cell < grid_.cells.size(); ++cell) {
        const float top = gridTop + grid_.cells[cell].y - scroll_;
        if (top + grid_.cellHeight <= gridTop || top >= gridBottom) {
            continue;
        }
        DrawCell(context, static_cast<int>(cell));
    }
    context.PopAxisAlignedClip();
}

void Launchpad::DrawCell(ID2D1DeviceContext& context, int cell)
{
    const float s = Scale();
    const GridPoint& at = grid_.cells[static_cast<size_t>(cell)];
    const float x = at.x;
    const float y = LaunchpadGridTop * s + at.y - scroll_;
    const float cw = grid_.cellWidth;
    const float ch = grid_.cellHeight;
    const AppEntry& entry = catalog_[static_cast<size_t>(matches_[static_cast<size_t>(cell)])];

    if (cell == hoverCell_) {
        SetColour(0, 0, 0, 0.07f);
        context.FillRoundedRectangle(
            D2D1::RoundedRect(D2D1::RectF(x + 4 * s, y + 4 * s, x + cw - 4 * s, y + ch - 4 * s), 12 * s, 12 * s),
            resources_.brush.Get());
    }

    const float iconSide = 52.0f * s;
    const float iconLeft = x + (cw - iconSide) / 2;
    const float iconTop = y + 12.0f * s;
    const D2D1_RECT_F iconRect = D2D1::RectF(iconLeft, iconTop, iconLeft + iconSide, iconTop + iconSide);
    ID2D1Bitmap* bitmap =
        icons_ != nullptr ? icons_->Get(AppLaunchPath(entry), static_cast<int>(std::lround(iconSide))) : nullptr;
    if (bitmap != nullptr) {
        context.DrawBitmap(bitmap, iconRect, fade_, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR);
    } else {
        SetColour(0, 0, 0, 0.08f);
        context.FillRoundedRectangle(D2D1::RoundedRect(iconRect, 10 * s, 10 * s), resources_.brush.Get());
    }

    SetColour(PrimaryColour.r, PrimaryColour.g, PrimaryColour.b, PrimaryColour.a);
    context.DrawTextW(entry.name.c_str(), static_cast<UINT32>(entry.name.size()), resources_.nameFormat.Get(),
                      D2D1::RectF(x + 4 * s, iconRect.bottom + 5 * s, x + cw - 4 * s, y + ch - 4 * s),
                      resources_.brush.Get(), D2D1_DRAW_TEXT_OPTIONS_CLIP);
}

}  // namespace cadrels
