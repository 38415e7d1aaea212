// Window classes and the base every window of the program derives from.
//
// A window type names its class once and gets registration, the forwarding
// procedure (ForwardingWndProc: object pointer in GWLP_USERDATA, one
// exception guard) and creation with itself as the creation parameter:
//
//     class SearchWindow : public WindowBase<SearchWindow> {
//     public:
//         static WindowClassDesc WindowClass() { return {L"Cadrels.Search", CS_DBLCLKS}; }
//         bool Open(HINSTANCE instance)
//         {
//             return CreateOwnWindow(instance, WS_EX_TOOLWINDOW, L"", WS_POPUP, 0, 0, 400, 300) != nullptr;
//         }
//         LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
//     };
//
// WndProc must be reachable from ForwardingWndProc: public, or the base's
// friend. The base holds no state; the window handle stays the derived
// type's, which learns it at WM_NCCREATE or from CreateOwnWindow.
#pragma once

#include "base/PixelGeometry.h"
#include "base/WindowProc.h"

#include <windows.h>

namespace cadrels {

struct WindowClassDesc {
    const wchar_t* name = nullptr;
    UINT style = 0;
    // A system cursor (IDC_*) or null for none: the window then sets its own.
    const wchar_t* cursor = IDC_ARROW;
    HICON icon = nullptr;
    // Null when the window paints its whole client area itself.
    HBRUSH background = nullptr;
};

// Registers the class on first use and returns the module to create its
// windows with: the one it was registered with, which later calls keep even
// when they pass another, so registering again is harmless. A class someone
// registered outside this function is taken as it stands. Null when it
// cannot be registered. Main thread only, like every window of the program;
// classes are never unregistered.
HINSTANCE RegisterWindowClass(const WindowClassDesc& desc, WNDPROC procedure, HINSTANCE instance);

// The window's DPI: GetDpiForWindow, else its monitor's effective DPI, else 96.
UINT WindowDpi(HWND window);
// WindowDpi as a factor of 96 DPI, for sizes designed at 96 DPI.
float WindowScale(HWND window);

template <typename T>
class WindowBase {
public:
    static HINSTANCE RegisterOwnClass(HINSTANCE instance)
    {
        return RegisterWindowClass(T::WindowClass(), ForwardingWndProc<T>, instance);
    }

protected:
    WindowBase() = default;
    ~WindowBase() = default;

    // Registers the class if needed and creates a window of it whose messages
    // reach this object from WM_NCCREATE on. Null on failure (GetLastError
    // tells why).
    HWND CreateOwnWindow(HINSTANCE instance, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y,
                         int width, int height, HWND parent = nullptr)
    {
        const HINSTANCE module = RegisterOwnClass(instance);
        if (module == nullptr) {
            return nullptr;
        }
        return CreateWindowExW(exStyle, T::WindowClass().name, title, style, x, y, width, height, parent, nullptr,
                               module, static_cast<T*>(this));
    }
};

}  // namespace cadrels
