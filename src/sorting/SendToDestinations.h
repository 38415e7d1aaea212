// The destinations the send-to menu offers: every tab with a folder, of every
// cadrel, of every page, in order.
#pragma once

#include "model/Records.h"

#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

struct SendToDestination {
    std::wstring label;
    std::wstring folder;
};

// The label is the tab title (`defaultName` when it has none), preceded by
// the page name and " — " when there is more than one page and the page has
// a name. Menu command ids are the index + 1.
std::vector<SendToDestination> SendToDestinations(const std::vector<Workspace>& pages, std::wstring_view defaultName);

}  // namespace cadrels
