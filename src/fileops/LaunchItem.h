// Opening a file, a folder or a program the way a double click in the
// shell does. Cadrels, the dock and hosting all open things through it.
#pragma once

#include "fileops/LaunchDirectory.h"

#include <windows.h>

#include <string>

namespace cadrels {

// The default verb in the item's own folder; a program that needs
// elevation is asked for once more with "runas" when the user asked for the
// start (MayRetryElevated). The shell is called on a short-lived thread of
// its own; returns whether the start was handed to it. Failures are logged
// there, never shown.
bool LaunchItem(HWND owner, const std::wstring& path, LaunchCause cause);

}  // namespace cadrels
