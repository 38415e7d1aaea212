// The interface font of every window: Direct2D texts and the GDI menus and
// prompts name the same family.
#pragma once

namespace cadrels {

inline constexpr wchar_t PreferredUiFontFamily[] = L"Segoe UI";

}  // namespace cadrels
