// A plain top-level window for the hosting tests: a title, a solid colour,
// and nothing else. Started by the tests, never a real application.
//
//   hostable_test_app.exe [--title text] [--at x y] [--popup]
//
// With --popup it also shows a small captionless popup of its own thread,
// titled "<title> popup", as menus and tooltips of real applications are.
//
// A posted WM_APP + 1 makes it stop taking messages for wParam milliseconds:
// a hung application, as the tests need one. Each start appends a line to
// "<exe>.started", so a test can tell whether the program was started.
#include <windows.h>

#include <string>

namespace {

constexpr wchar_t ClassName[] = L"Cadrels.TestHostable";
constexpr UINT StopPumping = WM_APP + 1;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case StopPumping:
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(RGB(0, 160, 60));
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void NoteStart()
{
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    const std::wstring marker = std::wstring(path) + L".started";
    HANDLE file = CreateFileW(marker.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, "started\r\n", 9, &written, nullptr);
        CloseHandle(file);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    NoteStart();
    std::wstring title = L"Cadrels hostable";
    int x = 200;
    int y = 150;
    bool popup = false;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        const std::wstring argument = arguments[i];
        if (argument == L"--title" && i + 1 < count) {
            title = arguments[++i];
        } else if (argument == L"--at" && i + 2 < count) {
            x = _wtoi(arguments[i + 1]);
            y = _wtoi(arguments[i + 2]);
            i += 2;
        } else if (argument == L"--popup") {
            popup = true;
        }
    }
    LocalFree(arguments);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = ClassName;
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(0, ClassName, title.c_str(), WS_OVERLAPPEDWINDOW, x, y, 400, 300, nullptr, nullptr,
                                  instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    if (popup) {
        const std::wstring popupTitle = title + L" popup";
        CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, ClassName, popupTitle.c_str(), WS_POPUP | WS_VISIBLE,
                        x + 420, y, 120, 60, window, nullptr, instance, nullptr);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
