#include "app/App.h"

#include "base/AppMessages.h"
#include "app/CopyData.h"
#include "app/InstanceIdentity.h"
#include "base/DebugLog.h"
#include "base/UniqueHandle.h"

#include <sddl.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace cadrels {
namespace {

// How long a second process waits for a starting instance's window.
constexpr int InstanceWaitSteps = 50;
constexpr DWORD InstanceWaitStepMs = 100;

std::wstring TokenUserSid(HANDLE process)
{
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &rawToken)) {
        return {};
    }
    const UniqueHandle token(rawToken);
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    if (size == 0) {
        return {};
    }
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) {
        return {};
    }
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        return {};
    }
    const std::unique_ptr<wchar_t, decltype(&LocalFree)> owned(text, &LocalFree);
    return text;
}

std::wstring ImagePath(HANDLE process)
{
    std::wstring path(32768, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process, 0, path.data(), &length)) {
        return {};
    }
    path.resize(length);
    return path;
}

std::optional<ProcessIdentity> IdentityOf(HANDLE process)
{
    ProcessIdentity identity{TokenUserSid(process), ImagePath(process)};
    if (identity.userSid.empty() || identity.imagePath.empty()) {
        return std::nullopt;
    }
    return identity;
}

std::optional<ProcessIdentity> IdentityOfWindow(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0) {
        return std::nullopt;
    }
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return std::nullopt;
    }
    return IdentityOf(process.Get());
}

// The first "Cadrels.App" window that belongs to this user's copy of this
// program. Each other one is logged once, the first time it is seen.
HWND FindTrustedInstance(const ProcessIdentity& self, std::vector<HWND>& refused)
{
    for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, AppWindowClass, nullptr); window != nullptr;
         window = FindWindowExW(HWND_MESSAGE, window, AppWindowClass, nullptr)) {
        if (std::find(refused.begin(), refused.end(), window) != refused.end()) {
            continue;
        }
        const InstanceCheck check = CheckRunningInstance(self, IdentityOfWindow(window));
        if (check == InstanceCheck::Trusted) {
            return window;
        }
        refused.push_back(window);
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        DebugLog(L"Fenetre %ls du processus %lu ignoree : %ls. Rien ne lui est transmis.", AppWindowClass,
                 processId, InstanceCheckText(check));
    }
    return nullptr;
}

}  // namespace

bool App::EnsureSingleInstance()
{
    singleInstanceMutex_.Reset(CreateMutexW(nullptr, TRUE, SingleInstanceMutexName));
    if (!singleInstanceMutex_ || GetLastError() != ERROR_ALREADY_EXISTS) {
        return true;
    }

    // Another process holds the mutex: this one never becomes a second full
    // instance (two writers of layout.json would rotate each other's .bak).
    // The other may still be starting, so wait for its window and forward; if
    // it ends meanwhile, its mutex comes to us and we are the instance.
    // A window of another user or another program is no instance of ours,
    // whatever its class says: it is never sent anything.
    const ProcessIdentity self{TokenUserSid(GetCurrentProcess()), ImagePath(GetCurrentProcess())};
    std::vector<HWND> refused;
    HWND running = FindTrustedInstance(self, refused);
    for (int attempt = 0; running == nullptr && attempt < InstanceWaitSteps; ++attempt) {
        const DWORD waited = WaitForSingleObject(singleInstanceMutex_.Get(), InstanceWaitStepMs);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
            DebugLog(L"L'instance precedente s'est arretee : cette instance prend la releve.");
            return true;
        }
        running = FindTrustedInstance(self, refused);
    }
    if (running == nullptr) {
        DebugLog(L"Une instance de Cadrels demarre sans fenetre joignable. Arret.");
        singleInstanceMutex_.Reset();
        return false;
    }
    const Forwarding forwarding = ForwardingFor(options_);
    if (forwarding.message == 0) {
        return false;
    }

    AllowSetForegroundWindow(ASFW_ANY);
    if (forwarding.message == WM_COPYDATA) {
        COPYDATASTRUCT copyData{};
        copyData.dwData = forwarding.copyDataKind;
        copyData.cbData = static_cast<DWORD>(forwarding.payload.size() * sizeof(wchar_t));
        copyData.lpData = const_cast<wchar_t*>(forwarding.payload.data());
        DWORD_PTR result = 0;
        SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copyData), SMTO_NORMAL, 10000,
                            &result);
    } else {
        PostMessageW(running, forwarding.message, 0, 0);
    }
    return false;
}

}  // namespace cadrels
