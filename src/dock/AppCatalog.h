// Reading the installed applications: the shell's applications folder, or
// where it yields nothing (a damaged profile, a system without it) the
// shortcuts of the Start menu's Programs folders of the user and of all
// users. It waits on the shell and the disk: the launcher calls it on a
// worker thread with a COM apartment of its own.
#pragma once

#include "dock/AppCatalogRules.h"

#include <windows.h>

#include <string>

namespace cadrels {

// The catalogue in the launcher's order, without the skipped entries; empty
// when neither source can be read.
AppCatalog LoadAppCatalog();

// Starts an entry of the catalogue through the program's one launch path
// (a thread of its own). Nothing happens for an empty id.
bool LaunchApp(HWND owner, const AppEntry& entry);

}  // namespace cadrels
