#include "cadrel/CadrelPainter.h"

#include "cadrel/CadrelLayout.h"
#include "gfx/D2DColor.h"
#include "model/Theme.h"

#include <gtest/gtest.h>

#include <wrl/client.h>

#include <string>
#include <vector>

namespace cadrels {
namespace {

using Microsoft::WRL::ComPtr;

constexpr Color Tint = RGB(10, 120, 200);
constexpr Color OtherTint = RGB(200, 30, 40);
constexpr Color Accent = RGB(250, 200, 0);

void ExpectColour(ID2D1SolidColorBrush* brush, const D2D1_COLOR_F& expected)
{
    ASSERT_NE(brush, nullptr);
    const D2D1_COLOR_F actual = brush->GetColor();
    EXPECT_FLOAT_EQ(actual.r, expected.r);
    EXPECT_FLOAT_EQ(actual.g, expected.g);
    EXPECT_FLOAT_EQ(actual.b, expected.b);
    EXPECT_FLOAT_EQ(actual.a, expected.a);
}

std::vector<CadrelItem> Named(std::initializer_list<const wchar_t*> names)
{
    std::vector<CadrelItem> items;
    for (const wchar_t* name : names) {
        CadrelItem item;
        item.name = name;
        items.push_back(item);
    }
    return items;
}

// A painter on a real device, built at 144 dpi in the dark theme.
class Painter : public ::testing::Test {
protected:
    void SetUp() override
    {
        ApplyTheme(1);
        device.Create();
        ASSERT_EQ(painter.Create(*device.D2DContext(), 144, {Tint, Accent, 0.5}), S_OK);
    }
    void TearDown() override { ApplyTheme(1); }

    GraphicsDevice device;
    CadrelPainter painter{device};
};

TEST_F(Painter, FormatsFollowTheDpiAndReleaseLeavesNothing)
{
    EXPECT_FLOAT_EQ(painter.Scale(), 1.5f);
    ASSERT_NE(painter.TitleFormat(), nullptr);
    ASSERT_NE(painter.TabFormat(), nullptr);
    ASSERT_NE(painter.GridLabelFormat(), nullptr);
    ASSERT_NE(painter.ListLabelFormat(), nullptr);
    EXPECT_FLOAT_EQ(painter.TitleFormat()->GetFontSize(), 21.0f);
    EXPECT_FLOAT_EQ(painter.TabFormat()->GetFontSize(), 19.5f);
    EXPECT_FLOAT_EQ(painter.GridLabelFormat()->GetFontSize(), 16.5f);
    EXPECT_EQ(painter.GridLabelFormat()->GetWordWrapping(), DWRITE_WORD_WRAPPING_WRAP);
    EXPECT_EQ(painter.ListLabelFormat()->GetWordWrapping(), DWRITE_WORD_WRAPPING_NO_WRAP);
    EXPECT_EQ(painter.ListLabelFormat()->GetTextAlignment(), DWRITE_TEXT_ALIGNMENT_LEADING);
    EXPECT_EQ(painter.TitleFormat()->GetTextAlignment(), DWRITE_TEXT_ALIGNMENT_CENTER);

    ASSERT_EQ(painter.Create(*device.D2DContext(), 96, {}), S_OK);
    EXPECT_FLOAT_EQ(painter.Scale(), 1.0f);
    EXPECT_FLOAT_EQ(painter.TitleFormat()->GetFontSize(), 14.0f);

    painter.Release();
    EXPECT_FALSE(painter.Created());
    for (ID2D1SolidColorBrush* brush : {painter.Background(), painter.Accent(), painter.Text(), painter.Overlay(),
                                        painter.Separator(), painter.Secondary(), painter.Placeholder()}) {
        EXPECT_EQ(brush, nullptr);
    }
    EXPECT_EQ(painter.TitleFormat(), nullptr);
    EXPECT_EQ(painter.ListLabelFormat(), nullptr);
    EXPECT_EQ(painter.LabelLayout(Named({L"a"}), 0, ViewIconGrid, 80, 30), nullptr);
    // Recolouring a released painter is what a theme change does to a
    // cadrel between two devices: it must leave it released.
    painter.RecolourAccent({});
    painter.RecolourBackground({});
    EXPECT_FALSE(painter.Created());
}

TEST_F(Painter, OwnColoursWinOverTheThemeAndRecolourKeepsTheBrushes)
{
    ExpectColour(painter.Background(), ToColorF(Tint, 0.5f));
    ExpectColour(painter.Accent(), ToColorF(Accent, 0.95f));
    ExpectColour(painter.Text(), ToColorF(DarkPalette().cadrelForeground, 0.95f));
    ID2D1SolidColorBrush* const background = painter.Background();
    ID2D1SolidColorBrush* const text = painter.Text();

    painter.RecolourBackground({OtherTint, Accent, 0.8});
    ExpectColour(painter.Background(), ToColorF(OtherTint, 0.8f));
    painter.RecolourBackground({0, Accent, 0.3});
    ExpectColour(painter.Background(), ToColorF(CadrelBackgroundColor(), 0.3f));
    {
        SCOPED_TRACE("the background alone changes");
        ExpectColour(painter.Accent(), ToColorF(Accent, 0.95f));
    }

    ApplyTheme(2);
    painter.RecolourAccent({0, 0, 0.3});
    ExpectColour(painter.Accent(), ToColorF(AccentColor(), 0.95f));
    ExpectColour(painter.Text(), ToColorF(LightPalette().cadrelForeground, 0.95f));
    ExpectColour(painter.Secondary(), ToColorF(LightPalette().cadrelForeground, 0.92f));
    ExpectColour(painter.Overlay(), ToColorF(LightPalette().contrastForeground, 0.14f));
    ExpectColour(painter.Separator(), ToColorF(LightPalette().contrastForeground, 0.12f));
    ExpectColour(painter.Placeholder(), ToColorF(LightPalette().contrastForeground, 0.08f));
    EXPECT_EQ(painter.Background(), background) << "recolouring reuses the brushes";
    EXPECT_EQ(painter.Text(), text);
}

TEST_F(Painter, LabelsAreLaidOutOncePerCellViewAndListing)
{
    const std::vector<CadrelItem> items = Named({L"Rapport annuel.docx", L"photo.jpg"});
    const ComPtr<IDWriteTextLayout> first = painter.LabelLayout(items, 0, ViewIconGrid, 80, 30);
    ASSERT_NE(first, nullptr);
    EXPECT_FLOAT_EQ(first->GetMaxWidth(), 80.0f);
    EXPECT_EQ(first->GetWordWrapping(), DWRITE_WORD_WRAPPING_WRAP);
    EXPECT_EQ(painter.LabelLayout(items, 0, ViewIconGrid, 80, 30), first.Get()) << "a hover lays nothing out";
    const ComPtr<IDWriteTextLayout> second = painter.LabelLayout(items, 1, ViewIconGrid, 80, 30);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second.Get(), first.Get());
    EXPECT_EQ(painter.LabelLayout(items, 0, ViewIconGrid, 80, 30), first.Get()) << "each item keeps its own";

