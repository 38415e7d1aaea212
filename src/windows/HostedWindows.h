// What hosting needs to know about, and do to, other applications' windows.
// A foreign window belongs to a thread that may not answer: everything here
// that changes one is asynchronous (SWP_ASYNCWINDOWPOS, ShowWindowAsync) and
// nothing sends it a message and waits, so a hung application cannot freeze
// the program's only user-interface thread.
#pragma once

#include "fileops/LaunchDirectory.h"
#include "windows/HostingRules.h"

#include <windows.h>

#include <string>
#include <vector>

namespace cadrels {

// An ordinary top-level window of another application: visible, its own
// root, of another process, no child or tool window, with a caption, not
// cloaked, not a shell window, with a title.
bool IsLayoutCandidate(HWND window);
// Its own root, of another process, no WS_CHILD, a caption bit, not cloaked,
// with a title: what a packaged application's window must be to be adopted.
bool IsAdoptableRoot(HWND window);

// The title as the system stores it (at most 255 characters). Never sends
// WM_GETTEXT to another process's window.
std::wstring WindowTitle(HWND window);
std::wstring WindowClassName(HWND window);
bool IsCloaked(HWND window);
bool BelongsToThisProcess(HWND window);

std::wstring ProcessImagePath(HWND window);
std::wstring AppUserModelIdOfWindow(HWND window);
std::wstring PackagedAppIdFromPath(const std::wstring& path);
// The version resource's FileDescription, else the file name without its
// extension.
std::wstring AppDisplayName(const std::wstring& exePath);

// Whether this program runs elevated, and whether the window's process does
// (true too when it cannot be asked: such a window cannot be hosted).
bool ThisProcessElevated();
bool WindowProcessElevatedOrHidden(HWND window);

// The best window of the executable for a tab that held `title`; none when
// no window qualifies.
HWND FindHostableWindow(const std::wstring& exe, const std::wstring& title, const std::vector<HWND>& excluded);
// The first adoptable root window whose application id is `aumid`.
HWND FindWindowOfApp(const std::wstring& aumid, const std::vector<HWND>& excluded);

// Starts an executable, through its updater when it is installed the way
// self-updating applications install ("app-<version>" beside Update.exe).
bool LaunchExecutable(HWND owner, const std::wstring& path, LaunchCause cause);
// Starts a packaged application by its id.
bool LaunchPackagedApp(const std::wstring& appId);

// The monitors as FitOntoMonitor takes them.
std::vector<ScreenArea> CurrentScreens();

// Changes to foreign windows that never wait for their thread.
namespace foreign {

// A window whose thread has not taken a message for a while; it gets no
// call that could wait for it.
bool IsHung(HWND window);
void SetPos(HWND window, HWND insertAfter, const RECT& rect, UINT flags);
void SetZOrder(HWND window, HWND insertAfter);
void Show(HWND window, int command);
// Drops a window region and lets the frame recalculate; only for a window
// that has a region and answers.
void RemoveRegion(HWND window);
// Makes it the foreground window; the input attachment that permits it is
// only made with a thread that answers.
void BringForward(HWND window);

}  // namespace foreign

}  // namespace cadrels
