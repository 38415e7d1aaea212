#include "dock/DockLaunch.h"

#include "base/DebugLog.h"
#include "fileops/LaunchItem.h"

namespace cadrels {

bool LaunchDockTarget(HWND owner, const std::wstring& target)
{
    // The one way the program opens things, as a double click in a cadrel does.
    const bool started = LaunchItem(owner, target, LaunchCause::UserAction);
    DebugLog(started ? L"Dock : ouverture de %ls." : L"Dock : ouverture de %ls impossible.", target.c_str());
    return started;
}

bool SameDockItem(std::wstring_view a, std::wstring_view b)
{
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

}  // namespace cadrels
