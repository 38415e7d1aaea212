#include "PointerInput.h"

#include "Patience.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace cadrels::testing {
namespace {

// A hand moving a mouse at an unhurried pace: about 400 pixels a second.
constexpr int StepPixels = 6;
constexpr DWORD StepGapMs = 15;
// How far from its goal the hand appears before it covers the rest in steps.
constexpr int ArrivalPixels = 30;
// A step not seen within this is reported; a loaded machine stays far below.
constexpr DWORD StepDeadlineMs = 3000;

void SendStep(POINT point)
{
    // SetCursorPos puts the pointer on the exact pixel (absolute input is
    // scaled to 0..65535 and may land one off) and, under Wine, also moves
    // the X server's own pointer: otherwise every window that moves or
    // resizes under the old X position makes Wine report that old place as a
    // fresh pointer move. The input that follows is the move itself, as the
    // mouse reports it, so the program sees a WM_MOUSEMOVE there.
    SetCursorPos(point.x, point.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

// Sends the step and waits until it holds: the pointer is there and the
// program shows it took the step. Under Wine a window that moved under the
// pointer can report the pointer at an earlier place a moment later; a hand
// keeps pushing towards where it wants to be, so the step is sent again.
bool TakeStep(POINT point, const StepSeen& seen)
{
    SendStep(point);
    const DWORD start = GetTickCount();
    DWORD lastSent = start;
    while (GetTickCount() - start < StepDeadlineMs) {
        Sleep(5);
        if (!CursorAt(point)) {
            if (GetTickCount() - lastSent >= 50) {
                SendStep(point);
                lastSent = GetTickCount();
            }
            continue;
        }
        if (!seen || seen(point)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    const DWORD deadline = Patient(timeoutMs);
    while (GetTickCount() - start < deadline) {
        if (condition()) {
            return true;
        }
        Sleep(20);
    }
    return condition();
}

POINT CursorNow()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    return cursor;
}

bool CursorAt(POINT point)
{
    const POINT cursor = CursorNow();
    return cursor.x == point.x && cursor.y == point.y;
}

bool MovePointer(POINT to, const StepSeen& seen)
{
    const POINT from = CursorNow();
    const int distance = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
    const int steps = std::max(1, (distance + StepPixels - 1) / StepPixels);
    bool followed = true;
    for (int i = 1; i <= steps; ++i) {
        const POINT step{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        followed = TakeStep(step, seen) && followed;
        Sleep(StepGapMs);
    }
    return followed;
}

void PointerTo(POINT to)
{
    const POINT from = CursorNow();
    const double dx = from.x - to.x;
    const double dy = from.y - to.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length > ArrivalPixels) {
        const POINT approach{to.x + static_cast<LONG>(std::lround(dx / length * ArrivalPixels)),
                         to.y + static_cast<LONG>(std::lround(dy / length * ArrivalPixels))};
        TakeStep(approach, {});
        Sleep(StepGapMs);
    }
    MovePointer(to);
    // A hand at rest: the pointer stays where it came to.
    WaitFor([&] { return CursorAt(to); }, 1000);
}

void Button(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    // A finger does not press and let go within the same millisecond.
    Sleep(40);
}

void Click(POINT at)
{
    PointerTo(at);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
}

void RightClick(POINT at)
{
    PointerTo(at);
    Button(MOUSEEVENTF_RIGHTDOWN);
    Button(MOUSEEVENTF_RIGHTUP);
}

void DoubleClick(POINT at)
{
    PointerTo(at);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
}

void Wheel(POINT at, int delta)
{
    PointerTo(at);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(delta);
    SendInput(1, &input, sizeof input);
    Sleep(40);
}

DragPoints Drag(POINT from, POINT to, const StepSeen& seen)
{
    DragPoints points{};
    PointerTo(from);
    points.press = CursorNow();
    Button(MOUSEEVENTF_LEFTDOWN);
    points.followed = MovePointer(to, seen);
    // The hand comes to rest on the end point before it lets go.
    TakeStep(to, {});
    points.release = CursorNow();
    Button(MOUSEEVENTF_LEFTUP);
    return points;
}

void PostButton(HWND window, UINT message, POINT screen, WPARAM keys)
{
    POINT client = screen;
    ScreenToClient(window, &client);
    PostMessageW(window, message, keys, MAKELPARAM(client.x, client.y));
    Sleep(40);
}

void ModifiedClick(HWND window, POINT screen, WPARAM modifier)
{
    PointerTo(screen);
    PostButton(window, WM_LBUTTONDOWN, screen, MK_LBUTTON | modifier);
    PostButton(window, WM_LBUTTONUP, screen, modifier);
    // The system never saw this click, so it would pair the next real press
    // with the real click before it into a double click; a person's own
    // click in between would have prevented that. Waiting out the
    // double-click time does the same.
    Sleep(GetDoubleClickTime() + 100);
}

bool AnswerMessageBox(HWND box, int buttonId)
{
    HWND button = GetDlgItem(box, buttonId);
    RECT rect{};
    if (button == nullptr || !GetWindowRect(button, &rect)) {
        return false;
    }
    Click({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    return WaitFor([&] { return !IsWindow(box); });
}

}  // namespace cadrels::testing
