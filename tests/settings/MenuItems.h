// Menu entries for the tests, built in one line each.
#pragma once

#include "settings/DarkMenu.h"

#include <utility>
#include <vector>

namespace cadrels::testing {

inline DarkMenuItem Entry(const wchar_t* label, int id, bool enabled = true)
{
    DarkMenuItem item;
    item.label = label;
    item.id = id;
    item.enabled = enabled;
    return item;
}

inline DarkMenuItem Submenu(const wchar_t* label, int id, std::vector<DarkMenuItem> children)
{
    DarkMenuItem item = Entry(label, id);
    item.children = std::move(children);
    return item;
}

}  // namespace cadrels::testing
