// Yes/no facts a window of ours publishes for the desktop hooks' thread, as
// window properties: the thread reads them with GetPropW, which sends no
// message and reads nothing that a destroyed window could leave dangling
// (a destroyed window simply has no properties).
#pragma once

#include <windows.h>

namespace cadrels {

// A cadrel with at least one selected item: Space over it opens quick look.
inline constexpr wchar_t HasSelectionFlag[] = L"Cadrels.HasSelection";
// A window of ours whose own text field takes typing (a query, a form):
// Space typed there is a space, never quick look.
inline constexpr wchar_t TakesTextFlag[] = L"Cadrels.TakesText";

// Sets or removes the flag; a window removes what it set before it is gone.
inline void PublishFlag(HWND window, const wchar_t* flag, bool on)
{
    if (on) {
        SetPropW(window, flag, reinterpret_cast<HANDLE>(1));
    } else {
        RemovePropW(window, flag);
    }
}

inline bool ReadFlag(HWND window, const wchar_t* flag)
{
    return GetPropW(window, flag) != nullptr;
}

}  // namespace cadrels
