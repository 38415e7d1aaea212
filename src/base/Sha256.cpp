#include "base/Sha256.h"

#include "base/HexDigit.h"

#include <climits>

namespace cadrels {

bool Sha256::Open()
{
    hash_.Reset();
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(algorithm_.Put(), BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
        return false;
    }
    DWORD objectLength = 0;
    ULONG written = 0;
    if (!BCRYPT_SUCCESS(BCryptGetProperty(algorithm_.Get(), BCRYPT_OBJECT_LENGTH,
                                          reinterpret_cast<PUCHAR>(&objectLength), sizeof objectLength, &written,
                                          0))) {
        return false;
    }
    object_.assign(objectLength, 0);
    return BCRYPT_SUCCESS(
        BCryptCreateHash(algorithm_.Get(), hash_.Put(), object_.data(), objectLength, nullptr, 0, 0));
}

bool Sha256::Add(const void* bytes, size_t count)
{
    if (!hash_) {
        return false;
    }
    auto* next = static_cast<PUCHAR>(const_cast<void*>(bytes));
    while (count > 0) {
        const ULONG part = count > ULONG_MAX ? ULONG_MAX : static_cast<ULONG>(count);
        if (!BCRYPT_SUCCESS(BCryptHashData(hash_.Get(), next, part, 0))) {
            return false;
        }
        next += part;
        count -= part;
    }
    return true;
}

bool Sha256::Finish(Sha256Digest& digest)
{
    if (!hash_) {
        return false;
    }
    const bool finished = BCRYPT_SUCCESS(BCryptFinishHash(hash_.Get(), digest.data(), 32, 0));
    hash_.Reset();
    return finished;
}

bool Sha256Of(std::string_view bytes, Sha256Digest& digest)
{
    Sha256 hash;
    return hash.Open() && hash.Add(bytes.data(), bytes.size()) && hash.Finish(digest);
}

std::string Sha256Hex(std::string_view bytes)
{
    Sha256Digest digest{};
    return Sha256Of(bytes, digest) ? HexLower(digest.data(), digest.size()) : std::string();
}

std::string Pbkdf2Sha256Hex(std::string_view password, std::string_view salt, std::uint32_t iterations,
                            size_t length)
{
    UniqueAlgorithm hmac;
    if (iterations == 0 || length == 0 || length > 1024 || password.size() > ULONG_MAX || salt.size() > ULONG_MAX ||
        !BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(hmac.Put(), BCRYPT_SHA256_ALGORITHM, nullptr,
                                                    BCRYPT_ALG_HANDLE_HMAC_FLAG))) {
        return {};
    }
    std::vector<std::uint8_t> key(length);
    // CNG takes non-const buffers it only reads.
    auto* passwordBytes = reinterpret_cast<PUCHAR>(const_cast<char*>(password.data()));
    auto* saltBytes = reinterpret_cast<PUCHAR>(const_cast<char*>(salt.data()));
    if (!BCRYPT_SUCCESS(BCryptDeriveKeyPBKDF2(hmac.Get(), passwordBytes, static_cast<ULONG>(password.size()), saltBytes,
                                              static_cast<ULONG>(salt.size()), iterations, key.data(),
                                              static_cast<ULONG>(key.size()), 0))) {
        return {};
    }
    return HexLower(key.data(), key.size());
}

}  // namespace cadrels
