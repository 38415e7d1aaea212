// Real pointer input on the test desktop for end-to-end tests of cadrel
// windows, and the few window queries that go with it.
#pragma once

#include <windows.h>

#include "cadrel/CadrelGeometry.h"

#include <functional>
#include <ostream>
#include <string>

namespace cadrels {

// Found by argument lookup, so failures print rectangles readably.
inline std::ostream& operator<<(std::ostream& out, const PixelRect& r)
{
    return out << '{' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << '}';
}

}  // namespace cadrels

namespace cadrels::testing {

// Polls every 50 ms until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// Puts the pointer on the exact pixel and sends the move a hand makes.
void PointerTo(POINT screen);
// A button event without a move: a click must not look like hovering.
void Button(DWORD flags);
// Puts the pointer there and waits until the system reports it there.
void SettlePointer(POINT at);
void Click(POINT at);
void DoubleClick(POINT at);
// One wheel notch is 120; positive turns away from the user.
void Wheel(POINT at, int delta);
POINT CursorNow();

// Under Wine, a modifier key sent with SendInput is never seen down by
// another process whose windows do not have the focus (a cadrel never has
// it): neither in the mouse message's flags nor through GetKeyState or
// GetAsyncKeyState. Modified clicks are therefore posted as the messages
// Windows makes of them, with the modifier's flag, at a client point.
void PostButton(HWND window, UINT message, POINT screen, WPARAM keys);
void ModifiedClick(HWND window, POINT screen, WPARAM modifier);

// Where the pointer really was at the press and at the release: absolute
// input lands on the nearest pixel the normalised coordinates give, which
// can be one off the one asked for.
struct DragPoints {
    POINT press;
    POINT release;
};
DragPoints Drag(POINT from, POINT to);

PixelRect RectOf(HWND window);
std::wstring TitleOf(HWND window);

}  // namespace cadrels::testing
