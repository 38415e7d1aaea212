#include "windows/HostedWindows.h"

#include "base/DebugLog.h"
#include "base/UniqueHandle.h"
#include "fileops/LaunchItem.h"
#include "model/PathText.h"

#include <dwmapi.h>
#include <propsys.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <algorithm>
#include <array>

namespace cadrels {
namespace {

constexpr size_t MaxTitle = 256;

// PKEY_AppUserModel_ID, spelled out so no import library has to supply it.
constexpr PROPERTYKEY AppUserModelIdKey = {{0x9F4C2855, 0x9F79, 0x4B39, {0xA8, 0xD0, 0xE1, 0xD4, 0x2D, 0xE1, 0xD5, 0xF3}},
                                           5};

constexpr std::array<std::wstring_view, 5> ShellClasses = {
    L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd", L"Windows.UI.Core.CoreWindow",
};

bool HasCaptionBit(LONG_PTR style)
{
    return (style & WS_BORDER) != 0 || (style & WS_DLGFRAME) != 0;
}

bool Contains(const std::vector<HWND>& windows, HWND window)
{
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

// Functions some systems lack (Wine has none of the package ones): looked
// up when needed, so the program still loads there.
template <typename Function>
Function KernelFunction(const char* name)
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel == nullptr ? nullptr : reinterpret_cast<Function>(GetProcAddress(kernel, name));
}

std::wstring StoreAppId(HWND window)
{
    Microsoft::WRL::ComPtr<IPropertyStore> store;
    if (FAILED(SHGetPropertyStoreForWindow(window, IID_PPV_ARGS(store.GetAddressOf())))) {
        return {};
    }
    PROPVARIANT value;
    PropVariantInit(&value);
    std::wstring id;
    if (SUCCEEDED(store->GetValue(AppUserModelIdKey, &value)) && value.vt == VT_LPWSTR && value.pwszVal != nullptr) {
        id = value.pwszVal;
    }
    PropVariantClear(&value);
    return id;
}

std::wstring ProcessAppId(HWND window)
{
    using GetIdFunction = LONG(WINAPI*)(HANDLE, UINT32*, PWSTR);
    const auto getId = KernelFunction<GetIdFunction>("GetApplicationUserModelId");
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (getId == nullptr || processId == 0) {
        return {};
    }
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return {};
    }
    UINT32 length = 0;
    if (getId(process.Get(), &length, nullptr) != ERROR_INSUFFICIENT_BUFFER || length == 0) {
        return {};
    }
    std::wstring id(length, L'\0');
    if (getId(process.Get(), &length, id.data()) != ERROR_SUCCESS) {
        return {};
    }
    id.resize(wcsnlen(id.c_str(), id.size()));
    return id;
}

bool TokenElevated(HANDLE process)
{
    HANDLE raw = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) {
        return false;
    }
    UniqueHandle token(raw);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

std::wstring Trimmed(std::wstring text)
{
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

std::wstring FileDescription(const std::wstring& path)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0) {
        return {};
    }
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) {
        return {};
    }
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                        &length) ||
        length < sizeof(Translation)) {
        return {};
    }
    wchar_t query[64];
    swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FileDescription", translations[0].language,
             translations[0].codePage);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&text), &length) || text == nullptr) {
        return {};
    }
    return Trimmed(std::wstring(text, wcsnlen(text, length)));
}

}  // namespace

std::wstring WindowTitle(HWND window)
{
    wchar_t title[MaxTitle] = {};
    // For another process's window GetWindowTextW reads the stored text
    // without sending WM_GETTEXT; GetWindowTextLengthW would send.
    const int length = GetWindowTextW(window, title, static_cast<int>(MaxTitle));
    return std::wstring(title, static_cast<size_t>(std::max(0, length)));
}

std::wstring WindowClassName(HWND window)
{
    wchar_t name[64] = {};
    const int length = GetClassNameW(window, name, 64);
    return std::wstring(name, static_cast<size_t>(std::max(0, length)));
}

bool IsCloaked(HWND window)
{
    DWORD cloaked = 0;
    return SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
}

bool BelongsToThisProcess(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId == GetCurrentProcessId();
}

