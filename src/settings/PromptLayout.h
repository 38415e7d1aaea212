// The geometry of the choice and text prompts, as plain functions.
#pragma once

#include <windows.h>

#include <vector>

namespace cadrels {

struct ChoicePromptLayout {
    int width = 0;
    int height = 0;
    RECT text{};                // the message, in client coordinates
    std::vector<RECT> buttons;  // top to bottom
};

// The width the message is wrapped to at `dpi`.
int ChoicePromptTextWidth(int dpi);

// A message `textHeight` pixels high above a column of `buttonCount` buttons.
ChoicePromptLayout LayoutChoicePrompt(int textHeight, int buttonCount, int dpi);

struct TextPromptLayout {
    int width = 0;
    int height = 0;
    RECT label{};
    RECT edit{};
};

TextPromptLayout LayoutTextPrompt(int dpi);

}  // namespace cadrels
