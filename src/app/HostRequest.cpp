#include "app/HostRequest.h"

#include <limits>
#include <vector>

namespace cadrels {
namespace {

std::vector<std::wstring_view> Fields(std::wstring_view text)
{
    std::vector<std::wstring_view> fields;
    size_t start = 0;
    while (true) {
        const size_t tab = text.find(L'\t', start);
        fields.push_back(text.substr(start, tab == std::wstring_view::npos ? std::wstring_view::npos : tab - start));
        if (tab == std::wstring_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

std::optional<std::uint64_t> Decimal(std::wstring_view text, size_t maxDigits, std::uint64_t maxValue)
{
    if (text.empty() || text.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (maxValue - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace

std::optional<HostRequest> ParseHostRequest(std::wstring_view text)
{
    const std::vector<std::wstring_view> fields = Fields(text);
    HostRequest request;
    if (fields[0] == L"host" && fields.size() == 3) {
        request.action = HostAction::HostInActiveTab;
        const auto window = Decimal(fields[2], 20, std::numeric_limits<std::uint64_t>::max());
        if (!window || *window == 0) {
            return std::nullopt;
        }
        request.window = *window;
    } else if (fields[0] == L"release" && fields.size() == 2) {
        request.action = HostAction::ReleaseActiveTab;
    } else {
        return std::nullopt;
    }
    const auto cadrel = Decimal(fields[1], 4, 9999);
    if (!cadrel) {
        return std::nullopt;
    }
    request.cadrel = static_cast<int>(*cadrel);
    return request;
}

std::wstring HostRequestText(const HostRequest& request)
{
    if (request.action == HostAction::ReleaseActiveTab) {
        return L"release\t" + std::to_wstring(request.cadrel);
    }
    return L"host\t" + std::to_wstring(request.cadrel) + L"\t" + std::to_wstring(request.window);
}

}  // namespace cadrels
