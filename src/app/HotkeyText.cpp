#include "app/HotkeyText.h"

#include "app/HotkeyBindings.h"

#include <windows.h>

namespace cadrels {

std::wstring HotkeyText(int modifiers, int virtualKey)
{
    if (virtualKey == 0) {
        return {};
    }
    const UINT scanCode = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
    wchar_t name[64] = {};
    const int length = GetKeyNameTextW(KeyNameLParam(scanCode, virtualKey), name, 64);
    return ComposeHotkeyText(modifiers, virtualKey, std::wstring_view(name, length > 0 ? length : 0));
}

}  // namespace cadrels
