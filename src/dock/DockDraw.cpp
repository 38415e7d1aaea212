// One frame of the dock: shelf, items, separators, fixed slots, the dragged
// item and the label, from the layout of this frame's scales.
#include "dock/Dock.h"

#include "base/Failure.h"
#include "gfx/D2DColor.h"
#include "i18n/StringTable.h"
#include "model/Theme.h"

#include <algorithm>
#include <cmath>

namespace cadrels {
namespace {

constexpr float ShelfRadius = 18.0f;
constexpr D2D1_COLOR_F GlyphColour{0.251f, 0.267f, 0.298f, 0.85f};
constexpr wchar_t GlyphFamily[] = L"Segoe MDL2 Assets";

D2D1_RECT_F ToRectF(const DockRect& rect, float raise = 0.0f)
{
    return D2D1::RectF(rect.left, rect.top - raise, rect.right, rect.bottom - raise);
}

struct FixedSlotLook {
    DockSlotKind kind;
    const wchar_t* icon;
    wchar_t glyph;  // 0: the Applications grid
    TextId label;
};

constexpr FixedSlotLook FixedSlotLooks[] = {
    {DockSlotKind::ThisPc, L"svg:thispc", 0xE7F8, TextId::ThisPc},
    {DockSlotKind::Applications, L"svg:launchpad", 0, TextId::Applications},
    {DockSlotKind::NewCadrel, L"svg:newcadrel", 0xE710, TextId::NewCadrel},
    {DockSlotKind::Settings, L"svg:settings", 0xE713, TextId::Settings},
    {DockSlotKind::Trash, L"svg:trash", 0xE74D, TextId::Trash},
};

const FixedSlotLook* LookOf(DockSlotKind kind)
{
    for (const FixedSlotLook& look : FixedSlotLooks) {
        if (look.kind == kind) {
            return &look;
        }
    }
    return nullptr;
}

bool FontFamilyExists(IDWriteFactory& factory, const wchar_t* family)
{
    Microsoft::WRL::ComPtr<IDWriteFontCollection> fonts;
    if (FAILED(factory.GetSystemFontCollection(fonts.GetAddressOf(), FALSE))) {
        return false;
    }
    UINT32 index = 0;
    BOOL exists = FALSE;
    return SUCCEEDED(fonts->FindFamilyName(family, &index, &exists)) && exists;
}

}  // namespace

HRESULT Dock::CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context)
{
    svgs_.Clear();
    backdrop_.reset();
    const float scale = Scale();
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(D2D1::ColorF(0, 0, 0, 1), resources_.brush.ReleaseAndGetAddressOf()));

    const D2D1_GRADIENT_STOP stops[] = {
        {0.0f, D2D1::ColorF(0.992f, 0.996f, 1.0f, 0.46f)},
        {1.0f, D2D1::ColorF(0.980f, 0.984f, 0.996f, 0.50f)},
    };
    Microsoft::WRL::ComPtr<ID2D1GradientStopCollection> collection;
    CADRELS_RETURN_IF_FAILED(context.CreateGradientStopCollection(stops, 2, collection.GetAddressOf()));
    CADRELS_RETURN_IF_FAILED(context.CreateLinearGradientBrush(
        D2D1::LinearGradientBrushProperties(D2D1::Point2F(0, 0), D2D1::Point2F(0, 1)), collection.Get(),
        resources_.gradient.ReleaseAndGetAddressOf()));

    CADRELS_RETURN_IF_FAILED(
        device.CreateTextFormat(12.5f * scale, DWRITE_FONT_WEIGHT_SEMI_BOLD, resources_.labelFormat.ReleaseAndGetAddressOf()));
    resources_.labelFormat->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);

    // The glyph font is only the fallback for a missing built-in document;
    // where the system lacks it the slot keeps its placeholder.
    resources_.glyphFormat.Reset();
    if (FontFamilyExists(*device.DWrite(), GlyphFamily)) {
        if (SUCCEEDED(device.DWrite()->CreateTextFormat(GlyphFamily, nullptr, DWRITE_FONT_WEIGHT_NORMAL,
                                                        DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL,
                                                        24.0f * scale, L"", resources_.glyphFormat.GetAddressOf()))) {
            resources_.glyphFormat->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
            resources_.glyphFormat->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
        }
    }
    return S_OK;
}

void Dock::ReleaseDeviceResources()
{
    svgs_.Clear();
    resources_.brush.Reset();
    resources_.gradient.Reset();
    resources_.labelFormat.Reset();
    resources_.glyphFormat.Reset();
}

