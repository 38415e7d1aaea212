#include "fileops/LaunchItem.h"

#include "base/ComApartment.h"
#include "base/DebugLog.h"
#include "fileops/LaunchDirectory.h"
#include "model/PathText.h"

#include <shellapi.h>

#include <system_error>
#include <thread>

namespace cadrels {

namespace {

void Execute(HWND owner, const std::wstring& path, LaunchCause cause)
{
    const ComApartment apartment;
    const std::wstring directory = LaunchDirectory(path);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // Failures are silent: the shell's message boxes would come from a
    // thread with no window of ours to stand on. NOASYNC because this thread
    // ends as soon as the call returns.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpFile = path.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) {
        DebugLog(L"Ouvert : %ls.", path.c_str());
        return;
    }
    const DWORD error = GetLastError();
    if (!MayRetryElevated(error, cause)) {
        if (error == ElevationRequiredError) {
            DebugLog(L"%ls demande l'elevation : pas de demande sans clic.", path.c_str());
        } else {
            DebugLog(L"Echec de l'ouverture de %ls (erreur %lu).", path.c_str(), error);
        }
        return;
    }
    info.lpVerb = L"runas";
    if (ShellExecuteExW(&info)) {
        DebugLog(L"Ouvert avec elevation : %ls.", path.c_str());
    } else {
        DebugLog(L"Echec de l'ouverture de %ls avec elevation (erreur %lu).", path.c_str(), GetLastError());
    }
}

}  // namespace

bool LaunchItem(HWND owner, const std::wstring& path, LaunchCause cause)
{
    // A dock target or an item path can come from a restored file: a device
    // path is never handed to the shell.
    if (path.empty() || IsDevicePath(path)) {
        return false;
    }
    // The program we start must be allowed to come to the front: a cadrel
    // never takes the foreground itself.
    AllowSetForegroundWindow(ASFW_ANY);
    DebugLog(L"Ouverture de %ls.", path.c_str());
    // A slow handler, a program that shows an elevation prompt or a file
    // type whose handler hangs would otherwise hold every window: the shell
    // is called on a thread of its own, which owns copies of what it needs.
    try {
        std::thread(Execute, owner, path, cause).detach();
    } catch (const std::system_error&) {
        DebugLog(L"Ouverture de %ls impossible : le fil ne demarre pas.", path.c_str());
        return false;
    }
    return true;
}

}  // namespace cadrels
