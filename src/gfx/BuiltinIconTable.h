// The 168 built-in vector icons: each an SVG document with a 100 by 100 view
// box, stored as an RT_RCDATA resource of the program under its id. The
// order is the icon picker's grid order. Free of Windows headers.
#pragma once

#include <span>
#include <string_view>

namespace cadrels {

struct BuiltinIcon {
    int resourceId;
    const wchar_t* key;  // "svg:" + name
};

inline constexpr size_t BuiltinIconCount = 168;

std::span<const BuiltinIcon> BuiltinIconTable();

// The first row whose key equals `key` exactly (case-sensitive), or null.
const BuiltinIcon* FindBuiltinIcon(std::wstring_view key);

}  // namespace cadrels