float Dock::BounceOffsetOf(int slot) const
{
    return bounce_.slot == slot ? DockBounceOffset(bounce_.time, Scale()) : 0.0f;
}

void Dock::DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size)
{
    const float scale = Scale();
    const int slots = DockSlotCount(items_.size());
    layout_ = ComputeDockLayout(scales_, slots, size.width, size.height, scale);

    DrawShelf(context);

    for (size_t item = 0; item < items_.size(); ++item) {
        if (pointer_.dragging && static_cast<int>(item) == pointer_.dragIndex) {
            continue;
        }
        const int slot = DockItemSlot(static_cast<int>(item));
        DrawItemIcon(context, static_cast<int>(item),
                     ToRectF(layout_.slots[static_cast<size_t>(slot)], BounceOffsetOf(slot)));
    }

    resources_.brush->SetColor(D2D1::ColorF(0, 0, 0, 0.18f));
    for (float x : {layout_.firstSeparator, layout_.secondSeparator}) {
        if (x >= 0.0f) {
            context.DrawLine(D2D1::Point2F(x, layout_.shelf.top + 10.0f * scale),
                             D2D1::Point2F(x, layout_.shelf.bottom - 10.0f * scale), resources_.brush.Get(), 1.0f);
        }
    }

    for (int slot : {0, 1, 2, 3, slots - 1}) {
        DrawFixedSlot(context, slot, ToRectF(layout_.slots[static_cast<size_t>(slot)], BounceOffsetOf(slot)));
    }

    if (pointer_.dragging && pointer_.dragIndex >= 0 && static_cast<size_t>(pointer_.dragIndex) < items_.size()) {
        const DockRect dragged = DockDraggedIconRect(pointer_.mouseX, size.width, size.height, scale);
        resources_.brush->SetColor(D2D1::ColorF(0, 0, 0, 0.28f));
        const float radius = 12.0f * scale;
        context.FillRoundedRectangle(
            D2D1::RoundedRect(D2D1::RectF(dragged.left + scale, dragged.top + 5.0f * scale, dragged.right + scale,
                                          dragged.bottom + 5.0f * scale),
                              radius, radius),
            resources_.brush.Get());
        DrawItemIcon(context, pointer_.dragIndex, ToRectF(dragged));
    } else {
        DrawLabel(context, size);
    }
}

void Dock::DrawShelf(ID2D1DeviceContext& context)
{
    const float scale = Scale();
    const float radius = ShelfRadius * scale;
    const D2D1_RECT_F shelf = ToRectF(layout_.shelf);

    resources_.brush->SetColor(D2D1::ColorF(0, 0, 0, 0.28f));
    context.FillRoundedRectangle(
        D2D1::RoundedRect(D2D1::RectF(shelf.left, shelf.top + 3.0f * scale, shelf.right, shelf.bottom + 3.0f * scale),
                          radius, radius),
        resources_.brush.Get());

    const D2D1_ROUNDED_RECT rounded = D2D1::RoundedRect(shelf, radius, radius);
    if (backdrop_) {
        resources_.brush->SetColor(*backdrop_);
        context.FillRoundedRectangle(rounded, resources_.brush.Get());
    } else {
        resources_.gradient->SetStartPoint(D2D1::Point2F(shelf.left, shelf.top));
        resources_.gradient->SetEndPoint(D2D1::Point2F(shelf.left, shelf.bottom));
        context.FillRoundedRectangle(rounded, resources_.gradient.Get());
    }

    resources_.brush->SetColor(D2D1::ColorF(1, 1, 1, 0.65f));
    context.DrawLine(D2D1::Point2F(shelf.left + radius, shelf.top + scale),
                     D2D1::Point2F(shelf.right - radius, shelf.top + scale), resources_.brush.Get(), 1.2f * scale);
    resources_.brush->SetColor(D2D1::ColorF(1, 1, 1, 0.70f));
    context.DrawRoundedRectangle(rounded, resources_.brush.Get(), scale);

    if (pointer_.dropHover) {
        const float inset = 1.5f * scale;
        resources_.brush->SetColor(ToColorF(AccentColor(), 0.95f));
        context.DrawRoundedRectangle(
            D2D1::RoundedRect(D2D1::RectF(shelf.left + inset, shelf.top + inset, shelf.right - inset,
                                          shelf.bottom - inset),
                              radius, radius),
            resources_.brush.Get(), 2.5f * scale);
    }
}

