// Every user-visible text, by its named id, in the current interface language.
#pragma once

#include "i18n/TextId.h"

#include <string>
#include <string_view>

namespace cadrels {

// The text of an id in the current language; never null. Ids outside the table
// (a value cast from a stored number) give the empty string.
const wchar_t* Tr(TextId id);

// Tr(id) used as a wide printf format (MS rules: %s is a wide string).
std::wstring TrFormat(TextId id, ...);

// The native name of a language; the empty string outside 0..18.
const wchar_t* LanguageName(int index);

// The code the administration policy uses ("fr", "en", ..., "zh-tw").
const char* LanguageCode(int index);

// Clamps to 0..18.
void SetUiLanguage(int index);
int UiLanguage();

// "pt-BR" gives 5, "ZH-TW" 18; -1 when nothing matches.
int LanguageIndexFromCode(std::string_view code);

// The interface language for a Windows locale name ("de-AT", "zh-Hant-TW"):
// one of the nineteen, or -1. Traditional Chinese is told by its script or by
// the regions that write it.
int LanguageIndexForLocale(std::string_view locale);

}  // namespace cadrels
