// Quick look from the application's side: which cadrel a request means,
// which of its items the preview opens on, and the one preview object.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "model/Theme.h"

namespace cadrels {

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
