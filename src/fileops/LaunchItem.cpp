#include "fileops/LaunchItem.h"

#include "base/DebugLog.h"
#include "fileops/LaunchDirectory.h"
#include "model/PathText.h"

#include <shellapi.h>

namespace cadrels {

bool LaunchItem(HWND owner, const std::wstring& path, LaunchCause cause)
{
    // A dock target or an item path can come from a restored file: a device
    // path is never handed to the shell.
    if (path.empty() || IsDevicePath(path)) {
        return false;
    }
    const std::wstring directory = LaunchDirectory(path);
    // The program we start must be allowed to come to the front: a cadrel
    // never takes the foreground itself.
    AllowSetForegroundWindow(ASFW_ANY);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // Failures are silent: no message box stops the program's only thread.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpFile = path.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = SW_SHOWNORMAL;
    DebugLog(L"Ouverture de %ls.", path.c_str());
    if (ShellExecuteExW(&info)) {
        return true;
    }
    const DWORD error = GetLastError();
    if (!MayRetryElevated(error, cause)) {
        if (error == ElevationRequiredError) {
            DebugLog(L"%ls demande l'elevation : pas de demande sans clic.", path.c_str());
        }
        return false;
    }
    info.lpVerb = L"runas";
    return ShellExecuteExW(&info) != FALSE;
}

}  // namespace cadrels