    // The held pointers keep the old layouts alive, so a new one cannot
    // take their address.
    const ComPtr<IDWriteTextLayout> wider = painter.LabelLayout(items, 0, ViewIconGrid, 96, 30);
    ASSERT_NE(wider, nullptr);
    EXPECT_NE(wider.Get(), first.Get());
    EXPECT_FLOAT_EQ(wider->GetMaxWidth(), 96.0f);
    const ComPtr<IDWriteTextLayout> taller = painter.LabelLayout(items, 0, ViewIconGrid, 96, 40);
    EXPECT_NE(taller.Get(), wider.Get());
    EXPECT_FLOAT_EQ(taller->GetMaxHeight(), 40.0f);

    const ComPtr<IDWriteTextLayout> listed = painter.LabelLayout(items, 0, ViewCompactList, 96, 40);
    ASSERT_NE(listed, nullptr);
    EXPECT_NE(listed.Get(), taller.Get());
    EXPECT_EQ(listed->GetWordWrapping(), DWRITE_WORD_WRAPPING_NO_WRAP) << "the list view's format";

    const std::vector<CadrelItem> more = Named({L"Rapport annuel.docx", L"photo.jpg", L"notes.txt"});
    const ComPtr<IDWriteTextLayout> grown = painter.LabelLayout(more, 0, ViewCompactList, 96, 40);
    EXPECT_NE(grown.Get(), listed.Get()) << "another listing of another length";
    EXPECT_EQ(painter.LabelLayout(more, 3, ViewCompactList, 96, 40), nullptr);

    // Renamed in place: same count, same cell, but the names changed.
    const std::vector<CadrelItem> renamed = Named({L"Bilan.docx", L"photo.jpg", L"notes.txt"});
    painter.ItemsChanged(L"3 éléments");
    const ComPtr<IDWriteTextLayout> relaid = painter.LabelLayout(renamed, 0, ViewCompactList, 96, 40);
    ASSERT_NE(relaid, nullptr);
    EXPECT_NE(relaid.Get(), grown.Get());
    EXPECT_EQ(painter.FooterText(), L"3 éléments");

    ASSERT_EQ(painter.Create(*device.D2DContext(), 144, {Tint, Accent, 0.5}), S_OK);
    EXPECT_NE(painter.LabelLayout(renamed, 0, ViewCompactList, 96, 40), relaid.Get())
        << "new formats, new layouts";
    EXPECT_EQ(painter.FooterText(), L"3 éléments") << "the footer survives a rebuild";
}

TEST_F(Painter, MeasuringATitle)
{
    const float shortTitle = painter.MeasureTitle(L"Bureau", painter.TitleFormat(), 400, 30);
    const float longTitle = painter.MeasureTitle(L"Bureau et documents", painter.TitleFormat(), 400, 30);
    EXPECT_GT(shortTitle, 0.0f);
    EXPECT_GT(longTitle, shortTitle);
    EXPECT_LE(longTitle, 400.0f);
    EXPECT_LT(painter.MeasureTitle(L"Bureau", painter.TabFormat(), 400, 30), shortTitle) << "the tab font is smaller";
    EXPECT_EQ(painter.MeasureTitle(L"Bureau", nullptr, 400, 30), 0.0f);
}

}  // namespace
}  // namespace cadrels
