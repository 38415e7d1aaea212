#include "app/ThemeWatcher.h"

#include "base/AppMessages.h"
#include "base/UniqueHandle.h"

namespace cadrels {
namespace {

void WatchPersonalizeKey(HWND window, HANDLE stopEvent)
{
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                      KEY_NOTIFY, key.Put()) != ERROR_SUCCESS) {
        return;
    }
    UniqueHandle changed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!changed) {
        return;
    }
    for (;;) {
        ResetEvent(changed.Get());
        if (RegNotifyChangeKeyValue(key.Get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed.Get(), TRUE) !=
            ERROR_SUCCESS) {
            return;
        }
        const HANDLE events[] = {stopEvent, changed.Get()};
        if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            return;
        }
        PostMessageW(window, WM_APP_SYSTEM_THEME_CHANGED, 0, 0);
    }
}

}  // namespace

ThemeWatcher::~ThemeWatcher()
{
    // A start that throws after this watcher began (the folder watcher, the
    // updates) unwinds without anyone signalling the event: joining without
    // it would wait for ever instead of showing the start-up error.
    if (thread_.joinable() && stopEvent_ != nullptr) {
        SetEvent(stopEvent_);
    }
    Join();
}

void ThemeWatcher::Start(HWND window, HANDLE stopEvent)
{
    if (!thread_.joinable()) {
        stopEvent_ = stopEvent;
        thread_ = std::thread(WatchPersonalizeKey, window, stopEvent);
    }
}

void ThemeWatcher::Join()
{
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace cadrels
