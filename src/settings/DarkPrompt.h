// The dark choice prompt (a message over a column of buttons) and text
// prompt (a label and one edit line). Each runs its own message loop on the
// main thread, dispatching what it does not consume, and closes on an
// answer, Esc, WM_QUIT (which it posts again) or when another process takes
// the foreground. Lengths are given at 96 DPI and scaled to `dpi`.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace cadrels {

// The index of the chosen button (0 is the first, the primary one), or -1
// when the prompt was dismissed; -1 at once without buttons.
int ShowChoicePrompt(HWND owner, const std::wstring& text, const std::vector<std::wstring>& buttons, int dpi);

// True when confirmed with Enter; `text` is the initial content and then
// receives what was entered, possibly empty.
bool ShowTextPrompt(HWND owner, const std::wstring& label, std::wstring& text, int dpi);

// The height the choice prompt gives its message at `dpi`.
int MeasureChoicePromptText(const std::wstring& text, int dpi);

}  // namespace cadrels
