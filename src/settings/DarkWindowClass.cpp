#include "settings/DarkWindowClass.h"

#include <map>
#include <string>

namespace cadrels {

HINSTANCE ModuleOf(HWND owner)
{
    if (owner != nullptr) {
        if (auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE))) {
            return instance;
        }
    }
    return GetModuleHandleW(nullptr);
}

HINSTANCE RegisterDarkWindowClass(const wchar_t* className, WNDPROC procedure, HINSTANCE instance)
{
    // Main thread only, like every window of the program.
    static std::map<std::wstring, HINSTANCE> registered;
    if (const auto found = registered.find(className); found != registered.end()) {
        return found->second;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DROPSHADOW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    if (RegisterClassExW(&windowClass) == 0) {
        return nullptr;
    }
    registered.emplace(className, instance);
    return instance;
}

}  // namespace cadrels
