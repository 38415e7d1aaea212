#include "i18n/SystemLanguage.h"

#include "i18n/StringTable.h"
#include "i18n/TextEncoding.h"

#include <windows.h>

#include <vector>

namespace cadrels {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(prefix[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string SystemUiLocaleName()
{
    // The preferred list is what the Settings app orders; its first entry is
    // the language Windows itself is shown in.
    ULONG count = 0;
    ULONG chars = 0;
    if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &chars) && chars > 1) {
        std::vector<wchar_t> names(chars);
        if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &chars) && names[0] != L'\0') {
            return WideToUtf8(names.data());
        }
    }
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) > 0) {
        return WideToUtf8(name);
    }
    return {};
}

int LanguageIndexForLocale(std::string_view locale)
{
    if (StartsWithIgnoringCase(locale, "zh-hant") || StartsWithIgnoringCase(locale, "zh-hk") ||
        StartsWithIgnoringCase(locale, "zh-mo")) {
        return LanguageIndexFromCode("zh-tw");
    }
    if (StartsWithIgnoringCase(locale, "zh-hans")) {
        return LanguageIndexFromCode("zh");
    }
    return LanguageIndexFromCode(locale);
}

}  // namespace cadrels
