#include "cadrel/RenameRules.h"

#include "model/PathText.h"

#include <array>

namespace cadrels {
namespace {

bool IsReservedDeviceName(std::wstring_view stem)
{
    static constexpr std::array<std::wstring_view, 4> Plain = {L"con", L"prn", L"aux", L"nul"};
    for (std::wstring_view reserved : Plain) {
        if (EqualsIgnoringAsciiCase(stem, reserved)) {
            return true;
        }
    }
    if (stem.size() == 4 && stem[3] >= L'1' && stem[3] <= L'9') {
        const std::wstring_view prefix = stem.substr(0, 3);
        return EqualsIgnoringAsciiCase(prefix, L"com") || EqualsIgnoringAsciiCase(prefix, L"lpt");
    }
    return false;
}

bool EndsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view suffix)
{
    return text.size() >= suffix.size() && EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

std::wstring TrimRenameText(std::wstring_view text)
{
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && blank(text[begin])) {
        ++begin;
    }
    while (end > begin && blank(text[end - 1])) {
        --end;
    }
    return std::wstring(text.substr(begin, end - begin));
}

bool IsAcceptableNewName(std::wstring_view name)
{
    if (name.empty()) {
        return false;
    }
    for (wchar_t c : name) {
        if (c == L'\\' || c == L'/' || c == L':' || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' ||
            c == L'|') {
            return false;
        }
    }
    if (name.back() == L' ' || name.back() == L'.') {
        return false;
    }
    return !IsReservedDeviceName(name.substr(0, name.find(L'.')));
}

std::wstring NameKeepingHiddenExtension(std::wstring_view oldName, std::wstring_view newName)
{
    std::wstring result(newName);
    for (std::wstring_view hidden : {std::wstring_view(L".lnk"), std::wstring_view(L".url")}) {
        if (EndsWithIgnoringAsciiCase(oldName, hidden) && !EndsWithIgnoringAsciiCase(newName, hidden)) {
            result += hidden;
        }
    }
    return result;
}

bool SplitParentAndName(std::wstring_view path, std::wstring& parent, std::wstring& name)
{
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring_view::npos) {
        return false;
    }
    parent.assign(path.substr(0, separator));
    name.assign(path.substr(separator + 1));
    return true;
}

std::pair<int, int> RenameSelection(std::wstring_view displayName, bool isFolder)
{
    const size_t dot = displayName.rfind(L'.');
    if (isFolder || dot == std::wstring_view::npos || dot == 0) {
        return {0, -1};
    }
    return {0, static_cast<int>(dot)};
}

}  // namespace cadrels
