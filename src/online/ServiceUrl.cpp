#include "online/ServiceUrl.h"

namespace cadrels {
namespace {

wchar_t AsciiLower(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool IsHostCharacter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
           c == L'.';
}

}  // namespace

std::optional<UrlParts> SplitUrl(std::wstring_view url)
{
    UrlParts parts;
    if (StartsWithNoCase(url, L"https://")) {
        parts.secure = true;
        url.remove_prefix(8);
    } else if (StartsWithNoCase(url, L"http://")) {
        url.remove_prefix(7);
    } else {
        return std::nullopt;
    }
    const size_t authorityEnd = url.find_first_of(L"/?#");
    const std::wstring_view authority = url.substr(0, authorityEnd);
    std::wstring_view rest = authorityEnd == std::wstring_view::npos ? std::wstring_view() : url.substr(authorityEnd);

    const size_t colon = authority.find(L':');
    const std::wstring_view host = authority.substr(0, colon);
    if (host.empty()) {
        return std::nullopt;
    }
    for (const wchar_t c : host) {
        if (!IsHostCharacter(c)) {
            return std::nullopt;
        }
    }
    parts.host.assign(host);
    parts.port = parts.secure ? 443 : 80;
    if (colon != std::wstring_view::npos) {
        const std::wstring_view portText = authority.substr(colon + 1);
        if (portText.empty() || portText.size() > 5) {
            return std::nullopt;
        }
        unsigned port = 0;
        for (const wchar_t c : portText) {
            if (c < L'0' || c > L'9') {
                return std::nullopt;
            }
            port = port * 10 + static_cast<unsigned>(c - L'0');
        }
        if (port == 0 || port > 65535) {
            return std::nullopt;
        }
        parts.port = static_cast<std::uint16_t>(port);
    }

    const size_t fragment = rest.find(L'#');
    if (fragment != std::wstring_view::npos) {
        rest = rest.substr(0, fragment);
    }
    if (rest.empty() || rest.front() != L'/') {
        parts.pathAndQuery = L"/";
    }
    parts.pathAndQuery.append(rest);
    return parts;
}

bool IsLoopbackHost(std::wstring_view host)
{
    std::wstring lower;
    for (const wchar_t c : host) {
        lower += AsciiLower(c);
    }
    return lower == L"localhost" || lower == L"127.0.0.1";
}

}  // namespace cadrels
