// Key combinations typed with SendInput, as a user presses them: the
// modifiers, the key, and letting go in the reverse order. Global shortcuts
// reach the program this way whatever window has the focus.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace cadrels::testing {

bool SendCombination(std::initializer_list<WORD> modifiers, WORD key);
bool SendCtrlAlt(WORD key);
// One key pressed and let go without modifiers.
bool SendKey(WORD key);
// Text typed as characters (WM_CHAR in the focused window), one UTF-16 unit
// per key press, capitals included, whatever the keyboard layout.
bool SendText(std::wstring_view text);

}  // namespace cadrels::testing
