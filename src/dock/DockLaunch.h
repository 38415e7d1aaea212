// Opening what a dock slot names: a file, folder, shortcut, URL or shell
// location such as "shell:RecycleBinFolder".
#pragma once

#include <windows.h>

#include <string>

namespace cadrels {

// Opens `target` with its default verb, asking for elevation once when the
// program requires it. A failure other than that is logged and ignored.
bool LaunchDockTarget(HWND owner, const std::wstring& target);

// Whether two item strings name the same item: ordinal, ignoring case, as
// the file system compares paths.
bool SameDockItem(std::wstring_view a, std::wstring_view b);

}  // namespace cadrels
