// The signature that makes an update manifest trustworthy: ECDSA over P-256
// with SHA-256, made over the exact bytes of GET /update and published at
// GET /update.sig (see SignatureText.h for its text form). Whoever controls
// the manifest controls which installer runs, so the manifest's own digest is
// not enough; only the holder of the release key can sign.
#pragma once

#include "online/SignatureText.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace cadrels {

// The public point X || Y, 32 bytes each, big-endian.
struct EcdsaP256PublicKey {
    std::array<std::uint8_t, 64> xy{};
};

// The key the program's releases are signed with.
const EcdsaP256PublicKey& ReleasePublicKey();

// True only when `signature` is a valid signature of `manifest` under `key`.
// Depends on nothing but its arguments, so tests bring their own key pair.
bool VerifyManifestSignature(std::string_view manifest, const ManifestSignatureBytes& signature,
                             const EcdsaP256PublicKey& key);

}  // namespace cadrels
