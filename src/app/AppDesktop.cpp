// The bare desktop as the user sees it around the cadrels: a double-click on
// its background hides or shows them ("dblClickHide"), a double-click on a
// desktop icon opens the icon and leaves them alone.
#include "app/App.h"

#include "app/DesktopHookRules.h"
#include "base/AppMessages.h"
#include "base/DebugLog.h"

#include <commctrl.h>
#include <windowsx.h>

namespace cadrels {
namespace {

// The shell's icon view: the "SHELLDLL_DefView" under Progman, or under the
// first WorkerW that holds one (after the wallpaper slideshow moved it).
HWND DesktopIconView()
{
    HWND progman = FindWindowW(L"Progman", nullptr);
    HWND view = progman != nullptr ? FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
    for (HWND worker = nullptr; view == nullptr;) {
        worker = FindWindowExW(nullptr, worker, L"WorkerW", nullptr);
        if (worker == nullptr) {
            break;
        }
        view = FindWindowExW(worker, nullptr, L"SHELLDLL_DefView", nullptr);
    }
    return view;
}

// The shell answers on its own thread; the answer comes back as a message,
// so a shell that hangs never holds the main thread.
void CALLBACK SelectedIconsCounted(HWND, UINT, ULONG_PTR appWindow, LRESULT count)
{
    PostMessageW(reinterpret_cast<HWND>(appWindow), WM_APP_DESKTOP_DBLCLICK, DesktopIconsSelected, count);
}

}  // namespace

void App::OnDesktopDoubleClick(WPARAM kind, LPARAM value)
{
    if (!settings_.dblClickHide || shuttingDown_) {
        return;
    }
    if (kind == DesktopIconsSelected) {
        // The double-click opened a selected icon.
        if (value < 1) {
            ToggleHidden();
        }
        return;
    }
    if (kind != DesktopDoubleClickAt) {
        return;
    }
    const POINT point{GET_X_LPARAM(value), GET_Y_LPARAM(value)};
    HWND hit = WindowFromPoint(point);
    // The desktop window has no root above it: it is its own.
    HWND root = hit != nullptr && hit != GetDesktopWindow() ? GetAncestor(hit, GA_ROOT) : hit;
    if (root == nullptr) {
        DebugLog(L"Double-clic sur aucune fenetre (%ld, %ld) : rien a faire.", point.x, point.y);
        return;
    }
    wchar_t className[64] = {};
    GetClassNameW(root, className, 64);
    switch (ClassifyDoubleClickRoot(className, root == GetDesktopWindow(), root == GetShellWindow())) {
    case DesktopHit::None:
        DebugLog(L"Double-clic hors du bureau (%ls) : rien a faire.", className);
        return;
    case DesktopHit::BareDesktop:
        DebugLog(L"Double-clic sur le bureau (%ls, sans vue d'icones).", className);
        ToggleHidden();
        return;
    case DesktopHit::ShellView:
        break;
    }
    HWND view = DesktopIconView();
    HWND list = view != nullptr ? FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
    if (list == nullptr) {
        DebugLog(L"Double-clic sur le bureau (%ls) ; vue d'icones introuvable.", className);
        ToggleHidden();
        return;
    }
    if (!SendMessageCallbackW(list, LVM_GETSELECTEDCOUNT, 0, 0, SelectedIconsCounted,
                              reinterpret_cast<ULONG_PTR>(window_))) {
        DebugLog(L"Double-clic sur le bureau : la vue d'icones ne repond pas (%lu).", GetLastError());
        ToggleHidden();
    }
}

}  // namespace cadrels