bool IsLayoutCandidate(HWND window)
{
    if (window == nullptr || !IsWindow(window) || !IsWindowVisible(window) || GetAncestor(window, GA_ROOT) != window) {
        return false;
    }
    if (BelongsToThisProcess(window)) {
        return false;
    }
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if ((style & WS_CHILD) != 0 || (exStyle & WS_EX_TOOLWINDOW) != 0 || !HasCaptionBit(style)) {
        return false;
    }
    if (IsCloaked(window)) {
        return false;
    }
    const std::wstring className = WindowClassName(window);
    if (std::find(ShellClasses.begin(), ShellClasses.end(), className) != ShellClasses.end()) {
        return false;
    }
    return !WindowTitle(window).empty();
}

bool IsAdoptableRoot(HWND window)
{
    if (window == nullptr || !IsWindow(window) || GetAncestor(window, GA_ROOT) != window ||
        BelongsToThisProcess(window)) {
        return false;
    }
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    return (style & WS_CHILD) == 0 && HasCaptionBit(style) && !IsCloaked(window) && !WindowTitle(window).empty();
}

std::wstring ProcessImagePath(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0) {
        return {};
    }
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return {};
    }
    wchar_t path[MAX_PATH * 4] = {};
    DWORD length = MAX_PATH * 4;
    if (!QueryFullProcessImageNameW(process.Get(), 0, path, &length)) {
        return {};
    }
    return std::wstring(path, length);
}

std::wstring AppUserModelIdOfWindow(HWND window)
{
    std::wstring id = StoreAppId(window);
    if (id.empty()) {
        if (HWND core = FindWindowExW(window, nullptr, L"Windows.UI.Core.CoreWindow", nullptr)) {
            id = StoreAppId(core);
        }
    }
    if (id.empty()) {
        id = ProcessAppId(window);
    }
    return id;
}

std::wstring PackagedAppIdFromPath(const std::wstring& path)
{
    std::wstring lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLower);
    constexpr std::wstring_view marker = L"\\windowsapps\\";
    const size_t found = lower.find(marker);
    if (found == std::wstring::npos) {
        return {};
    }
    const size_t start = found + marker.size();
    const size_t end = path.find_first_of(L"\\/", start);
    const std::wstring fullName = path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    using OpenFunction = LONG(WINAPI*)(PCWSTR, UINT32, void**);
    using IdsFunction = LONG(WINAPI*)(void*, UINT32*, BYTE*, UINT32*);
    using CloseFunction = LONG(WINAPI*)(void*);
    const auto open = KernelFunction<OpenFunction>("OpenPackageInfoByFullName");
    const auto ids = KernelFunction<IdsFunction>("GetPackageApplicationIds");
    const auto close = KernelFunction<CloseFunction>("ClosePackageInfo");
    void* info = nullptr;
    if (fullName.empty() || open == nullptr || ids == nullptr || close == nullptr ||
        open(fullName.c_str(), 0, &info) != ERROR_SUCCESS) {
        return {};
    }
    std::wstring id;
    UINT32 size = 0;
    UINT32 count = 0;
    if (ids(info, &size, nullptr, &count) == ERROR_INSUFFICIENT_BUFFER && size > 0) {
        std::vector<BYTE> buffer(size);
        if (ids(info, &size, buffer.data(), &count) == ERROR_SUCCESS && count > 0) {
            const auto* first = reinterpret_cast<const PCWSTR*>(buffer.data());
            if (first[0] != nullptr) {
                id = first[0];
            }
        }
    }
    close(info);
    return id;
}

