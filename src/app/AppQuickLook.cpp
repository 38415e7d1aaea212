// Quick look from the application's side: which cadrel a request means,
// which of its items the preview opens on, and the one preview object.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "model/Theme.h"

namespace cadrels {
namespace {

// Runs on the main thread between messages; the system drops a low-level
// hook that takes too long, so it only looks at windows and posts.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        App* app = App::Current();
        if (key->vkCode == VK_SPACE && app != nullptr && app->SpaceOpensQuickLook()) {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

}  // namespace

void App::InstallKeyboardHook()
{
    keyboardHook_.Reset(SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, instance_, 0));
    if (!keyboardHook_) {
        DebugLog(L"Crochet clavier impossible a installer (erreur %lu) : pas d'apercu rapide par Espace.",
                 GetLastError());
    }
}

bool App::SpaceOpensQuickLook()
{
    if (QuickLookOpen()) {
        return false;
    }
    POINT cursor{};
    if (!GetCursorPos(&cursor)) {
        return false;
    }
    HWND under = WindowFromPoint(cursor);
    const Cadrel* cadrel = cadrels_.Find(under);
    if (cadrel == nullptr && under != nullptr) {
        cadrel = cadrels_.Find(GetAncestor(under, GA_ROOT));
    }
    if (cadrel == nullptr || cadrel->Content().SelectedCount() < 1) {
        return false;
    }
    PostMessageW(window_, WM_APP_QUICK_LOOK, 0, -1);
    return true;
}

void App::ShowQuickLook(HWND window, int index)
{
    Cadrel* cadrel = nullptr;
    if (window != nullptr) {
        cadrel = cadrels_.Find(window);
        if (cadrel == nullptr) {
            cadrel = cadrels_.Find(GetAncestor(window, GA_ROOT));
        }
    }
    if (cadrel == nullptr) {
        POINT cursor{};
        GetCursorPos(&cursor);
        HWND under = WindowFromPoint(cursor);
        cadrel = cadrels_.Find(under);
        if (cadrel == nullptr && under != nullptr) {
            cadrel = cadrels_.Find(GetAncestor(under, GA_ROOT));
        }
    }
    if (cadrel == nullptr) {
        DebugLog(L"Apercu rapide : aucun cadrel sous le pointeur.");
        return;
    }
    std::vector<std::wstring> paths = cadrel->AllItemPaths();
    if (paths.empty()) {
        return;
    }
    int start = index;
    if (start < 0 || start >= static_cast<int>(paths.size())) {
        start = cadrel->FirstSelectedItem();
        if (start < 0) {
            start = 0;
        }
    }
    if (!quickLook_) {
        quickLook_ = std::make_unique<QuickLook>(graphics_, window_);
    }
    const UINT dpi = GetDpiForWindow(cadrel->Window());
    quickLook_->Show(instance_, cadrel->Window(), dpi == 0 ? 96 : dpi, std::move(paths), start, AccentColor());
}

}  // namespace cadrels
