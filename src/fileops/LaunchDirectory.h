// The working directory a file is opened in: its own folder, or the drive's
// root for a file at the root; and when a start may ask for elevation.
// Plain values only, tested on any host.
#pragma once

#include <string>
#include <string_view>

namespace cadrels {

// The path up to its last separator; "C:\" for "C:\file"; empty without a
// separator, and for shortcuts, which carry their own.
std::wstring LaunchDirectory(std::wstring_view path);

// Whether the user asked for a start (a double click, Enter, a menu entry, the
// dock, the relaunch button) or the program starts something by itself.
enum class LaunchCause { UserAction, Automatic };

// The shell's "elevation required" error.
inline constexpr unsigned long ElevationRequiredError = 740;

// A program that needs elevation is asked for it once more ("runas") only
// when the user asked for the start: an elevation prompt nobody asked for
// trains users to accept them, and whatever started it may come from a
// restored file.
constexpr bool MayRetryElevated(unsigned long error, LaunchCause cause)
{
    return error == ElevationRequiredError && cause == LaunchCause::UserAction;
}

}  // namespace cadrels
