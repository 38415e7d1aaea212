// What a cadrel draws with: its seven brushes and four text formats, made
// once per device generation at the scale of the window's DPI, the item
// labels laid out once per listing, the footer's text and the SVG emblems
// of its tabs. The cadrel draws its frame with them; the painter keeps them
// coloured as the theme and the cadrel's own colours change.
#pragma once

#include "cadrel/CadrelItem.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/SvgEmblems.h"
#include "model/Records.h"

#include <windows.h>
#include <d2d1_1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <cstddef>
#include <string>
#include <vector>

namespace cadrels {

// The cadrel's own colours: 0 takes the theme's.
struct CadrelColours {
    Color tint = 0;
    Color accent = 0;
    double opacity = 0.62;
};

class CadrelPainter {
public:
    explicit CadrelPainter(GraphicsDevice& device);
    CadrelPainter(const CadrelPainter&) = delete;
    CadrelPainter& operator=(const CadrelPainter&) = delete;

    // Every brush and format for the device of `context`, sized for `dpi`.
    HRESULT Create(ID2D1DeviceContext& context, unsigned dpi, const CadrelColours& colours);
    void Release();
    bool Created() const { return backgroundBrush_ != nullptr; }

    // The tint or opacity changed: only the body's brush.
    void RecolourBackground(const CadrelColours& colours);
    // The accent or the theme changed: the border and every text colour.
    void RecolourAccent(const CadrelColours& colours);

    // dpi / 96 of the last Create.
    float Scale() const { return scale_; }

    ID2D1SolidColorBrush* Background() const { return backgroundBrush_.Get(); }
    ID2D1SolidColorBrush* Accent() const { return accentBrush_.Get(); }
    ID2D1SolidColorBrush* Text() const { return textBrush_.Get(); }
    ID2D1SolidColorBrush* Overlay() const { return overlayBrush_.Get(); }
    ID2D1SolidColorBrush* Separator() const { return separatorBrush_.Get(); }
    ID2D1SolidColorBrush* Secondary() const { return secondaryBrush_.Get(); }
    ID2D1SolidColorBrush* Placeholder() const { return placeholderBrush_.Get(); }
    IDWriteTextFormat* TitleFormat() const { return titleFormat_.Get(); }
    IDWriteTextFormat* TabFormat() const { return tabFormat_.Get(); }
    IDWriteTextFormat* GridLabelFormat() const { return gridLabelFormat_.Get(); }
    IDWriteTextFormat* ListLabelFormat() const { return listLabelFormat_.Get(); }

    // The listing changed (new items or a new order): their labels are laid
    // out again, and the footer says `footerText`.
    void ItemsChanged(std::wstring footerText);
    const std::wstring& FooterText() const { return footerText_; }

    // The label of `items[index]` in a cell of `width` x `height`, laid out
    // once until the cell size, the view mode or the number of items changes.
    IDWriteTextLayout* LabelLayout(const std::vector<CadrelItem>& items, size_t index, int viewMode, float width,
                                   float height);
    // The width `text` takes in `format` within `width` x `height`; 0 when
    // it cannot be laid out.
    float MeasureTitle(const std::wstring& text, IDWriteTextFormat* format, float width, float height) const;

    SvgEmblemCache& Svgs() { return svgs_; }

    // The title or a tab's title in `box`, turned by `angle` degrees about
    // its centre on a side bar, with the text brush at `opacity`.
    void DrawTitle(ID2D1DeviceContext& context, const std::wstring& text, IDWriteTextFormat* format,
                   const D2D1_RECT_F& box, float angle, float opacity) const;
    // The selection band between two client points.
    void DrawMarquee(ID2D1DeviceContext& context, POINT start, POINT end) const;

private:
    GraphicsDevice& device_;
    float scale_ = 1.0f;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> backgroundBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> accentBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> textBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> overlayBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> separatorBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> secondaryBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> placeholderBrush_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> titleFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> tabFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> gridLabelFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> listLabelFormat_;

    // Item labels laid out once per listing, cell size and format: a hover
    // redraws the whole cadrel, and laying text out is most of a frame.
    struct LabelLayouts {
        std::vector<Microsoft::WRL::ComPtr<IDWriteTextLayout>> layouts;
        float width = 0;
        float height = 0;
        int viewMode = -1;
    };
    LabelLayouts labels_;
    // Made again only when the items change.
    std::wstring footerText_;
    SvgEmblemCache svgs_;
};

}  // namespace cadrels
