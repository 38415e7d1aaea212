// Another application for the prompt tests: shows a window, takes the
// foreground as a user's click would, and exits after the given milliseconds.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    const DWORD lifetime = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 1500;
    const HWND window = CreateWindowExW(0, L"STATIC", L"Autre application", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400,
                                        300, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return 1;
    }
    SetForegroundWindow(window);
    SetActiveWindow(window);
    const ULONGLONG end = GetTickCount64() + lifetime;
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    DestroyWindow(window);
    return 0;
}
