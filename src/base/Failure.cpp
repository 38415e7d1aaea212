#include "base/Failure.h"

#include "base/DebugLog.h"

#include <cstdio>
#include <stdexcept>

namespace cadrels {

std::string FailureText(const char* expressionText, HRESULT hr)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, "%s a echoue (HRESULT 0x%08X)", expressionText,
                  static_cast<unsigned>(hr));
    return buffer;
}

HRESULT LogIfFailed(HRESULT hr, const char* expressionText)
{
    if (FAILED(hr)) {
        DebugLog(L"%hs", FailureText(expressionText, hr).c_str());
    }
    return hr;
}

void ThrowFailure(const char* expressionText, HRESULT hr)
{
    throw std::runtime_error(FailureText(expressionText, hr));
}

}  // namespace cadrels
