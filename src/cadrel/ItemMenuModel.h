// The program's own entries of the item menu, as plain values: what the
// entries say, which items they act on, and the pin toggle.
#pragma once

#include <string>
#include <vector>

namespace cadrels {

enum ItemMenuCommand : int {
    ItemCmdOpenLocation = 0x9001,
    ItemCmdCopyPath = 0x9002,
    ItemCmdRename = 0x9003,
    ItemCmdOpen = 0x9004,
    ItemCmdPin = 0x9005,
    ItemCmdQuickLook = 0x9006,
};

struct ItemMenuEntry {
    int id = 0;
    std::wstring label;
};

// The items an entry acts on: the whole selection when it holds at least two
// paths and the clicked one among them (exact comparison), else the clicked
// item alone. The selection itself does not change.
std::vector<std::wstring> ItemMenuTargets(const std::vector<std::wstring>& selected, const std::wstring& clicked);

// The six entries put before the shell's, in order, each "Cadrels — " and
// its text.
std::vector<ItemMenuEntry> ItemMenuEntries(int targetCount, bool pinned);

// Removes the first name equal to `name` ignoring ASCII case, or appends it
// when there is none.
void TogglePinnedName(std::vector<std::wstring>& pinned, const std::wstring& name);

}  // namespace cadrels
