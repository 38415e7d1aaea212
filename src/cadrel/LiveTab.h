// A tab as the live cadrel holds it: the saved tab and, while it hosts
// another application's window, what hosting knows at run time.
#pragma once

#include "model/Records.h"

#include <windows.h>

#include <vector>

namespace cadrels {

struct LiveTab : CadrelTab {
    HWND hostedWindow = nullptr;
    // The hosted window vanished: the tab shows the closed panel.
    bool appClosed = false;
    // The application was started once already for this tab.
    bool relaunchTried = false;
    // Where the window stood when it was hosted; released windows go back there.
    RECT savedRect{};
    WINDOWPLACEMENT savedPlacement{};  // `length` set when valid
    // Popups of the hosted thread that hosting hid with the tab; shown again
    // exactly when the tab comes back.
    std::vector<HWND> hiddenPopups;
};

}  // namespace cadrels
