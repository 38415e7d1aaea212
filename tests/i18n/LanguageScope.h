// Switches the interface language for the life of a scope.
#pragma once

#include "i18n/StringTable.h"

namespace cadrels::testing {

class LanguageScope {
public:
    explicit LanguageScope(int language) : saved_(UiLanguage()) { SetUiLanguage(language); }
    ~LanguageScope() { SetUiLanguage(saved_); }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

private:
    int saved_;
};

}  // namespace cadrels::testing
