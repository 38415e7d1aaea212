// Owners for the handles of WinHTTP (those of the cryptography primitives
// are in base/CngHandles.h).
#pragma once

#include "base/CngHandles.h"
#include "base/UniqueHandle.h"

#include <windows.h>

#include <winhttp.h>

namespace cadrels {

struct InternetHandleTraits {
    using Type = HINTERNET;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::WinHttpCloseHandle(h); }
};

using UniqueInternet = UniqueResource<InternetHandleTraits>;

// The receive time-out of WinHttpSetTimeouts covers reading the body, not the
// wait for the response headers, which has its own 90-second default: a
// server that accepts and then says nothing would hold the request that long.
// Bounding that wait by the same receive time-out keeps every request within
// its limits.
inline void LimitResponseWait(HINTERNET request, int receiveMs)
{
    DWORD value = static_cast<DWORD>(receiveMs);
    ::WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &value, sizeof value);
}

}  // namespace cadrels
