// Real pointer input for the desktop tests, paced as a hand moves a mouse:
// the pointer travels in steps of a few pixels, a few milliseconds apart, and
// every step is waited for until the program under test has seen it (the
// pointer is reported there, and the caller's own sign, such as a window's
// rectangle, holds) before the next one is sent. Nothing here sends a whole
// gesture at once: a program that only copes with the end point of a gesture
// arriving in one burst fails these tests, as it would fail a person.
#pragma once

#include <windows.h>

#include <functional>

namespace cadrels::testing {

// Polls until the condition holds or the time is up; the deadline is a
// ceiling for a loaded machine, not a figure the test relies on.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// What the program under test shows once it has taken a step at `point`
// into account: a window where it should be, a highlight, a log line.
using StepSeen = std::function<bool(POINT point)>;

POINT CursorNow();
bool CursorAt(POINT point);

// The hand arrives at `to`: it appears a short stretch away (on the side it
// would come from) and covers the last pixels in small steps, so the window
// there sees the pointer enter and move as it would under a mouse, while the
// travel across the rest of the desktop unfolds nothing by accident.
void PointerTo(POINT to);
// The pointer moves from where it is to `to` in small steps, each waited for
// (and for `seen` when given) before the next.
bool MovePointer(POINT to, const StepSeen& seen = {});

// A button event without a move, then a wait until the program's thread had
// the time to take it: a click must not look like hovering.
void Button(DWORD flags);

void Click(POINT at);
void RightClick(POINT at);
void DoubleClick(POINT at);
// One wheel notch is 120; positive turns away from the user.
void Wheel(POINT at, int delta);

// Where the pointer really was at the press and at the release.
struct DragPoints {
    POINT press;
    POINT release;
    bool followed;  // every step was seen before the next one was sent
};
// Presses at `from`, moves to `to` at a hand's pace, waiting at each step
// until `seen` holds (when given), and releases there.
DragPoints Drag(POINT from, POINT to, const StepSeen& seen = {});

// Under Wine, a modifier key sent with SendInput is never seen down by
// another process whose windows do not have the focus (a cadrel never has
// it): neither in the mouse message's flags nor through GetKeyState or
// GetAsyncKeyState. Modified clicks are therefore posted as the messages
// Windows makes of them, with the modifier's flag, at a client point.
void PostButton(HWND window, UINT message, POINT screen, WPARAM keys);
void ModifiedClick(HWND window, POINT screen, WPARAM modifier);

// Clicks a dialog's button as a user does, and waits until the dialog is
// gone; false without the button or when the dialog stays.
bool AnswerMessageBox(HWND box, int buttonId);

}  // namespace cadrels::testing
