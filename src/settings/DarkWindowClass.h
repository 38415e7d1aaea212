// The window classes of the dark menus and prompts, registered once per
// process and never unregistered.
#pragma once

#include <windows.h>

namespace cadrels {

inline constexpr wchar_t DarkMenuClassName[] = L"Cadrels.DarkMenu";
inline constexpr wchar_t DarkPromptClassName[] = L"Cadrels.DarkPrompt";

// The module a caller's windows belong to: the owner's instance, else the
// process module.
HINSTANCE ModuleOf(HWND owner);

// Registers the class (drop shadow, arrow cursor, no background brush) on
// first use and returns the instance to create its windows with: the one it
// was registered with, which later calls keep even when they pass another.
// Null when it cannot be registered.
HINSTANCE RegisterDarkWindowClass(const wchar_t* className, WNDPROC procedure, HINSTANCE instance);

}  // namespace cadrels
