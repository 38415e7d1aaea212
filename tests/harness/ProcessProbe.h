// What a test can see of a running process from outside: its windows and
// its memory.
#pragma once

#include <windows.h>

#include <vector>

namespace cadrels::testing {

// Top-level windows of the process with that class (compared as Windows
// does, ignoring case), in z-order; only visible ones when asked.
std::vector<HWND> TopLevelWindowsOf(DWORD processId, const wchar_t* className, bool visibleOnly);

// Committed private memory, summed over the address space: Wine leaves the
// counters of GetProcessMemoryInfo at their start values.
SIZE_T PrivateBytes(DWORD processId);

// Ends the programs a process started (an editor or folder window opened
// from an item), found by their parent's process id.
void EndChildrenOf(DWORD parent);

}  // namespace cadrels::testing
