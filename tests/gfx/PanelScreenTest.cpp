#include "PanelFixture.h"

#include <cmath>
#include <string>

namespace cadrels {
namespace {

using PanelOnScreen = testing::PanelFixture;
using testing::Near;
using testing::Rgb;
using testing::ScreenShot;
using testing::ToText;

Rgb Scaled(Rgb colour, double factor)
{
    return {static_cast<int>(std::lround(colour.r * factor)), static_cast<int>(std::lround(colour.g * factor)),
            static_cast<int>(std::lround(colour.b * factor))};
}

Rgb Sum(Rgb a, Rgb b)
{
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

// Beside the test program, so a run from any folder leaves it in the build tree.
std::wstring ShotPath()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + L"gfx-panel.png";
}

// Pixels of a region far enough from `background` to be glyph strokes.
int InkPixels(const ScreenShot& shot, const RECT& region, Rgb background)
{
    int ink = 0;
    for (int y = region.top; y < region.bottom; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            if (!Near(shot.At(x, y), background, 60)) {
                ++ink;
            }
        }
    }
    return ink;
}

TEST_F(PanelOnScreen, ShowsOpaqueAndTranslucentColoursAndNothingWhereTransparent)
{
    const RECT bounds{200, 150, 560, 390};
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    const RECT around{bounds.left - 20, bounds.top - 20, bounds.right + 20, bounds.bottom + 20};

    testing::PumpMessages(200);
    const ScreenShot before = ScreenShot::Take(around);

    PanelLook look = SampleLook();
    look.band = RGB(214, 64, 48);
    look.fill = RGB(40, 110, 220);
    look.fillAlpha = 0.5f;
    look.text = RGB(255, 255, 255);
    look.title = L"Cadrels";
    look.body = L"Bureau, Documents, T\u00e9l\u00e9chargements\n\u041f\u0440\u0438\u0432\u0435\u0442, "
                L"\u03b3\u03b5\u03b9\u03b1, \u3053\u3093\u306b\u3061\u306f, \u4f60\u597d";
    auto panel = MakePanel(bounds, look);
    ASSERT_EQ(panel->Redraw(), FrameResult::Drawn);
    testing::PumpMessages(700);
    const ScreenShot after = ScreenShot::Take(around);
    EXPECT_TRUE(after.SavePng(ShotPath()));

    // Offsets of the window inside the shots.
    const auto at = [&](const ScreenShot& shot, int x, int y) { return shot.At(x + 20, y + 20); };

    const Rgb band{214, 64, 48};
    const Rgb bandSample = at(after, width - 24, 20);
    EXPECT_TRUE(Near(bandSample, band, 2)) << "opaque band " << ToText(bandSample);

    // Premultiplied fill: over black where nothing composites (Xvfb), over
    // what was behind where something does.
    const Rgb fill{40, 110, 220};
    const Rgb behind = at(before, width - 24, height - 24);
    const Rgb overBlack = Scaled(fill, 0.5);
    const Rgb overBehind = Sum(overBlack, Scaled(behind, 0.5));
    const Rgb fillSample = at(after, width - 24, height - 24);
    EXPECT_TRUE(Near(fillSample, overBlack, 3) || Near(fillSample, overBehind, 3))
        << "translucent body " << ToText(fillSample) << ", expected " << ToText(overBlack) << " or "
        << ToText(overBehind);
    EXPECT_FALSE(Near(fillSample, fill, 20)) << "the body is not drawn opaque";

    // Outside the rounded corners and outside the window the desktop shows.
    for (const POINT corner : {POINT{0, 0}, POINT{width - 1, 0}, POINT{0, height - 1}, POINT{width - 1, height - 1}}) {
        EXPECT_TRUE(Near(at(after, corner.x, corner.y), at(before, corner.x, corner.y), 2))
            << "corner " << corner.x << "," << corner.y << " " << ToText(at(after, corner.x, corner.y));
    }
    EXPECT_TRUE(Near(at(after, -10, -10), at(before, -10, -10), 0));

    // Text: white strokes on the band and on the body.
    const RECT titleArea{20 + 12, 20 + 4, 20 + 120, 20 + 32};
    EXPECT_GT(InkPixels(after, titleArea, band), 40) << "title text missing";
    const RECT bodyArea{20 + 12, 20 + 48, 20 + width - 12, 20 + 100};
    EXPECT_GT(InkPixels(after, bodyArea, fillSample), 150) << "body text missing";
}

}  // namespace
}  // namespace cadrels
