// What the pure code takes from Windows, done the portable way for the host
// build: UTF-8 and wide text (wchar_t holds a whole code point here), new
// identifiers, and wide formatting with Microsoft's meaning of %s (a wide
// string) and %c (a wide character).
#include "i18n/TextEncoding.h"
#include "i18n/WideFormat.h"
#include "model/NewId.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <random>

namespace cadrels {

std::wstring Utf8ToWide(std::string_view text)
{
    std::wstring result;
    size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        int length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3 : (byte >> 3) == 0x1E ? 4 : 0;
        char32_t code = length == 1 ? byte : length == 2 ? byte & 0x1F : length == 3 ? byte & 0x0F : byte & 0x07;
        bool valid = length > 0 && i + static_cast<size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        valid = valid && !(length == 2 && code < 0x80) && !(length == 3 && code < 0x800) &&
                !(length == 4 && (code < 0x10000 || code > 0x10FFFF)) && !(code >= 0xD800 && code <= 0xDFFF);
        result.push_back(valid ? static_cast<wchar_t>(code) : L'\uFFFD');
        i += valid ? static_cast<size_t>(length) : 1;
    }
    return result;
}

std::string WideToUtf8(std::wstring_view text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t code = static_cast<char32_t>(text[i]);
        // Text that came from UTF-16 may still hold surrogate pairs.
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            result += static_cast<char>(code);
        } else if (code < 0x800) {
            result += static_cast<char>(0xC0 | (code >> 6));
            result += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            result += static_cast<char>(0xE0 | (code >> 12));
            result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            result += static_cast<char>(0xF0 | (code >> 18));
            result += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return result;
}

std::string NewId()
{
    static std::mt19937_64 random{std::random_device{}()};
    const unsigned long long a = random();
    const unsigned long long b = random();
    char text[39];
    std::snprintf(text, sizeof text, "{%08llX-%04llX-%04llX-%04llX-%012llX}", a >> 32, (a >> 16) & 0xFFFF,
                  a & 0xFFFF, b >> 48, b & 0xFFFFFFFFFFFFull);
    return text;
}

std::wstring FormatWideV(const wchar_t* format, va_list args)
{
    // glibc reads %s as a narrow string; the program's formats mean wide.
    std::wstring translated;
    for (const wchar_t* p = format; *p != L'\0'; ++p) {
        translated.push_back(*p);
        if (*p != L'%') {
            continue;
        }
        ++p;
        while (*p != L'\0' && std::wcschr(L"-+ #0123456789.*", *p) != nullptr) {
            translated.push_back(*p++);
        }
        if (*p == L'h' && (p[1] == L's' || p[1] == L'c')) {
            ++p;  // a narrow string or character: glibc's plain %s and %c
        } else if (*p == L's' || *p == L'c') {
            translated.push_back(L'l');
        }
        if (*p == L'\0') {
            break;
        }
        translated.push_back(*p);
    }
    std::wstring result(256, L'\0');
    for (;;) {
        va_list attempt;
        va_copy(attempt, args);
        const int written = std::vswprintf(result.data(), result.size(), translated.c_str(), attempt);
        va_end(attempt);
        if (written >= 0) {
            result.resize(static_cast<size_t>(written));
            return result;
        }
        if (result.size() > (1u << 24)) {
            return {};
        }
        result.resize(result.size() * 2);
    }
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
