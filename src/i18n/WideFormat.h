// Wide printf into a string of exactly the right size (MS rules: %s and %ls
// are wide strings, %hs a narrow one).
#pragma once

#include <cstdarg>
#include <string>

namespace cadrels {

std::wstring FormatWideV(const wchar_t* format, va_list args);
std::wstring FormatWide(const wchar_t* format, ...);

}  // namespace cadrels
