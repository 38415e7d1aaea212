#include "model/PathText.h"

namespace cadrels {

wchar_t AsciiLower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() && StartsWithIgnoringAsciiCase(a, b);
}

bool StartsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(prefix[i])) {
            return false;
        }
    }
    return true;
}

bool IsForbiddenInName(wchar_t c)
{
    return c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
}

std::wstring ReplaceForbiddenNameCharacters(std::wstring_view name)
{
    std::wstring result(name);
    for (wchar_t& c : result) {
        if (IsForbiddenInName(c)) {
            c = L'_';
        }
    }
    return result;
}

void TrimTrailingDotsAndSpaces(std::wstring& name)
{
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) {
        name.pop_back();
    }
}

bool IsOnlyDotsAndSpaces(std::wstring_view name)
{
    return name.find_first_not_of(L". ") == std::wstring_view::npos;
}

std::wstring ChildPath(std::wstring_view folder, std::wstring_view name)
{
    std::wstring path(folder);
    if (!path.empty() && !IsPathSeparator(path.back())) {
        path += L'\\';
    }
    path += name;
    return path;
}

std::wstring_view LastPathComponent(std::wstring_view path)
{
    while (!path.empty() && IsPathSeparator(path.back())) {
        path.remove_suffix(1);
    }
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

bool IsDevicePath(std::wstring_view path)
{
    if (path.size() >= 4 && IsPathSeparator(path[0]) && path[1] == L'?' && path[2] == L'?' &&
        IsPathSeparator(path[3])) {
        return true;
    }
    if (path.size() < 4 || !IsPathSeparator(path[0]) || !IsPathSeparator(path[1]) || !IsPathSeparator(path[3])) {
        return false;
    }
    if (path[2] == L'.') {
        return true;
    }
    if (path[2] != L'?') {
        return false;
    }
    const std::wstring_view rest = path.substr(4);
    const bool drive = rest.size() >= 3 && ((rest[0] >= L'A' && rest[0] <= L'Z') || (rest[0] >= L'a' && rest[0] <= L'z')) &&
                       rest[1] == L':' && IsPathSeparator(rest[2]);
    const bool unc = rest.size() >= 4 && EqualsIgnoringAsciiCase(rest.substr(0, 3), L"UNC") && IsPathSeparator(rest[3]);
    return !drive && !unc;
}

bool IsNetworkPath(std::wstring_view path)
{
    if (path.size() < 3 || !IsPathSeparator(path[0]) || !IsPathSeparator(path[1])) {
        return false;
    }
    if (path[2] == L'?' || path[2] == L'.') {
        return path.size() >= 8 && IsPathSeparator(path[3]) && EqualsIgnoringAsciiCase(path.substr(4, 3), L"UNC") &&
               IsPathSeparator(path[7]);
    }
    return true;
}

}  // namespace cadrels
