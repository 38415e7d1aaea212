// The language Windows shows its own interface in, for a first start.
#pragma once

#include <string>
#include <string_view>

namespace cadrels {

// The user's preferred interface language as a locale name ("en-US",
// "zh-Hant-TW"), or empty when Windows gives none.
std::string SystemUiLocaleName();

// The interface language for a locale name: one of the nineteen, or -1.
// Traditional Chinese is told by its script or by the regions that write it.
int LanguageIndexForLocale(std::string_view locale);

}  // namespace cadrels
