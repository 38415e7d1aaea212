// Owners for the handles of the system's cryptography primitives (CNG).
#pragma once

#include "base/UniqueHandle.h"

#include <windows.h>

#include <bcrypt.h>

namespace cadrels {

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

using UniqueAlgorithm = UniqueResource<AlgorithmHandleTraits>;
using UniqueHash = UniqueResource<HashHandleTraits>;
using UniqueKeyHandle = UniqueResource<KeyHandleTraits>;

}  // namespace cadrels
