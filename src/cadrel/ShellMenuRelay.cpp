#include "cadrel/ShellMenuRelay.h"

namespace cadrels {

void ShellMenuRelay::Hold(IContextMenu& menu)
{
    menu.QueryInterface(IID_PPV_ARGS(menu2_.ReleaseAndGetAddressOf()));
    menu.QueryInterface(IID_PPV_ARGS(menu3_.ReleaseAndGetAddressOf()));
}

void ShellMenuRelay::Drop()
{
    menu2_.Reset();
    menu3_.Reset();
}

bool ShellMenuRelay::Forward(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const
{
    if (!menu2_) {
        return false;
    }
    switch (message) {
    case WM_INITMENUPOPUP:
        menu2_->HandleMenuMsg(message, wParam, lParam);
        result = 0;
        return true;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        menu2_->HandleMenuMsg(message, wParam, lParam);
        result = TRUE;
        return true;
    case WM_MENUCHAR:
        if (menu3_) {
            LRESULT answer = 0;
            if (SUCCEEDED(menu3_->HandleMenuMsg2(message, wParam, lParam, &answer))) {
                result = answer;
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

}  // namespace cadrels
