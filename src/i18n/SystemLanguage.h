// The language Windows shows its own interface in, for a first start.
#pragma once

#include <string>

namespace cadrels {

// The user's preferred interface language as a locale name ("en-US",
// "zh-Hant-TW"), or empty when Windows gives none.
std::string SystemUiLocaleName();

}  // namespace cadrels
