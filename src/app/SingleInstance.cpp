#include "app/App.h"

#include "base/AppMessages.h"
#include "app/CopyData.h"

namespace cadrels {

bool App::EnsureSingleInstance()
{
    singleInstanceMutex_.Reset(CreateMutexW(nullptr, TRUE, SingleInstanceMutexName));
    if (!singleInstanceMutex_ || GetLastError() != ERROR_ALREADY_EXISTS) {
        return true;
    }

    HWND running = FindWindowExW(HWND_MESSAGE, nullptr, AppWindowClass, nullptr);
    if (running == nullptr && options_.HasSendTo()) {
        // The running instance may still be starting: a send-to from the shell
        // must not be lost, so wait up to about two seconds for its window.
        for (int attempt = 0; attempt < 20 && running == nullptr; ++attempt) {
            Sleep(100);
            running = FindWindowExW(HWND_MESSAGE, nullptr, AppWindowClass, nullptr);
        }
    }
    if (running == nullptr) {
        return true;
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
