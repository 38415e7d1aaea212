// SHA-256 through CNG: the system's own provider, nothing bundled.
#include "policy/Policy.h"

#include "base/UniqueHandle.h"

#include <bcrypt.h>

#include <algorithm>

#include <vector>

namespace cadrels {
namespace {

struct AlgorithmTraits {
    using Type = BCRYPT_ALG_HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { BCryptCloseAlgorithmProvider(h, 0); }
};
struct HashTraits {
    using Type = BCRYPT_HASH_HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { BCryptDestroyHash(h); }
};

constexpr ULONG DigestBytes = 32;

}  // namespace

std::string Sha256Hex(std::string_view bytes)
{
    UniqueResource<AlgorithmTraits> algorithm;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(algorithm.Put(), BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
        return {};
    }
    // The hash object lives in memory CNG sizes for us; it must outlive the handle.
    ULONG objectSize = 0;
    ULONG written = 0;
    if (!BCRYPT_SUCCESS(BCryptGetProperty(algorithm.Get(), BCRYPT_OBJECT_LENGTH, reinterpret_cast<PUCHAR>(&objectSize),
                                          sizeof objectSize, &written, 0))) {
        return {};
    }
    std::vector<UCHAR> object(objectSize);
    UniqueResource<HashTraits> hash;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm.Get(), hash.Put(), object.data(), objectSize, nullptr, 0, 0))) {
        return {};
    }
    // BCryptHashData takes a ULONG length; a password never comes near it,
    // but feed longer input in pieces all the same.
    size_t done = 0;
    while (done < bytes.size()) {
        const ULONG piece = static_cast<ULONG>(std::min<size_t>(bytes.size() - done, 1u << 30));
        if (!BCRYPT_SUCCESS(BCryptHashData(hash.Get(), reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data() + done)),
                                           piece, 0))) {
            return {};
        }
        done += piece;
    }
    UCHAR digest[DigestBytes] = {};
    if (!BCRYPT_SUCCESS(BCryptFinishHash(hash.Get(), digest, DigestBytes, 0))) {
        return {};
    }
    static constexpr char Hex[] = "0123456789abcdef";
    std::string text;
    text.reserve(DigestBytes * 2);
    for (UCHAR byte : digest) {
        text += Hex[byte >> 4];
        text += Hex[byte & 0x0F];
    }
    return text;
}

}  // namespace cadrels
