#include "app/DesktopHooks.h"

#include "app/DesktopHookRules.h"
#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "base/PublishedFlags.h"
#include "base/UniqueHandle.h"
#include "cadrel/Cadrel.h"
#include "cadrel/QuickLook.h"

#include <atomic>
#include <cwchar>
#include <memory>

namespace cadrels {
namespace {

// Low-level hook procedures take no context pointer, so what they read is
// process-wide; there is one desktop and one set of hooks per process.
std::atomic<HWND> hookTarget{nullptr};
DWORD ownProcess = 0;
// Touched only by the hook thread.
DoubleClickState clicks;
bool spaceTaken = false;

bool IsOurs(HWND window)
{
    DWORD process = 0;
    return window != nullptr && GetWindowThreadProcessId(window, &process) != 0 && process == ownProcess;
}

bool ClassIs(HWND window, const wchar_t* name)
{
    wchar_t className[64] = {};
    return GetClassNameW(window, className, 64) > 0 && _wcsicmp(className, name) == 0;
}

HWND CadrelAt(POINT point)
{
    HWND hit = WindowFromPoint(point);
    if (hit == nullptr) {
        return nullptr;
    }
    for (HWND window : {hit, GetAncestor(hit, GA_ROOT)}) {
        if (IsOurs(window) && ClassIs(window, Cadrel::ClassName)) {
            return window;
        }
    }
    return nullptr;
}

// The preview's window exists exactly while it is open, and then Space is
// its own (it closes the preview).
bool QuickLookOpen()
{
    for (HWND preview = FindWindowExW(nullptr, nullptr, QuickLook::ClassName, nullptr); preview != nullptr;
         preview = FindWindowExW(nullptr, preview, QuickLook::ClassName, nullptr)) {
        if (IsOurs(preview) && IsWindowVisible(preview)) {
            return true;
        }
    }
    return false;
}

// The rename box is a native edit of ours with the keyboard; a query field
// drawn by one of our windows says so on its root window.
bool TypingInOurWindow()
{
    GUITHREADINFO info{sizeof info};
    if (!GetGUIThreadInfo(0, &info)) {
        return false;
    }
    if (IsOurs(info.hwndFocus) && (ClassIs(info.hwndFocus, L"Edit") || ClassIs(info.hwndFocus, L"RichEdit20W"))) {
        return true;
    }
    HWND active = info.hwndActive != nullptr ? GetAncestor(info.hwndActive, GA_ROOT) : GetForegroundWindow();
    return IsOurs(active) && ReadFlag(active, TakesTextFlag);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    HWND target = hookTarget.load();
    if (code == HC_ACTION && wParam == WM_LBUTTONDOWN && target != nullptr) {
        const auto& event = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        const DoubleClickLimits limits{GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK),
                                       GetSystemMetrics(SM_CYDOUBLECLK)};
        if (TakePress(clicks, event.time, event.pt.x, event.pt.y, limits)) {
            PostMessageW(target, WM_APP_DESKTOP_DBLCLICK, DesktopDoubleClickAt, MAKELPARAM(event.pt.x, event.pt.y));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    HWND target = hookTarget.load();
    const auto& event = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (code != HC_ACTION || target == nullptr || event.vkCode != VK_SPACE) {
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    if (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN) {
        SpaceFacts facts;
        facts.quickLookOpen = QuickLookOpen();
        POINT cursor{};
        HWND cadrel = !facts.quickLookOpen && GetCursorPos(&cursor) ? CadrelAt(cursor) : nullptr;
        facts.overCadrel = cadrel != nullptr;
        facts.cadrelHasSelection = cadrel != nullptr && ReadFlag(cadrel, HasSelectionFlag);
        facts.typingInOurWindow = facts.overCadrel && TypingInOurWindow();
        if (SpaceOpensQuickLook(facts)) {
            // The cadrel goes along: by the time a busy main thread reads
            // the request the pointer may be elsewhere.
            PostMessageW(target, WM_APP_QUICK_LOOK, reinterpret_cast<WPARAM>(cadrel), -1);
            spaceTaken = true;
            return 1;
        }
        spaceTaken = false;
    } else if ((wParam == WM_KEYUP || wParam == WM_SYSKEYUP) && spaceTaken) {
        // The program with the focus saw no press; it gets no release either.
        spaceTaken = false;
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void DesktopHooks::Start(HWND appWindow)
{
    if (thread_.joinable()) {
        return;
    }
    ownProcess = GetCurrentProcessId();
    auto ready = std::make_shared<UniqueHandle>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!*ready) {
        DebugLog(L"Crochets du bureau : evenement impossible (%lu) ; double-clic et Espace inactifs.", GetLastError());
        return;
    }
    thread_ = std::thread([this, ready] { Run(ready->Get()); });
    // The thread only installs two hooks before it signals.
    WaitForSingleObject(ready->Get(), INFINITE);
    hookTarget.store(appWindow);
    DebugLog(L"Crochets du bureau sur leur propre fil : souris %ls, clavier %ls.",
             mouseHooked_ ? L"installe" : L"ABSENT", keyboardHooked_ ? L"installe" : L"ABSENT");
}

void DesktopHooks::Run(HANDLE ready)
{
    // The queue exists before Stop can post its WM_QUIT.
    MSG message{};
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    threadId_ = GetCurrentThreadId();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    UniqueHook mouse(SetWindowsHookExW(WH_MOUSE_LL, MouseProc, instance, 0));
    UniqueHook keyboard(SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, instance, 0));
    mouseHooked_ = static_cast<bool>(mouse);
    keyboardHooked_ = static_cast<bool>(keyboard);
    SetEvent(ready);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    mouse.Reset();
    keyboard.Reset();
}

void DesktopHooks::Stop()
{
    hookTarget.store(nullptr);
    if (!thread_.joinable()) {
        return;
    }
    // The thread waits for nothing but its messages, so the join is short.
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
}

}  // namespace cadrels
