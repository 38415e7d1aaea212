#include "base/DebugLog.h"

#include <windows.h>

#include <cstdarg>
#include <cwchar>
#include <string>

namespace cadrels {

void DebugLog(const wchar_t* format, ...)
{
    constexpr size_t BufferChars = 512;
    wchar_t buffer[BufferChars];
    va_list args;
    va_start(args, format);
    // _vsnwprintf does not terminate a text that fills the buffer.
    const int written = _vsnwprintf(buffer, BufferChars - 1, format, args);
    va_end(args);
    buffer[written < 0 ? BufferChars - 1 : static_cast<size_t>(written)] = L'\0';

    std::wstring line = L"[Cadrels] ";
    line += buffer;
    line += L'\n';
    OutputDebugStringW(line.c_str());
}

}  // namespace cadrels
