#include "sysinfo/ByteSize.h"

#include <cstdio>
#include <iterator>
#include <string>

namespace cadrels {

std::wstring FormatByteSize(std::uint64_t bytes)
{
    static constexpr const wchar_t* Units[] = {L"B", L"KB", L"MB", L"GB", L"TB", L"PB"};
    constexpr int LastUnit = static_cast<int>(std::size(Units)) - 1;

    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024.0 && unit < LastUnit) {
        value /= 1024.0;
        ++unit;
    }
    // Formatted in narrow text under the "C" locale of the C runtime, which
    // the program never changes: the report reads the same in every language.
    char number[64];
    std::snprintf(number, sizeof number, unit == 0 || value >= 100.0 ? "%.0f" : "%.1f", value);
    std::wstring text(number, number + std::char_traits<char>::length(number));
    text += L' ';
    text += Units[unit];
    return text;
}

}  // namespace cadrels
