#include "settings/DarkWindowClass.h"

#include "base/WindowClass.h"

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
    return RegisterWindowClass({className, CS_DROPSHADOW}, procedure, instance);
}

}  // namespace cadrels
