#include "base/WindowClass.h"

#include <shellscalingapi.h>

#include <map>
#include <string>

namespace cadrels {

HINSTANCE RegisterWindowClass(const WindowClassDesc& desc, WNDPROC procedure, HINSTANCE instance)
{
    static std::map<std::wstring, HINSTANCE> registered;
    if (const auto found = registered.find(desc.name); found != registered.end()) {
        return found->second;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = desc.style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = desc.icon;
    windowClass.hCursor = desc.cursor != nullptr ? LoadCursorW(nullptr, desc.cursor) : nullptr;
    windowClass.hbrBackground = desc.background;
    windowClass.lpszClassName = desc.name;
    if (RegisterClassExW(&windowClass) == 0) {
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof existing;
        if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS || !GetClassInfoExW(instance, desc.name, &existing)) {
            return nullptr;
        }
    }
    registered.emplace(desc.name, instance);
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
