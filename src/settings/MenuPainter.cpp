// Drawing of one menu level with GDI in the theme palette. The pens and
// brushes are made per paint: a level repaints only when its highlight moves,
// and the palette may change while a menu is open.
#include "settings/MenuLevel.h"

#include "model/Theme.h"
#include "settings/DarkStyle.h"

namespace cadrels {
namespace {

void FillRoundRect(HDC dc, const RECT& rect, int corner, Color colour)
{
    UniqueBrush brush(CreateSolidBrush(colour));
    UniquePen pen(CreatePen(PS_SOLID, 1, colour));
    const SelectedObject selectedBrush(dc, brush.Get());
    const SelectedObject selectedPen(dc, pen.Get());
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

void FrameRoundRect(HDC dc, const RECT& rect, int corner, Color colour)
{
    UniquePen pen(CreatePen(PS_SOLID, 1, colour));
    const SelectedObject selectedBrush(dc, GetStockObject(NULL_BRUSH));
    const SelectedObject selectedPen(dc, pen.Get());
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

void DrawLine(HDC dc, int x1, int y, int x2, Color colour)
{
    UniquePen pen(CreatePen(PS_SOLID, 1, colour));
    const SelectedObject selectedPen(dc, pen.Get());
    MoveToEx(dc, x1, y, nullptr);
    LineTo(dc, x2, y);
}

void FillShape(HDC dc, Color colour, auto&& draw)
{
    UniqueBrush brush(CreateSolidBrush(colour));
    UniquePen pen(CreatePen(PS_SOLID, 1, colour));
    const SelectedObject selectedBrush(dc, brush.Get());
    const SelectedObject selectedPen(dc, pen.Get());
    draw();
}

void DrawRadioDot(HDC dc, const MenuMetrics& m, int centre, Color colour)
{
    FillShape(dc, colour, [&] {
        Ellipse(dc, m.markCenterX - m.radioRadius, centre - m.radioRadius, m.markCenterX + m.radioRadius + 1,
                centre + m.radioRadius + 1);
    });
}

void DrawTick(HDC dc, const MenuMetrics& m, int centre, Color colour)
{
    auto s = [&m](int length) { return ScaleLength(length, m.dpi); };
    UniquePen pen(CreatePen(PS_SOLID, m.markPenWidth, colour));
    const SelectedObject selectedPen(dc, pen.Get());
    const POINT points[] = {
        {m.markCenterX - s(4), centre},
        {m.markCenterX - s(1), centre + s(3)},
        {m.markCenterX + s(5), centre - s(4)},
    };
    Polyline(dc, points, 3);
}

void DrawSubmenuArrow(HDC dc, const MenuMetrics& m, int width, int centre, Color colour)
{
    auto s = [&m](int length) { return ScaleLength(length, m.dpi); };
    const POINT points[] = {
        {width - s(24), centre - s(4)},
        {width - s(19), centre},
        {width - s(24), centre + s(4)},
    };
    FillShape(dc, colour, [&] { Polygon(dc, points, 3); });
}

}  // namespace

void PaintMenuLevel(HDC dc, const MenuLevel& level, const MenuStyle& style)
{
    const Palette& palette = CurrentPalette();
    const Color accent = AccentColor();
    const MenuMetrics& m = style.metrics;
    const MenuLevelLayout& layout = level.Layout();
    const RECT client{0, 0, layout.width, layout.height};

    UniqueBrush background(CreateSolidBrush(palette.windowBackground));
    FillRect(dc, &client, background.Get());
    FrameRoundRect(dc, client, m.cornerDiameter, palette.border);

    SetBkMode(dc, TRANSPARENT);

    const auto items = level.Items();
    for (size_t i = 0; i < items.size(); ++i) {
        const DarkMenuItem& item = items[i];
        const int top = layout.tops[i];
        const int height = layout.heights[i];
        const int centre = top + height / 2;
        if (item.separator) {
            DrawLine(dc, m.separatorInset, centre, layout.width - m.separatorInset, palette.secondaryFill);
            continue;
        }
        if (static_cast<int>(i) == level.Hot() && item.enabled) {
            FillRoundRect(dc, {m.highlightInset, top, layout.width - m.highlightInset, top + height},
                          m.highlightCorner, palette.buttonFill);
        }
        const Color text = item.enabled ? palette.text : palette.menuSecondaryText;
        const Color mark = item.enabled ? accent : palette.menuSecondaryText;
        if (item.radio) {
            DrawRadioDot(dc, m, centre, mark);
        } else if (item.checked) {
            DrawTick(dc, m, centre, mark);
        }
        SetTextColor(dc, text);
        const RECT textRect{m.textLeft, top, layout.width - m.textRightMargin, top + height};
        style.fonts->DrawLine(dc, item.label, textRect, false);
        if (!item.children.empty()) {
            DrawSubmenuArrow(dc, m, layout.width, centre, text);
        }
    }
}

}  // namespace cadrels
