// The test window the hosting tests host: a plain top-level window of a
// program of the tests' own, started with a title and a place, found again
// by its class, and ended whoever started it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace cadrels::testing {

// hostable_test_app.exe, built beside the test programs.
std::wstring HostableExe();
std::vector<HWND> HostableWindows();
HWND HostableTitled(const std::wstring& title);
void EndHostables();
// Starts the program and waits until its window shows; `popup` also opens
// an owned popup window titled "<title> popup".
HWND StartHostable(const std::wstring& exe, const std::wstring& title, int x, int y, bool popup = false);

}  // namespace cadrels::testing
