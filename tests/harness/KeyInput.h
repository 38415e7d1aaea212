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
// Types each UTF-16 unit as its own key (KEYEVENTF_UNICODE): the focused
// window gets it as WM_CHAR whatever the keyboard layout.
bool SendText(std::wstring_view text);

}  // namespace cadrels::testing
