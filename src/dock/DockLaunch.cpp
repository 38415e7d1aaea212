#include "dock/DockLaunch.h"

#include "base/DebugLog.h"

#include <shellapi.h>

namespace {
// Some SDK headers lack it; the value is fixed by Windows.
constexpr DWORD ElevationRequired = 740;
}  // namespace

namespace cadrels {
namespace {

bool Execute(HWND owner, const std::wstring& target, const wchar_t* verb)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No error box of the shell's own: the dock's failures are silent.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpVerb = verb;
    info.lpFile = target.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

}  // namespace

bool LaunchDockTarget(HWND owner, const std::wstring& target)
{
    if (Execute(owner, target, nullptr)) {
        DebugLog(L"Dock : ouverture de %ls.", target.c_str());
        return true;
    }
    DWORD error = GetLastError();
    if (error == ElevationRequired && Execute(owner, target, L"runas")) {
        DebugLog(L"Dock : ouverture de %ls en administrateur.", target.c_str());
        return true;
    }
    error = GetLastError();
    DebugLog(L"Dock : ouverture de %ls impossible (erreur %lu).", target.c_str(), error);
    return false;
}

bool SameDockItem(std::wstring_view a, std::wstring_view b)
{
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

}  // namespace cadrels
