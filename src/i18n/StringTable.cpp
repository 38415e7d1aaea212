#include "i18n/StringTable.h"

#include "i18n/LanguageTexts.h"
#include "i18n/WideFormat.h"

#include <cstdarg>

namespace cadrels {
namespace {

using namespace i18n;

struct LanguageInfo {
    const LanguageTexts* texts;
    const char* code;
    const wchar_t* nativeName;
};

// Column order is part of the layout file (the "language" index): never reorder.
const LanguageInfo Languages[LanguageCount] = {
    {&French, "fr", L"Français"},
    {&English, "en", L"English"},
    {&Spanish, "es", L"Español"},
    {&German, "de", L"Deutsch"},
    {&Italian, "it", L"Italiano"},
    {&Portuguese, "pt", L"Português"},
    {&Dutch, "nl", L"Nederlands"},
    {&Polish, "pl", L"Polski"},
    {&Russian, "ru", L"Русский"},
    {&Turkish, "tr", L"Türkçe"},
    {&ChineseSimplified, "zh", L"中文(简体)"},
    {&Japanese, "ja", L"日本語"},
    {&Korean, "ko", L"한국어"},
    {&Hindi, "hi", L"हिन्दी"},
    {&Bengali, "bn", L"বাংলা"},
    {&Indonesian, "id", L"Bahasa Indonesia"},
    {&Vietnamese, "vi", L"Tiếng Việt"},
    {&Thai, "th", L"ไทย"},
    {&ChineseTraditional, "zh-tw", L"中文(繁體)"},
};

int currentLanguage = 0;

int FindCode(std::string_view code)
{
    for (int i = 0; i < LanguageCount; ++i) {
        if (code == Languages[i].code) {
            return i;
        }
    }
    return -1;
}


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

const wchar_t* Tr(TextId id)
{
    const auto index = static_cast<unsigned>(id);
    if (index >= static_cast<unsigned>(StringCount)) {
        return L"";
    }
    return (*Languages[currentLanguage].texts)[index];
}

std::wstring TrFormat(TextId id, ...)
{
    va_list args;
    va_start(args, id);
    std::wstring result = FormatWideV(Tr(id), args);
    va_end(args);
    return result;
}

const wchar_t* LanguageName(int index)
{
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(LanguageCount)) {
        return L"";
    }
    return Languages[index].nativeName;
}

const char* LanguageCode(int index)
{
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(LanguageCount)) {
        return "";
    }
    return Languages[index].code;
}

void SetUiLanguage(int index)
{
    currentLanguage = index < 0 ? 0 : (index >= LanguageCount ? LanguageCount - 1 : index);
}

int UiLanguage()
{
    return currentLanguage;
}

int LanguageIndexFromCode(std::string_view code)
{
    std::string lower(code);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    const int exact = FindCode(lower);
    if (exact >= 0) {
        return exact;
    }
    const size_t dash = lower.find('-');
    if (dash != std::string::npos && dash > 0) {
        return FindCode(std::string_view(lower).substr(0, dash));
    }
    return -1;
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
