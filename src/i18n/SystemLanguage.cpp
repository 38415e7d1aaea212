#include "i18n/SystemLanguage.h"

#include "i18n/TextEncoding.h"

#include <windows.h>

#include <vector>

namespace cadrels {

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

}  // namespace cadrels
