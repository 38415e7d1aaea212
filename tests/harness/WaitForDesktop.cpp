// Returns once the virtual desktop's taskbar exists, so the first program a
// test starts joins a desktop that is fully up (exit code 1 after 30 s).
#include <windows.h>

int wmain()
{
    for (int attempt = 0; attempt < 300; ++attempt) {
        if (FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr) {
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
