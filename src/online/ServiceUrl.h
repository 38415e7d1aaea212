// Splitting the service origin and download addresses into what WinHTTP
// needs. Plain values, no Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cadrels {

struct UrlParts {
    bool secure = false;        // https
    std::wstring host;
    std::uint16_t port = 0;     // 443 or 80 when the address names none
    std::wstring pathAndQuery;  // "/" when the address has no path
};

// Accepts "http://" and "https://" (any ASCII case), a host name or IPv4
// address, an optional port 1..65535, then an optional path and query; the
// fragment is dropped. User information ("user@host") and bracketed IPv6
// hosts are refused: the service never uses them and they hide the real host.
std::optional<UrlParts> SplitUrl(std::wstring_view url);

// The host names that never leave the machine.
bool IsLoopbackHost(std::wstring_view host);

}  // namespace cadrels
