// The display text of a shortcut, with the key named by the keyboard layout.
#pragma once

#include <string>

namespace cadrels {

// "Ctrl+Alt+Z", "Maj+Win+Pg. suiv"...; empty for key 0.
std::wstring HotkeyText(int modifiers, int virtualKey);

}  // namespace cadrels
