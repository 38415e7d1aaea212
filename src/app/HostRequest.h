// A hosting operation asked of the running program from another process
// (WM_COPYDATA), as tools and tests drive it without the cadrel menu: one
// line of text, the action, a tab, the cadrel's position in the page, and for
// "host" a tab and the window handle in decimal.
//
//   host<TAB>cadrel<TAB>window      release<TAB>cadrel
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cadrels {

enum class HostAction { HostInActiveTab, ReleaseActiveTab };

struct HostRequest {
    HostAction action = HostAction::HostInActiveTab;
    int cadrel = -1;
    std::uint64_t window = 0;

    friend bool operator==(const HostRequest&, const HostRequest&) = default;
};

// Nothing for an unknown action, a missing, empty or non-decimal field, stray
// fields, a cadrel above 9999 or a window handle of more than 20 digits or
// beyond 64 bits, or a zero window.
std::optional<HostRequest> ParseHostRequest(std::wstring_view text);

std::wstring HostRequestText(const HostRequest& request);

}  // namespace cadrels