void Dock::DrawItemIcon(ID2D1DeviceContext& context, int item, const D2D1_RECT_F& rect)
{
    const std::wstring& path = items_[static_cast<size_t>(item)];
    const auto custom = customIcons_.find(path);
    const std::wstring key = custom != customIcons_.end() ? custom->second : std::wstring();

    if (!key.empty() && icons_ != nullptr) {
        const EmblemSources sources{device_, graphics_.SvgContext(), svgs_, *icons_};
        if (DrawEmblem(context, rect, key, sources)) {
            return;
        }
    }
    if (icons_ != nullptr) {
        // One size for every scale: the magnified icon stays sharp and the
        // cache keeps a single bitmap per item.
        const int size = static_cast<int>(std::lround(72.0f * Scale()));
        if (ID2D1Bitmap* bitmap = icons_->Get(path, size)) {
            context.DrawBitmap(bitmap, FitBitmapRect(bitmap->GetSize(), rect), 1.0f,
                               D2D1_BITMAP_INTERPOLATION_MODE_LINEAR);
            return;
        }
    }
    const float radius = 8.0f * Scale();
    resources_.brush->SetColor(IsDarkTheme() ? D2D1::ColorF(1, 1, 1, 0.14f) : D2D1::ColorF(0, 0, 0, 0.14f));
    context.FillRoundedRectangle(D2D1::RoundedRect(rect, radius, radius), resources_.brush.Get());
}

void Dock::DrawFixedSlot(ID2D1DeviceContext& context, int slot, const D2D1_RECT_F& rect)
{
    const FixedSlotLook* look = LookOf(DockSlotAt(slot, items_.size()).kind);
    if (look == nullptr) {
        return;
    }
    if (const SvgEmblem* emblem = LoadSvgEmblem(svgs_, device_, graphics_.SvgContext(), look->icon)) {
        DrawSvgEmblem(context, graphics_.SvgContext(), *emblem, rect);
        return;
    }
    if (look->glyph == 0) {
        const DockRect area{rect.left, rect.top, rect.right, rect.bottom};
        const std::vector<DockRect> squares = DockGridSquares(area);
        for (size_t index = 0; index < squares.size(); ++index) {
            const float radius = 0.3f * squares[index].Width();
            resources_.brush->SetColor(index == 4 ? ToColorF(AccentColor(), 0.95f) : GlyphColour);
            context.FillRoundedRectangle(D2D1::RoundedRect(ToRectF(squares[index]), radius, radius), resources_.brush.Get());
        }
        return;
    }
    if (resources_.glyphFormat) {
        resources_.brush->SetColor(GlyphColour);
        context.DrawTextW(&look->glyph, 1, resources_.glyphFormat.Get(), rect, resources_.brush.Get());
    }
}

std::wstring Dock::SlotLabel(int slot) const
{
    const DockSlot content = DockSlotAt(slot, items_.size());
    if (content.kind == DockSlotKind::Item) {
        return DockItemLabel(items_[static_cast<size_t>(content.item)]);
    }
    const FixedSlotLook* look = LookOf(content.kind);
    return look != nullptr ? Tr(look->label) : std::wstring();
}

void Dock::DrawLabel(ID2D1DeviceContext& context, D2D1_SIZE_F size)
{
    if (pointer_.hoverSlot < 0 || static_cast<size_t>(pointer_.hoverSlot) >= layout_.slots.size()) {
        return;
    }
    const std::wstring text = SlotLabel(pointer_.hoverSlot);
    if (text.empty()) {
        return;
    }
    const float scale = Scale();
    Microsoft::WRL::ComPtr<IDWriteTextLayout> textLayout;
    if (FAILED(device_.DWrite()->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()), resources_.labelFormat.Get(),
                                                  600.0f * scale, 40.0f * scale, textLayout.GetAddressOf()))) {
        return;
    }
    DWRITE_TEXT_METRICS metrics{};
    textLayout->GetMetrics(&metrics);
    const DockRect icon = layout_.slots[static_cast<size_t>(pointer_.hoverSlot)];
    const DockRect box = DockLabelBox(metrics.widthIncludingTrailingWhitespace, metrics.height, icon, size.width, scale);
    const float radius = 6.0f * scale;
    resources_.brush->SetColor(D2D1::ColorF(0.078f, 0.078f, 0.086f, 0.88f));
    context.FillRoundedRectangle(D2D1::RoundedRect(ToRectF(box), radius, radius), resources_.brush.Get());
    resources_.brush->SetColor(D2D1::ColorF(1, 1, 1, 0.96f));
    context.DrawTextLayout(D2D1::Point2F(box.left + 10.0f * scale - metrics.left, box.top + 4.0f * scale),
                           textLayout.Get(), resources_.brush.Get());
}

}  // namespace cadrels
