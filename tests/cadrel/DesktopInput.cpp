#include "DesktopInput.h"

#include "cadrel/CadrelPlacement.h"

namespace cadrels::testing {

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (condition()) {
            return true;
        }
        Sleep(50);
    }
    return condition();
}

void PointerTo(POINT screen)
{
    // SetCursorPos puts the pointer on the exact pixel (absolute input is
    // scaled to 0..65535 and may land one off) and, under Wine, also moves
    // the X server's own pointer: otherwise every window that moves or
    // resizes under the old X position makes Wine report that old place as a
    // fresh pointer move. The input that follows is the move a hand makes.
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

void Button(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

POINT CursorNow()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    return cursor;
}

DragPoints Drag(POINT from, POINT to)
{
    DragPoints points{};
    PointerTo(from);
    WaitFor([&] { return CursorNow().x == from.x && CursorNow().y == from.y; }, 1000);
    Sleep(150);  // late pointer reports of windows that just changed have arrived
    PointerTo(from);
    points.press = CursorNow();
    Button(MOUSEEVENTF_LEFTDOWN);
    constexpr int Steps = 12;
    for (int i = 1; i <= Steps; ++i) {
        PointerTo({from.x + (to.x - from.x) * i / Steps, from.y + (to.y - from.y) * i / Steps});
    }
    // Under Wine the X server reports the pointer where it was before a
    // window moved under it, a little late, and the window follows that
    // report. The last stretch is sent again, one pixel short and then to the
    // end, until the pointer stays at the end, so the release happens there.
    for (int attempt = 0; attempt < 5; ++attempt) {
        Sleep(100);
        PointerTo({to.x - 1, to.y});
        PointerTo(to);
        Sleep(150);
        const POINT cursor = CursorNow();
        if (cursor.x == to.x && cursor.y == to.y) {
            break;
        }
    }
    points.release = CursorNow();
    Button(MOUSEEVENTF_LEFTUP);
    return points;
}

void DoubleClick(POINT at)
{
    SettlePointer(at);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
}

PixelRect RectOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return ToPixelRect(rect);
}

std::wstring TitleOf(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

void SettlePointer(POINT at)
{
    // Under Wine a button pressed right after the pointer was put somewhere
    // else can still be reported where the pointer was before.
    PointerTo(at);
    WaitFor([&] { return CursorNow().x == at.x && CursorNow().y == at.y; }, 1000);
    Sleep(150);
    PointerTo(at);
}

void Click(POINT at)
{
    SettlePointer(at);
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
    Sleep(30);
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
    SettlePointer(screen);
    PostButton(window, WM_LBUTTONDOWN, screen, MK_LBUTTON | modifier);
    PostButton(window, WM_LBUTTONUP, screen, modifier);
}

}  // namespace cadrels::testing
