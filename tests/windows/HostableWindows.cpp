// The test window the hosting tests host, started and found by the tests.
#include "HostableWindows.h"

#include "DesktopInput.h"

namespace cadrels::testing {
namespace {

constexpr wchar_t HostableClass[] = L"Cadrels.TestHostable";

std::wstring TestFolder()
{
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

}  // namespace

std::wstring HostableExe()
{
    return TestFolder() + L"\\hostable_test_app.exe";
}

std::vector<HWND> HostableWindows()
{
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (lstrcmpW(name, HostableClass) == 0) {
                reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND HostableTitled(const std::wstring& title)
{
    for (HWND window : HostableWindows()) {
        if (TitleOf(window) == title) {
            return window;
        }
    }
    return nullptr;
}

// Ends every test window, whoever started it.
void EndHostables()
{
    for (HWND window : HostableWindows()) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId)) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

HWND StartHostable(const std::wstring& exe, const std::wstring& title, int x, int y, bool popup)
{
    std::wstring commandLine = L"\"" + exe + L"\" --title \"" + title + L"\" --at " + std::to_wstring(x) + L" " +
                               std::to_wstring(y) + (popup ? L" --popup" : L"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    HWND window = nullptr;
    WaitFor([&] { return (window = HostableTitled(title)) != nullptr && IsWindowVisible(window); }, 10000);
    return window;
}

}  // namespace cadrels::testing
