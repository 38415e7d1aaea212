#include "cadrel/InPlaceRename.h"

#include "base/WindowClass.h"
#include "model/Theme.h"

#include <algorithm>
#include <utility>

namespace cadrels {
namespace {

constexpr wchar_t RenameHostClass[] = L"Cadrels.RenameHost";

COLORREF ToColorRef(Color color)
{
    return static_cast<COLORREF>(color);
}

LRESULT CALLBACK RenameHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, WindowBackgroundBrush());
        return 1;
    }
    case WM_CTLCOLOREDIT: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, ToColorRef(CurrentPalette().text));
        SetBkColor(dc, ToColorRef(CurrentPalette().windowBackground));
        return reinterpret_cast<LRESULT>(WindowBackgroundBrush());
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK InPlaceRename::EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* rename = reinterpret_cast<InPlaceRename*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
    if (rename == nullptr || rename->editPrevious_ == nullptr) {
        return DefWindowProcW(edit, message, wParam, lParam);
    }
    HWND owner = rename->owner_;
    switch (message) {
    case WM_KILLFOCUS:
        PostMessageW(owner, WM_CADREL_RENAME_COMMIT, 0, 0);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            PostMessageW(owner, WM_CADREL_RENAME_COMMIT, 0, 0);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            PostMessageW(owner, WM_CADREL_RENAME_CANCEL, 0, 0);
            return 0;
        }
        break;
    case WM_CHAR:
        // No beep for the keys that end the edit.
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            return 0;
        }
        break;
    default:
        break;
    }
    return CallWindowProcW(rename->editPrevious_, edit, message, wParam, lParam);
}

bool InPlaceRename::Open(HWND owner, const RECT& rect, const std::wstring& text, int selStart, int selEnd,
                         unsigned dpi, RenameSubject subject)
{
    if (IsOpen() || owner == nullptr || !IsWindow(owner) || rect.right <= rect.left || rect.bottom <= rect.top) {
        return false;
    }
    const HINSTANCE instance = RegisterWindowClass({RenameHostClass, 0, IDC_IBEAM}, RenameHostProc,
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)));
    if (instance == nullptr) {
        return false;
    }
    host_.Reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, RenameHostClass, L"", WS_POPUP, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, nullptr));
    if (!host_) {
        return false;
    }
    DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
    if (subject.IsTab()) {
        style |= ES_CENTER;
    }
    HWND edit = CreateWindowExW(0, L"EDIT", text.c_str(), style, 0, 0, rect.right - rect.left,
                                rect.bottom - rect.top, host_.Get(), nullptr, instance, nullptr);
    if (edit == nullptr) {
        host_.Reset();
        return false;
    }
    owner_ = owner;
    subject_ = std::move(subject);
    edit_ = edit;
    SendMessageW(edit_, EM_LIMITTEXT, MaxLength, 0);
    font_.Reset(CreateFontW(-static_cast<int>(14 * dpi / 96), 0, 0, 0, 600, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Segoe UI"));
    if (font_) {
        SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    }
    SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    editPrevious_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InPlaceRename::EditProc)));

    ShowWindow(host_.Get(), SW_SHOW);
    // The box takes the keyboard by joining the foreground thread's input
    // for the few calls that move the focus.
    const DWORD self = GetCurrentThreadId();
    HWND foreground = GetForegroundWindow();
    const DWORD other = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const bool attached = other != 0 && other != self && AttachThreadInput(self, other, TRUE) != FALSE;
    SetForegroundWindow(host_.Get());
    BringWindowToTop(host_.Get());
    SetFocus(edit_);
    if (attached) {
        AttachThreadInput(self, other, FALSE);
    }
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(selStart), static_cast<LPARAM>(selEnd));
    return true;
}

RenameSubject InPlaceRename::Close()
{
    // The edit box goes back to its own procedure first: destroying the
    // host takes the focus away, and that must not post a commit.
    if (edit_ != nullptr && editPrevious_ != nullptr) {
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editPrevious_));
        SetWindowLongPtrW(edit_, GWLP_USERDATA, 0);
    }
    editPrevious_ = nullptr;
    edit_ = nullptr;
    host_.Reset();
    font_.Reset();
    owner_ = nullptr;
    return std::exchange(subject_, RenameSubject{});
}

std::wstring InPlaceRename::Text() const
{
    if (edit_ == nullptr) {
        return {};
    }
    wchar_t buffer[MaxLength + 1] = {};
    const int length = GetWindowTextW(edit_, buffer, MaxLength + 1);
    return std::wstring(buffer, static_cast<size_t>(std::max(length, 0)));
}

}  // namespace cadrels
