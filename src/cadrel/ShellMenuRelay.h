// While the shell's context menu of an item is open, the shell draws some of
// its entries itself (the owner-drawn "Send to" and "Open with" submenus):
// the drawing messages the owner window gets go to that menu.
#pragma once

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

namespace cadrels {

class ShellMenuRelay {
public:
    // For as long as the menu is open.
    void Hold(IContextMenu& menu);
    void Drop();
    // True when the message was the menu's; `result` is then the answer.
    bool Forward(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const;

private:
    Microsoft::WRL::ComPtr<IContextMenu2> menu2_;
    Microsoft::WRL::ComPtr<IContextMenu3> menu3_;
};

}  // namespace cadrels
