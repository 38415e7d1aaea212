// Key combinations typed with SendInput, as a user presses them: the
// modifiers, the key, and letting go in the reverse order. Global shortcuts
// reach the program this way whatever window has the focus.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace cadrels::testing {

bool SendCombination(std::initializer_list<WORD> modifiers, WORD key);
bool SendCtrlAlt(WORD key);

}  // namespace cadrels::testing
