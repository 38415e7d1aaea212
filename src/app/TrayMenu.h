// The notification icon's menu: undo, redo, showing or hiding the cadrels,
// and settings.
#pragma once

#include "settings/DarkMenu.h"

#include <optional>
#include <string>
#include <vector>

namespace cadrels {

enum TrayCommand : int {
    TrayCommandUndo = 500,
    TrayCommandRedo = 501,
    TrayCommandToggleHidden = 502,
    TrayCommandSettings = 205,
};

// `undo` / `redo`: the description of the entry that would be undone or
// redone, or nothing when there is none (the entry is then disabled).
// `cadrelsHidden` names the entry after what choosing it does.
std::vector<DarkMenuItem> TrayMenuItems(const std::optional<std::wstring>& undo,
                                        const std::optional<std::wstring>& redo, bool cadrelsHidden);

}  // namespace cadrels
