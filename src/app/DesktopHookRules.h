// The decisions the desktop's low-level hooks make on every event, as plain
// functions: they run on the hooks' own thread for every press and every key
// anywhere on the screen, so they only compare numbers and flags.
#pragma once

#include <cstdint>
#include <string_view>

namespace cadrels {

// The last left-button press the mouse hook saw.
struct DoubleClickState {
    std::uint32_t lastTime = 0;  // the event's message time in ms; 0 is "none"
    int lastX = 0;
    int lastY = 0;
};

// The system's double-click rule: the time and the rectangle around the
// first press within which a second one counts.
struct DoubleClickLimits {
    std::uint32_t timeMs = 500;
    int width = 4;   // SM_CXDOUBLECLK
    int height = 4;  // SM_CYDOUBLECLK
};

// Takes a press at `time`, (x, y): true when it completes a double-click.
// Message times are 32-bit and wrap about every 49.7 days, so the gap is the
// unsigned difference. A double-click clears the state, so the third of three
// quick clicks starts a new pair instead of completing a second one.
bool TakePress(DoubleClickState& state, std::uint32_t time, int x, int y, const DoubleClickLimits& limits);

// What the root window under a double-click is, for hiding the cadrels.
enum class DesktopHit {
    None,         // another program's window, the taskbar, one of ours
    ShellView,    // the shell's desktop ("Progman"/"WorkerW"): ask its icon view
    BareDesktop,  // a desktop with no shell view (the desktop window itself)
};

// `className` is the root window's class; `isDesktopWindow` whether it is
// GetDesktopWindow(), `isShellWindow` whether it is GetShellWindow().
DesktopHit ClassifyDoubleClickRoot(std::wstring_view className, bool isDesktopWindow, bool isShellWindow);

// What the keyboard hook knows when Space goes down.
struct SpaceFacts {
    bool quickLookOpen = false;
    bool overCadrel = false;        // a cadrel of ours is under the pointer
    bool cadrelHasSelection = false;
    // The focus is in a text field of ours: the rename box, a query.
    bool typingInOurWindow = false;
};

// True when Space opens quick look and is kept from the focused program.
bool SpaceOpensQuickLook(const SpaceFacts& facts);

}  // namespace cadrels
