// One frame of the file search: the rounded bar, the magnifier, the query
// or its placeholder with the caret, the scope, and the result rows with
// their icons, the matched part of each name in bold and the location.
#include "search/FileSearch.h"

#include "base/Failure.h"
#include "gfx/IconCache.h"
#include "i18n/StringTable.h"

namespace cadrels {
namespace {

constexpr D2D1_COLOR_F PrimaryColour{0.9f, 0.9f, 0.9f, 1.0f};
constexpr D2D1_COLOR_F SecondaryColour{0.6f, 0.6f, 0.6f, 1.0f};
constexpr D2D1_COLOR_F LineColour{1.0f, 1.0f, 1.0f, 0.1f};
constexpr D2D1_COLOR_F FallbackFill{0.15f, 0.15f, 0.15f, 0.85f};

void DrawLine(ID2D1DeviceContext& context, const std::wstring& text, IDWriteTextFormat* format,
              const D2D1_RECT_F& rect, ID2D1Brush* brush)
{
    context.DrawTextW(text.c_str(), static_cast<UINT32>(text.size()), format, rect, brush,
                      D2D1_DRAW_TEXT_OPTIONS_CLIP);
}

}  // namespace

HRESULT FileSearch::CreateTextFormats(GraphicsDevice& device)
{
    const float s = Scale();
    const wchar_t* locale = InterfaceTextLocale(UiLanguage());
    const auto make = [&](float size, DWRITE_FONT_WEIGHT weight, IDWriteTextFormat** format) {
        return device.DWrite()->CreateTextFormat(device.UiFontFamily().c_str(), nullptr, weight,
                                                 DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL, size * s,
                                                 locale, format);
    };
    CADRELS_RETURN_IF_FAILED(make(22.0f, DWRITE_FONT_WEIGHT_NORMAL, queryFormat_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(make(14.0f, DWRITE_FONT_WEIGHT_SEMI_BOLD, nameFormat_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(make(12.0f, DWRITE_FONT_WEIGHT_NORMAL, smallFormat_.ReleaseAndGetAddressOf()));
    for (IDWriteTextFormat* format : {queryFormat_.Get(), nameFormat_.Get(), smallFormat_.Get()}) {
        format->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    }
    smallFormat_->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_TRAILING);
    return S_OK;
}

HRESULT FileSearch::CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context)
{
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(FallbackFill, fillBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(LineColour, lineBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(PrimaryColour, primaryBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(
        context.CreateSolidColorBrush(SecondaryColour, secondaryBrush_.ReleaseAndGetAddressOf()));
    return CreateTextFormats(device);
}

void FileSearch::ReleaseDeviceResources()
{
    fillBrush_.Reset();
    lineBrush_.Reset();
    primaryBrush_.Reset();
    secondaryBrush_.Reset();
    queryFormat_.Reset();
    nameFormat_.Reset();
    smallFormat_.Reset();
}

void FileSearch::DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size)
{
    const float s = Scale();
    const float w = size.width;
    context.Clear(D2D1::ColorF(0, 0, 0, 0));

    const D2D1_ROUNDED_RECT panel =
        D2D1::RoundedRect(D2D1::RectF(0.0f, 0.0f, w, size.height), 12.0f * s, 12.0f * s);
    fillBrush_->SetColor(backdrop_ ? *backdrop_ : FallbackFill);
    context.FillRoundedRectangle(panel, fillBrush_.Get());
    const D2D1_ROUNDED_RECT border = D2D1::RoundedRect(
        D2D1::RectF(0.5f, 0.5f, w - 0.5f, size.height - 0.5f), 12.0f * s, 12.0f * s);
    context.DrawRoundedRectangle(border, lineBrush_.Get(), 1.0f * s);

    context.DrawEllipse(D2D1::Ellipse(D2D1::Point2F(28.0f * s, 30.0f * s), 7.0f * s, 7.0f * s),
                        secondaryBrush_.Get(), 2.0f * s);
    context.DrawLine(D2D1::Point2F(33.0f * s, 35.0f * s), D2D1::Point2F(39.0f * s, 41.0f * s),
                     secondaryBrush_.Get(), 2.5f * s);

    DrawQuery(context, w, s);
    DrawLine(context, ScopeLabel(), smallFormat_.Get(), D2D1::RectF(w - 200.0f * s, 22.0f * s, w - 20.0f * s, 60.0f * s),
             secondaryBrush_.Get());
    if (!results_.empty()) {
        DrawRows(context, w, s);
    }
}

void FileSearch::DrawQuery(ID2D1DeviceContext& context, float w, float s)
{
    const D2D1_RECT_F box = D2D1::RectF(50.0f * s, 14.0f * s, w - 180.0f * s, 60.0f * s);
    if (query_.empty()) {
        DrawLine(context, Tr(TextId::SearchFilePlaceholder), queryFormat_.Get(), box, secondaryBrush_.Get());
    } else {
        DrawLine(context, query_, queryFormat_.Get(), box, primaryBrush_.Get());
    }
    if (!caretOn_ || GetFocus() != window_.Get()) {
        return;
    }
    float x = 50.0f * s;
    float top = 20.0f * s;
    float bottom = 44.0f * s;
    Microsoft::WRL::ComPtr<IDWriteTextLayout> layout;
    if (!query_.empty() &&
        SUCCEEDED(device_.DWrite()->CreateTextLayout(query_.c_str(), static_cast<UINT32>(query_.size()),
                                                     queryFormat_.Get(), box.right - box.left, box.bottom - box.top,
                                                     layout.GetAddressOf()))) {
        float caretX = 0;
        float caretY = 0;
        DWRITE_HIT_TEST_METRICS metrics{};
        if (SUCCEEDED(layout->HitTestTextPosition(static_cast<UINT32>(query_.size() - 1), TRUE, &caretX, &caretY,
                                                  &metrics))) {
            x = box.left + caretX;
            top = box.top + caretY;
            bottom = top + metrics.height;
        }
    }
    context.FillRectangle(D2D1::RectF(x, top, x + 2.0f * s, bottom), primaryBrush_.Get());
}

void FileSearch::DrawRows(ID2D1DeviceContext& context, float w, float s)
{
    context.FillRectangle(D2D1::RectF(0.0f, 60.0f * s, w, 61.0f * s), lineBrush_.Get());
    IconCache* icons = host_.SearchIcons();
    const int iconSize = static_cast<int>(32 * s);
    const std::wstring folded = FoldCase(query_);
    for (std::size_t row = 0; row < results_.size(); ++row) {
        const FileSearchResult& result = results_[row];
        const float y = (SearchRowsTop + SearchRowHeight * static_cast<float>(row)) * s;
        if (static_cast<int>(row) == selected_) {
            context.FillRoundedRectangle(
                D2D1::RoundedRect(D2D1::RectF(8.0f * s, y, w - 8.0f * s, y + 50.0f * s), 6.0f * s, 6.0f * s),
                lineBrush_.Get());
        }
        if (ID2D1Bitmap* icon = icons != nullptr ? icons->Get(result.path, iconSize) : nullptr) {
            context.DrawBitmap(icon, D2D1::RectF(20.0f * s, y + 9.0f * s, 20.0f * s + iconSize, y + 9.0f * s + iconSize));
        }

        const D2D1_RECT_F nameBox = D2D1::RectF(64.0f * s, y + 5.0f * s, w - 208.0f * s, y + 50.0f * s);
        Microsoft::WRL::ComPtr<IDWriteTextLayout> layout;
        if (SUCCEEDED(device_.DWrite()->CreateTextLayout(
                result.name.c_str(), static_cast<UINT32>(result.name.size()), nameFormat_.Get(),
                nameBox.right - nameBox.left, nameBox.bottom - nameBox.top, layout.GetAddressOf()))) {
            const NameMatch match = FindNameMatch(result.name, folded);
            if (match.length > 0) {
                layout->SetFontWeight(DWRITE_FONT_WEIGHT_BOLD,
                                      {static_cast<UINT32>(match.start), static_cast<UINT32>(match.length)});
            }
            context.PushAxisAlignedClip(nameBox, D2D1_ANTIALIAS_MODE_ALIASED);
            context.DrawTextLayout(D2D1::Point2F(nameBox.left, nameBox.top), layout.Get(), primaryBrush_.Get());
            context.PopAxisAlignedClip();
        }
        DrawLine(context, result.pageName + L" > " + result.cadrelName, smallFormat_.Get(),
                 D2D1::RectF(w - 308.0f * s, y + 16.0f * s, w - 24.0f * s, y + 50.0f * s), secondaryBrush_.Get());
    }
}

}  // namespace cadrels
