#include "app/App.h"

#include "base/AppMessages.h"
#include "app/CopyData.h"
#include "base/DebugLog.h"

namespace cadrels {
namespace {

// How long a second process waits for a starting instance's window.
constexpr int InstanceWaitSteps = 50;
constexpr DWORD InstanceWaitStepMs = 100;

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
    HWND running = FindWindowExW(HWND_MESSAGE, nullptr, AppWindowClass, nullptr);
    for (int attempt = 0; running == nullptr && attempt < InstanceWaitSteps; ++attempt) {
        const DWORD waited = WaitForSingleObject(singleInstanceMutex_.Get(), InstanceWaitStepMs);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
            DebugLog(L"L'instance precedente s'est arretee : cette instance prend la releve.");
            return true;
        }
        running = FindWindowExW(HWND_MESSAGE, nullptr, AppWindowClass, nullptr);
    }
    if (running == nullptr) {
        DebugLog(L"Une instance de Cadrels demarre sans fenetre joignable. Arret.");
        singleInstanceMutex_.Reset();
        return false;
    }
    if (!options_.HasSendTo() && !options_.HasWindowOption()) {
        return false;
    }

    AllowSetForegroundWindow(ASFW_ANY);
    if (options_.HasSendTo()) {
        const bool isList = !options_.sendToList.empty();
        const std::wstring payload = CopyDataPayload(isList ? options_.sendToList : options_.sendToPath);
        COPYDATASTRUCT copyData{};
        copyData.dwData = isList ? CopyDataSendToList : CopyDataSendToPath;
        copyData.cbData = static_cast<DWORD>(payload.size() * sizeof(wchar_t));
        copyData.lpData = const_cast<wchar_t*>(payload.data());
        DWORD_PTR result = 0;
        SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copyData), SMTO_NORMAL, 10000,
                            &result);
    } else {
        PostMessageW(running, ForwardedWindowMessage(options_), 0, 0);
    }
    return false;
}

}  // namespace cadrels
