// One entry of the dark popup menu, as the callers build it. Plain values
// without Windows types, so menu models can be built and checked anywhere.
#pragma once

#include <string>
#include <vector>

namespace cadrels {

struct DarkMenuItem {
    std::wstring label;  // drawn as it stands: "&" is no mnemonic marker
    int id = 0;          // returned when chosen; 0 never names a command
    bool separator = false;
    bool checked = false;
    bool enabled = true;  // a separator is never enabled, whatever this says
    bool radio = false;   // a dot, which wins over the tick
    std::vector<DarkMenuItem> children;  // non-empty makes the entry a submenu

    static DarkMenuItem Separator()
    {
        DarkMenuItem item;
        item.separator = true;
        item.enabled = false;
        return item;
    }
};

}  // namespace cadrels
