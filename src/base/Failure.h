// Linear error handling for COM and Win32 calls.
#pragma once

#include <windows.h>

#include <string>

namespace cadrels {

// The start-up failure text: "<expression> a echoue (HRESULT 0x%08X)", cut to
// 255 characters.
std::string FailureText(const char* expressionText, HRESULT hr);

// Start-up code only: throws std::runtime_error with FailureText.
[[noreturn]] void ThrowFailure(const char* expressionText, HRESULT hr);

// Where a failure changes nothing but is worth knowing: logs FailureText
// through DebugLog and hands the HRESULT back.
HRESULT LogIfFailed(HRESULT hr, const char* expressionText);

inline void CheckHr(HRESULT hr, const char* expressionText)
{
    if (FAILED(hr)) {
        ThrowFailure(expressionText, hr);
    }
}

}  // namespace cadrels

#define CADRELS_RETURN_IF_FAILED(expression)          \
    do {                                              \
        const HRESULT cadrelsHr_ = (expression);      \
        if (FAILED(cadrelsHr_)) {                     \
            return cadrelsHr_;                        \
        }                                             \
    } while (false)

#define CADRELS_CHECK(expression) ::cadrels::CheckHr((expression), #expression)
#define CADRELS_LOG_IF_FAILED(expression) ::cadrels::LogIfFailed((expression), #expression)
