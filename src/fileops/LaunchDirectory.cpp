#include "fileops/LaunchDirectory.h"

#include <cwctype>

namespace cadrels {

namespace {

bool EndsWithShortcutExtension(std::wstring_view path)
{
    constexpr std::wstring_view extension = L".lnk";
    if (path.size() < extension.size()) {
        return false;
    }
    for (size_t i = 0; i < extension.size(); ++i) {
        if (std::towlower(path[path.size() - extension.size() + i]) != extension[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::wstring LaunchDirectory(std::wstring_view path)
{
    if (EndsWithShortcutExtension(path)) {
        return {};
    }
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring_view::npos) {
        return {};
    }
    if (separator == 2 && path[1] == L':' && std::iswalpha(path[0])) {
        return std::wstring(path.substr(0, 2)) + L'\\';
    }
    return std::wstring(path.substr(0, separator));
}

}  // namespace cadrels
