// The one window-procedure shape of the program: the object pointer arrives as
// the creation parameter, is kept in GWLP_USERDATA, and every message goes to
// the object's member WndProc. Registering the class is the caller's business.
#pragma once

#include <windows.h>

namespace cadrels {

template <typename T>
LRESULT CALLBACK ForwardingWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
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
    const LRESULT result = self->WndProc(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return result;
}

}  // namespace cadrels
