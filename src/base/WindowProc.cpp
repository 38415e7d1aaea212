#include "base/WindowProc.h"

#include "base/DebugLog.h"

#include <cwchar>

namespace cadrels {

void LogWndProcException(HWND window, UINT message)
{
    wchar_t className[128] = L"?";
    if (GetClassNameW(window, className, static_cast<int>(std::size(className))) == 0) {
        std::wcscpy(className, L"?");
    }
    const wchar_t* name = className;
    constexpr wchar_t Prefix[] = L"Cadrels.";
    if (std::wcsncmp(name, Prefix, std::size(Prefix) - 1) == 0) {
        name += std::size(Prefix) - 1;
    }
    DebugLog(L"Exception interceptee dans %s::WndProc (msg=0x%04X)", name, message);
}

}  // namespace cadrels
