#include "online/ManifestSignature.h"

#include "online/OnlineHandles.h"
#include "base/Sha256.h"

#include <cstring>

namespace cadrels {

const EcdsaP256PublicKey& ReleasePublicKey()
{
    // The private half never enters the repository; scripts/sign-manifest.py
    // signs with it on the release machine.
    static const EcdsaP256PublicKey key{{
        0x49, 0x98, 0x57, 0xb7, 0x10, 0xce, 0x94, 0xa5, 0x9c, 0x22, 0xc1, 0xc4, 0x99, 0xb7, 0x15, 0xd7,
        0x5a, 0xba, 0x5b, 0x91, 0xc1, 0xfc, 0x5a, 0x3f, 0x62, 0xa8, 0xff, 0x50, 0x0f, 0x50, 0x35, 0xe4,
        0x6e, 0x2e, 0x84, 0xe8, 0xf2, 0x7f, 0x39, 0x79, 0x44, 0x7d, 0x33, 0x9d, 0x19, 0x15, 0xbb, 0x44,
        0xc9, 0x72, 0x36, 0xdf, 0x8a, 0xd1, 0xec, 0x32, 0xe5, 0xc2, 0x13, 0xcd, 0x12, 0x14, 0xcc, 0x35,
    }};
    return key;
}

bool VerifyManifestSignature(std::string_view manifest, const ManifestSignatureBytes& signature,
                             const EcdsaP256PublicKey& key)
{
    Sha256Digest digest{};
    if (!Sha256Of(manifest, digest)) {
        return false;
    }
    UniqueAlgorithm algorithm;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(algorithm.Put(), BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) {
        return false;
    }
    unsigned char blob[sizeof(BCRYPT_ECCKEY_BLOB) + 64] = {};
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    std::memcpy(blob, &header, sizeof header);
    std::memcpy(blob + sizeof header, key.xy.data(), key.xy.size());
    // The import refuses a point that is not on the curve.
    UniqueKeyHandle publicKey;
    if (!BCRYPT_SUCCESS(BCryptImportKeyPair(algorithm.Get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, publicKey.Put(), blob,
                                            sizeof blob, 0))) {
        return false;
    }
    ManifestSignatureBytes copy = signature;
    return BCRYPT_SUCCESS(BCryptVerifySignature(publicKey.Get(), nullptr, digest.data(), digest.size(), copy.data(),
                                                copy.size(), 0));
}

}  // namespace cadrels
