// The Windows macros and types the pure code and its tests name, for the host
// build only: colours, hotkey modifiers and a few virtual keys.
#pragma once

#include <cstdint>

#ifndef _WIN32
#include <clocale>
#include <cstdlib>
#include <locale.h>

// Microsoft's per-locale conversion, through the POSIX one.
using _locale_t = locale_t;
inline _locale_t _create_locale(int, const char* name)
{
    return newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
}
inline double _strtod_l(const char* text, char** end, _locale_t locale)
{
    return strtod_l(text, end, locale);
}

using DWORD = std::uint32_t;
using UINT = unsigned int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using COLORREF = DWORD;
#define RGB(r, g, b) \
    (static_cast<COLORREF>((static_cast<BYTE>(r) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8)) | \
                           (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))
#define GetRValue(rgb) (static_cast<BYTE>(rgb))
#define GetGValue(rgb) (static_cast<BYTE>(static_cast<WORD>(rgb) >> 8))
#define GetBValue(rgb) (static_cast<BYTE>((rgb) >> 16))
#define MOD_ALT 0x0001
#define MOD_CONTROL 0x0002
#define MOD_SHIFT 0x0004
#define MOD_WIN 0x0008
#define MOD_NOREPEAT 0x4000
#define VK_F9 0x78
#define VK_NEXT 0x22
#endif
