#include "gfx/IconKey.h"

namespace cadrels {

std::wstring MakeIconKey(std::wstring_view path, int size)
{
    std::wstring key(path);
    key += L'@';
    key += std::to_wstring(size);
    return key;
}

std::wstring_view IconKeyPath(std::wstring_view key)
{
    const size_t at = key.rfind(L'@');
    return at == std::wstring_view::npos ? key : key.substr(0, at);
}

bool IsBuiltinIconKey(std::wstring_view key)
{
    return key.starts_with(L"svg:");
}

bool IsSvgFileKey(std::wstring_view key)
{
    if (key.size() < 4) {
        return false;
    }
    const std::wstring_view tail = key.substr(key.size() - 4);
    constexpr std::wstring_view Extension = L".svg";
    for (size_t i = 0; i < 4; ++i) {
        wchar_t c = tail[i];
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
        if (c != Extension[i]) {
            return false;
        }
    }
    return true;
}

int IconRequestSize(int side)
{
    constexpr int Steps[] = {16, 20, 24, 32, 40, 48, 64, 80, 96, 128, 160, 192, 256};
    if (side <= 0) {
        return side;
    }
    for (int step : Steps) {
        if (side <= step) {
            return step;
        }
    }
    return side > 4096 ? 4096 : (side + 63) / 64 * 64;
}

}  // namespace cadrels