std::wstring AppDisplayName(const std::wstring& exePath)
{
    if (exePath.empty()) {
        return {};
    }
    std::wstring name = FileDescription(exePath);
    if (!name.empty()) {
        return name;
    }
    const size_t slash = exePath.find_last_of(L"\\/");
    name = slash == std::wstring::npos ? exePath : exePath.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

bool ThisProcessElevated()
{
    return TokenElevated(GetCurrentProcess());
}

bool WindowProcessElevatedOrHidden(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    UniqueHandle process(processId == 0 ? nullptr
                                        : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return !process || TokenElevated(process.Get());
}

HWND FindHostableWindow(const std::wstring& exe, const std::wstring& title, const std::vector<HWND>& excluded)
{
    const std::wstring fileName = ExecutableFileName(exe);
    if (fileName.empty()) {
        return nullptr;
    }
    struct Search {
        const std::wstring* fileName;
        const std::vector<HWND>* excluded;
        std::vector<HostableCandidate> candidates;
    } search{&fileName, &excluded, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            if (Contains(*s.excluded, window) || ExecutableFileName(ProcessImagePath(window)) != *s.fileName) {
                return TRUE;
            }
            HostableCandidate candidate;
            candidate.window = reinterpret_cast<std::uintptr_t>(window);
            candidate.title = WindowTitle(window);
            candidate.strong = IsLayoutCandidate(window);
            if (!candidate.strong) {
                const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
                candidate.weak = (exStyle & WS_EX_TOOLWINDOW) == 0 && IsAdoptableRoot(window);
            }
            if (candidate.strong || candidate.weak) {
                s.candidates.push_back(std::move(candidate));
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    const std::optional<std::uintptr_t> chosen =
        ChooseHostableWindow(search.candidates, title, IsBrowserExecutable(exe));
    return chosen ? reinterpret_cast<HWND>(*chosen) : nullptr;
}

HWND FindWindowOfApp(const std::wstring& aumid, const std::vector<HWND>& excluded)
{
    struct Search {
        const std::wstring* aumid;
        const std::vector<HWND>* excluded;
        HWND found = nullptr;
    } search{&aumid, &excluded};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            if (Contains(*s.excluded, window) || !IsAdoptableRoot(window) ||
                !EqualsIgnoringAsciiCase(AppUserModelIdOfWindow(window), *s.aumid)) {
                return TRUE;
            }
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool LaunchExecutable(HWND owner, const std::wstring& path, LaunchCause cause)
{
    const size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 0) {
        const std::wstring folder = path.substr(0, slash);
        const size_t parentSlash = folder.find_last_of(L"\\/");
        if (parentSlash != std::wstring::npos &&
            StartsWithIgnoringAsciiCase(std::wstring_view(folder).substr(parentSlash + 1), L"app-")) {
            const std::wstring parent = folder.substr(0, parentSlash);
            const std::wstring updater = parent + L"\\Update.exe";
            if (GetFileAttributesW(updater.c_str()) != INVALID_FILE_ATTRIBUTES) {
                const std::wstring arguments = L"--processStart \"" + path.substr(slash + 1) + L"\"";
                const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
                    owner, L"open", updater.c_str(), arguments.c_str(), parent.c_str(), SW_SHOWNORMAL));
                if (result > 32) {
                    return true;
                }
            }
        }
    }
    return LaunchItem(owner, path, cause);
}

bool LaunchPackagedApp(const std::wstring& appId)
{
    if (!IsSafeAppId(appId)) {
        return false;
    }
    const std::wstring target = L"shell:AppsFolder\\" + appId;
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

std::vector<ScreenArea> CurrentScreens()
{
    std::vector<ScreenArea> screens;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM context) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (GetMonitorInfoW(monitor, &info)) {
                const RECT& b = info.rcMonitor;
                const RECT& w = info.rcWork;
                reinterpret_cast<std::vector<ScreenArea>*>(context)->push_back(
                    {{b.left, b.top, b.right, b.bottom}, {w.left, w.top, w.right, w.bottom}});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&screens));
    return screens;
}

namespace foreign {

bool IsHung(HWND window)
{
    return IsHungAppWindow(window) != FALSE;
}

void SetPos(HWND window, HWND insertAfter, const RECT& rect, UINT flags)
{
    SetWindowPos(window, insertAfter, rect.left, rect.top, std::max(1L, rect.right - rect.left),
                 std::max(1L, rect.bottom - rect.top), flags | SWP_ASYNCWINDOWPOS);
}

void SetZOrder(HWND window, HWND insertAfter)
{
    SetWindowPos(window, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

void Show(HWND window, int command)
{
    ShowWindowAsync(window, command);
}

void RemoveRegion(HWND window)
{
    // SetWindowRgn repositions the window synchronously: only for a window
    // that really has a region and whose thread answers.
    const UniqueRegion probe(CreateRectRgn(0, 0, 0, 0));
    if (!probe || GetWindowRgn(window, probe.Get()) == ERROR || IsHung(window)) {
        return;
    }
    SetWindowRgn(window, nullptr, TRUE);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_ASYNCWINDOWPOS);
}

void BringForward(HWND window)
{
    SetZOrder(window, HWND_TOP);
    HWND foreground = GetForegroundWindow();
    const DWORD self = GetCurrentThreadId();
    const DWORD other = foreground == nullptr ? 0 : GetWindowThreadProcessId(foreground, nullptr);
    // Attaching to a thread that does not answer can stall this one.
    const bool attach = other != 0 && other != self && !IsHung(foreground) && !IsHung(window);
    if (attach) {
        AttachThreadInput(self, other, TRUE);
    }
    SetForegroundWindow(window);
    if (attach) {
        AttachThreadInput(self, other, FALSE);
    }
}

}  // namespace foreign

}  // namespace cadrels
