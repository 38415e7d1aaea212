// The line at the foot of a cadrel: how many items it shows and, when they
// weigh anything, their total size. Plain values only; the caller supplies
// the translated word and the formatted size.
#pragma once

#include "cadrel/CadrelItem.h"
#include "i18n/TextId.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

// The word after the count. French counts zero as
// singular ("0 élément"); the other languages count everything but one as
// plural.
TextId FooterWordId(std::size_t count, int language);

// "<count> <word>", then "   ·   <size>" when the size text is not empty.
std::wstring ComposeFooterText(std::size_t count, std::wstring_view word, std::wstring_view sizeText);

// The sum of the items' sizes, saturating rather than wrapping.
std::uint64_t TotalItemSize(const std::vector<CadrelItem>& items);

}  // namespace cadrels
