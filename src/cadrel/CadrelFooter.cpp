#include "cadrel/CadrelFooter.h"

#include <limits>

namespace cadrels {

namespace {
constexpr int French = 0;
}

TextId FooterWordId(std::size_t count, int language)
{
    const bool plural = language == French ? count > 1 : count != 1;
    return plural ? TextId::ItemPlural : TextId::ItemSingular;
}

std::wstring ComposeFooterText(std::size_t count, std::wstring_view word, std::wstring_view sizeText)
{
    std::wstring text = std::to_wstring(count);
    text += L' ';
    text += word;
    if (!sizeText.empty()) {
        text += L"   \u00B7   ";
        text += sizeText;
    }
    return text;
}

std::uint64_t TotalItemSize(const std::vector<CadrelItem>& items)
{
    constexpr std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t total = 0;
    for (const CadrelItem& item : items) {
        total = item.size > most - total ? most : total + item.size;
    }
    return total;
}

}  // namespace cadrels
