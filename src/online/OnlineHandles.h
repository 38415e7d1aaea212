// Owners for the handles of WinHTTP and of the cryptography primitives.
#pragma once

#include "base/UniqueHandle.h"

#include <windows.h>

#include <bcrypt.h>
#include <winhttp.h>

namespace cadrels {

struct InternetHandleTraits {
    using Type = HINTERNET;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::WinHttpCloseHandle(h); }
};

struct AlgorithmHandleTraits {
    using Type = BCRYPT_ALG_HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::BCryptCloseAlgorithmProvider(h, 0); }
};

struct HashHandleTraits {
    using Type = BCRYPT_HASH_HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::BCryptDestroyHash(h); }
};

struct KeyHandleTraits {
    using Type = BCRYPT_KEY_HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::BCryptDestroyKey(h); }
};

using UniqueInternet = UniqueResource<InternetHandleTraits>;
using UniqueAlgorithm = UniqueResource<AlgorithmHandleTraits>;
using UniqueHash = UniqueResource<HashHandleTraits>;
using UniqueKeyHandle = UniqueResource<KeyHandleTraits>;

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
