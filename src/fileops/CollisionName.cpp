#include "fileops/CollisionName.h"

namespace cadrels {

std::wstring CollisionName(std::wstring_view name, int number, bool isFolder)
{
    const std::wstring suffix = L" (" + std::to_wstring(number) + L")";
    const size_t dot = name.rfind(L'.');
    if (isFolder || dot == std::wstring_view::npos || dot == 0) {
        return std::wstring(name) + suffix;
    }
    return std::wstring(name.substr(0, dot)) + suffix + std::wstring(name.substr(dot));
}

}  // namespace cadrels
