// The look shared by the dark menus and prompts: lengths at a DPI, colour
// arithmetic, the prompt button colours and the one font they all use.
#pragma once

#include "base/UniqueHandle.h"
#include "model/Theme.h"

#include <windows.h>

namespace cadrels {

// A length given at 96 DPI, at `dpi`; a DPI of 0 counts as 96.
int ScaleLength(int length, int dpi);

// Adds delta to red, green and blue, each clamped to 0..255.
Color ColorAdjust(Color colour, int delta);

struct ButtonColors {
    Color fill;
    Color frame;
    Color text;
};

// The primary (first) button is filled with the accent and captioned in
// white; the others use the button fill and show focus by an accent frame.
ButtonColors PromptButtonColors(bool primary, bool pressed, bool focused, const Palette& palette, Color accent);

// "Segoe UI" 15 px at `dpi`; null when the font cannot be created, in which
// case callers keep the system font.
UniqueFont CreateDarkUiFont(int dpi, const wchar_t* face = nullptr);

}  // namespace cadrels
