#include "online/UpdateVersion.h"

#include <limits>

namespace cadrels {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::uint32_t AppendDigit(std::uint32_t value, char digit)
{
    constexpr std::uint32_t Max = std::numeric_limits<std::uint32_t>::max();
    const auto d = static_cast<std::uint32_t>(digit - '0');
    if (value > (Max - d) / 10) {
        return Max;
    }
    return value * 10 + d;
}

}  // namespace

Version ParseVersion(std::string_view text)
{
    std::uint32_t components[3] = {};
    size_t i = 0;
    while (i < text.size() && !IsDigit(text[i])) {
        ++i;
    }
    int index = 0;
    for (; i < text.size() && index < 3; ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            components[index] = AppendDigit(components[index], c);
        } else if (c == '.') {
            ++index;
        } else {
            break;
        }
    }
    return Version{components[0], components[1], components[2]};
}

bool IsNewerVersion(const Version& candidate, const Version& running)
{
    return candidate > running;
}

std::string VersionText(const Version& version)
{
    return std::to_string(version.major) + '.' + std::to_string(version.minor) + '.' +
           std::to_string(version.patch);
}

std::wstring InstallerFileName(const Version& version)
{
    return L"Cadrels-Setup-" + std::to_wstring(version.major) + L'.' + std::to_wstring(version.minor) + L'.' +
           std::to_wstring(version.patch) + L".exe";
}

}  // namespace cadrels
