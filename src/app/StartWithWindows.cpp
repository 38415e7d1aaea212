#include "app/StartWithWindows.h"

#include "app/ShellEntries.h"
#include "app/ShellVerbs.h"
#include "base/DebugLog.h"
#include "base/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace cadrels {

bool IsStartWithWindows()
{
    return RegGetValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName, RRF_RT_REG_SZ, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

void SetStartWithWindows(bool enabled)
{
    UniqueKey run;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_SET_VALUE, run.Put()) != ERROR_SUCCESS) {
        run.Reset();
        return;
    }
    if (!enabled) {
        RegDeleteValueW(run.Get(), RunValueName);
        return;
    }
    const std::wstring programPath = ProgramPath();
    if (programPath.empty()) {
        return;
    }
    const std::wstring data = RunValueData(programPath);
    RegSetValueExW(run.Get(), RunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void ApplyForcedStartup(std::optional<bool> forced)
{
    switch (ForcedStartupChange(forced, IsStartWithWindows())) {
    case StartupChange::Write:
        SetStartWithWindows(true);
        DebugLog(L"Politique forceStartup : demarrage avec Windows active.");
        break;
    case StartupChange::Delete:
        SetStartWithWindows(false);
        DebugLog(L"Politique forceStartup : demarrage avec Windows desactive.");
        break;
    case StartupChange::None:
        break;
    }
}

}  // namespace cadrels
