#include "settings/PromptLayout.h"

#include "settings/DarkStyle.h"

namespace cadrels {
namespace {

constexpr int ChoiceMargin = 16;
constexpr int ChoiceWidth = 380;
constexpr int ChoiceButtonHeight = 36;
constexpr int ChoiceButtonGap = 8;
// Room above the buttons beyond the margin, which keeps the message clear of
// the first button.
constexpr int ChoiceTextGap = 14;

constexpr int TextMargin = 12;
constexpr int TextLabelHeight = 20;
constexpr int TextEditHeight = 26;
constexpr int TextGap = 6;
constexpr int TextWidth = 320;

}  // namespace

int ChoicePromptTextWidth(int dpi)
{
    return ScaleLength(ChoiceWidth, dpi) - 2 * ScaleLength(ChoiceMargin, dpi);
}

ChoicePromptLayout LayoutChoicePrompt(int textHeight, int buttonCount, int dpi)
{
    const int margin = ScaleLength(ChoiceMargin, dpi);
    const int buttonHeight = ScaleLength(ChoiceButtonHeight, dpi);
    const int gap = ScaleLength(ChoiceButtonGap, dpi);
    const int textGap = ScaleLength(ChoiceTextGap, dpi);

    ChoicePromptLayout layout;
    layout.width = ScaleLength(ChoiceWidth, dpi);
    layout.height = textGap + 2 * margin + textHeight + buttonCount * buttonHeight +
                    (buttonCount > 0 ? (buttonCount - 1) * gap : 0);
    layout.text = {margin, margin, layout.width - margin, margin + textHeight};
    int top = textGap + textHeight + margin;
    for (int i = 0; i < buttonCount; ++i) {
        layout.buttons.push_back({margin, top, layout.width - margin, top + buttonHeight});
        top += buttonHeight + gap;
    }
    return layout;
}

TextPromptLayout LayoutTextPrompt(int dpi)
{
    const int margin = ScaleLength(TextMargin, dpi);
    const int labelHeight = ScaleLength(TextLabelHeight, dpi);
    const int editHeight = ScaleLength(TextEditHeight, dpi);
    const int gap = ScaleLength(TextGap, dpi);

    TextPromptLayout layout;
    layout.width = ScaleLength(TextWidth, dpi);
    layout.height = 2 * margin + labelHeight + gap + editHeight;
    layout.label = {margin, margin, layout.width - margin, margin + labelHeight};
    const int editTop = margin + labelHeight + gap;
    layout.edit = {margin, editTop, layout.width - margin, editTop + editHeight};
    return layout;
}

}  // namespace cadrels
