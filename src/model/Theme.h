// The process-wide theme: dark or light palette, the user's accent and cadrel
// background colours, and the three GDI brushes the prompts and settings use.
// Main thread only.
#pragma once

#include "model/Records.h"

#include <windows.h>

#include <optional>

namespace cadrels {

struct Palette {
    Color accent;
    Color cadrelBackground;
    Color cadrelForeground;
    Color windowBackground;
    Color text;
    Color contrastForeground;
    Color inputBackground;
    Color inputText;
    Color border;
    Color buttonFill;
    Color secondaryFill;
    Color menuSecondaryText;
};

const Palette& DarkPalette();
const Palette& LightPalette();

// 1 dark, 2 light; anything else follows the system, which is dark unless
// AppsUseLightTheme reads as non-zero.
bool EffectiveDarkTheme(int mode, std::optional<DWORD> appsUseLightTheme);

// HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize.
std::optional<DWORD> ReadAppsUseLightTheme();

// Evaluates the mode, stores the dark/light state and re-creates the brushes.
void ApplyTheme(int mode);
bool IsDarkTheme();
const Palette& CurrentPalette();

void SetAccent(Color color);
void SetCadrelBackground(Color color);

// The user's colour when one is chosen (not 0), else the palette's.
Color AccentColor();
Color CadrelBackgroundColor();

HBRUSH WindowBackgroundBrush();
HBRUSH InputBackgroundBrush();
HBRUSH BorderBrush();

}  // namespace cadrels
