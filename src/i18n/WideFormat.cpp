#include "i18n/WideFormat.h"

#include <cwchar>

namespace cadrels {

std::wstring FormatWideV(const wchar_t* format, va_list args)
{
    va_list measureArgs;
    va_copy(measureArgs, args);
    const int length = _vscwprintf(format, measureArgs);
    va_end(measureArgs);
    std::wstring result;
    if (length > 0) {
        result.resize(static_cast<size_t>(length));
        // The string's own terminator slot gives the formatter its NUL room.
        _vsnwprintf(result.data(), static_cast<size_t>(length) + 1, format, args);
    }
    return result;
}

std::wstring FormatWide(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring result = FormatWideV(format, args);
    va_end(args);
    return result;
}

}  // namespace cadrels
