#include "settings/PromptLayout.h"

#include "model/Theme.h"
#include "settings/DarkStyle.h"
#include "settings/Placement.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(ChoicePromptLayout, FourButtonsStackUnderTheMessage)
{
    const int textHeight = 19;
    const ChoicePromptLayout layout = LayoutChoicePrompt(textHeight, 4, 96);
    EXPECT_EQ(layout.width, 380);
    EXPECT_EQ(layout.height, 14 + 32 + textHeight + 144 + 24);
    EXPECT_EQ(layout.text.top, 16);
    EXPECT_EQ(layout.text.bottom, 16 + textHeight);
    ASSERT_EQ(layout.buttons.size(), 4u);
    const int tops[] = {49, 93, 137, 181};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(layout.buttons[i].top, tops[i]) << i;
        EXPECT_EQ(layout.buttons[i].bottom - layout.buttons[i].top, 36) << i;
        EXPECT_EQ(layout.buttons[i].left, 16);
        EXPECT_EQ(layout.buttons[i].right, 364);
    }
    EXPECT_EQ(layout.buttons[3].bottom + 16, layout.height) << "the bottom margin";
}

TEST(ChoicePromptLayout, ScalesEveryLengthButTheMeasuredText)
{
    const int textHeight = 40;
    const ChoicePromptLayout one = LayoutChoicePrompt(textHeight, 1, 144);
    EXPECT_EQ(one.width, 570);
    EXPECT_EQ(one.height, 21 + 48 + textHeight + 54);
    const ChoicePromptLayout three = LayoutChoicePrompt(textHeight, 3, 144);
    EXPECT_EQ(three.height, 21 + 48 + textHeight + 3 * 54 + 2 * 12);
    EXPECT_EQ(three.buttons[2].top, 21 + textHeight + 24 + 2 * (54 + 12));
    EXPECT_EQ(ChoicePromptTextWidth(96), 348);
    EXPECT_EQ(ChoicePromptTextWidth(144), 522);
}

TEST(TextPromptLayout, LabelAboveOneEditLine)
{
    const TextPromptLayout at96 = LayoutTextPrompt(96);
    EXPECT_EQ(at96.width, 320);
    EXPECT_EQ(at96.height, 76);
    EXPECT_EQ(at96.label.top, 12);
    EXPECT_EQ(at96.label.bottom, 32);
    EXPECT_EQ(at96.edit.top, 38);
    EXPECT_EQ(at96.edit.bottom, 64);
    EXPECT_EQ(at96.edit.right, 308);
    const TextPromptLayout at144 = LayoutTextPrompt(144);
    EXPECT_EQ(at144.width, 480);
    EXPECT_EQ(at144.height, 114);
    EXPECT_EQ(at144.edit.bottom, at144.height - 18);
}

TEST(PromptPlacement, CentredOnTheAreaThenFitted)
{
    const POINT centred = CenterOn({100, 100, 500, 400}, {380, 200});
    EXPECT_EQ(centred.x, 110);
    EXPECT_EQ(centred.y, 150);
    // An owner hanging off the bottom-right of the screen.
    const POINT offScreen = CenterOn({1100, 700, 1500, 900}, {380, 233});
    const POINT fitted = FitToWorkArea(offScreen, {380, 233}, {0, 0, 1280, 760});
    EXPECT_EQ(fitted.x, 900);
    EXPECT_EQ(fitted.y, 527);
}

TEST(ColorAdjust, ClampsEachChannelOnItsOwn)
{
    struct Case {
        Color colour;
        int delta;
        Color expected;
    };
    const Case cases[] = {
        {RGB(250, 10, 128), 20, RGB(255, 30, 148)},
        {RGB(250, 10, 128), -20, RGB(230, 0, 108)},
        {RGB(96, 168, 255), 18, RGB(114, 186, 255)},
        {RGB(0, 0, 0), -5, RGB(0, 0, 0)},
        {RGB(1, 2, 3), 0, RGB(1, 2, 3)},
        {RGB(255, 255, 255), 300, RGB(255, 255, 255)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorAdjust(c.colour, c.delta), c.expected) << std::hex << c.colour << " " << std::dec << c.delta;
    }
}

TEST(PromptButtonColors, PressedWinsOverFocusAndOnlyOthersShowAnAccentFrame)
{
    const Palette& palette = DarkPalette();
    const Color accent = RGB(200, 40, 60);
    struct Case {
        const char* name;
        bool primary, pressed, focused;
        ButtonColors expected;
    };
    const Color white = RGB(255, 255, 255);
    const Case cases[] = {
        {"primary", true, false, false, {accent, accent, white}},
        {"primary focused", true, false, true, {RGB(218, 58, 78), RGB(218, 58, 78), white}},
        {"primary pressed and focused", true, true, true, {RGB(180, 20, 40), RGB(180, 20, 40), white}},
        {"other", false, false, false, {palette.buttonFill, palette.border, palette.text}},
        {"other focused", false, false, true, {ColorAdjust(palette.buttonFill, 26), accent, palette.text}},
        {"other pressed", false, true, false, {ColorAdjust(palette.buttonFill, -20), palette.border, palette.text}},
        {"other pressed and focused", false, true, true, {ColorAdjust(palette.buttonFill, -20), accent, palette.text}},
    };
    for (const Case& c : cases) {
        const ButtonColors colours = PromptButtonColors(c.primary, c.pressed, c.focused, palette, accent);
        EXPECT_EQ(colours.fill, c.expected.fill) << c.name;
        EXPECT_EQ(colours.frame, c.expected.frame) << c.name;
        EXPECT_EQ(colours.text, c.expected.text) << c.name;
    }
}

}  // namespace
}  // namespace cadrels
