#include "base/WindowClass.h"

#include <shellscalingapi.h>

#include <map>
#include <string>

namespace cadrels {

HINSTANCE RegisterWindowClass(const WindowClassSpec& spec, WNDPROC procedure, HINSTANCE instance)
{
    static std::map<std::wstring, HINSTANCE> registered;
    if (const auto found = registered.find(spec.name); found != registered.end()) {
        return found->second;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = spec.style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = spec.icon;
    windowClass.hCursor = spec.cursor != nullptr ? LoadCursorW(nullptr, spec.cursor) : nullptr;
    windowClass.hbrBackground = spec.background;
    windowClass.lpszClassName = spec.name;
    if (RegisterClassExW(&windowClass) == 0) {
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof existing;
        if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS || !GetClassInfoExW(instance, spec.name, &existing)) {
            return nullptr;
        }
    }
    registered.emplace(spec.name, instance);
    return instance;
}

UINT WindowDpi(HWND window)
{
    if (const UINT dpi = GetDpiForWindow(window); dpi != 0) {
        return dpi;
    }
    UINT dpiX = 0;
    UINT dpiY = 0;
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor != nullptr && SUCCEEDED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY)) && dpiX != 0) {
        return dpiX;
    }
    return 96;
}

float WindowScale(HWND window)
{
    return DpiScale(WindowDpi(window));
}

}  // namespace cadrels
