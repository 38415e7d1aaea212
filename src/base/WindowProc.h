// The one window-procedure shape of the program: the object pointer arrives as
// the creation parameter, is kept in GWLP_USERDATA, and every message goes to
// the object's member WndProc. Windows get it through base/WindowClass.h.
#pragma once

#include "base/Activity.h"

#include <windows.h>

namespace cadrels {

// Logs "Exception interceptee dans <class>::WndProc (msg=0x%04X)", the class
// being the window class without its "Cadrels." prefix.
void LogWndProcException(HWND window, UINT message);

template <typename T>
LRESULT CALLBACK ForwardingWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    NoteWindowMessage(message);
    T* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<T*>(create->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    // An exception unwinding through user32's frames is undefined behaviour
    // (and on x64 often a silent process exit): it ends here, the message
    // gets the default handling, and the object stays as the handler left it.
    try {
        result = self->WndProc(window, message, wParam, lParam);
    } catch (...) {
        LogWndProcException(window, message);
        result = DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return result;
}

}  // namespace cadrels
