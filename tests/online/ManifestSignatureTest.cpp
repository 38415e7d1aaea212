// The signature check with key pairs made here; the local service tests cover
// signatures made by the release signing script.
#include "online/ManifestSignature.h"
#include "online/OnlineHandles.h"
#include "base/Sha256.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace cadrels {
namespace {

std::string Base64(const std::uint8_t* bytes, size_t count)
{
    static constexpr char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t i = 0; i < count; i += 3) {
        const std::uint32_t group = (std::uint32_t{bytes[i]} << 16) |
                                    (i + 1 < count ? std::uint32_t{bytes[i + 1]} << 8 : 0) |
                                    (i + 2 < count ? bytes[i + 2] : 0);
        text += Digits[(group >> 18) & 63];
        text += Digits[(group >> 12) & 63];
        text += i + 1 < count ? Digits[(group >> 6) & 63] : '=';
        text += i + 2 < count ? Digits[group & 63] : '=';
    }
    return text;
}

class TestKeyPair {
public:
    TestKeyPair()
    {
        EXPECT_TRUE(BCRYPT_SUCCESS(
            BCryptOpenAlgorithmProvider(algorithm_.Put(), BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0)));
        EXPECT_TRUE(BCRYPT_SUCCESS(BCryptGenerateKeyPair(algorithm_.Get(), key_.Put(), 256, 0)));
        EXPECT_TRUE(BCRYPT_SUCCESS(BCryptFinalizeKeyPair(key_.Get(), 0)));
        unsigned char blob[sizeof(BCRYPT_ECCKEY_BLOB) + 64] = {};
        ULONG written = 0;
        EXPECT_TRUE(BCRYPT_SUCCESS(
            BCryptExportKey(key_.Get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, blob, sizeof blob, &written, 0)));
        std::memcpy(publicKey_.xy.data(), blob + sizeof(BCRYPT_ECCKEY_BLOB), 64);
    }

    const EcdsaP256PublicKey& PublicKey() const { return publicKey_; }

    ManifestSignatureBytes Sign(std::string_view bytes) const
    {
        Sha256Digest digest{};
        EXPECT_TRUE(Sha256Of(bytes, digest));
        ManifestSignatureBytes signature{};
        ULONG written = 0;
        EXPECT_TRUE(BCRYPT_SUCCESS(BCryptSignHash(key_.Get(), nullptr, digest.data(), 32, signature.data(), 64,
                                                  &written, 0)));
        return signature;
    }

private:
    UniqueAlgorithm algorithm_;
    UniqueKeyHandle key_;
    EcdsaP256PublicKey publicKey_;
};

TEST(Sha256, KnownDigests)
{
    Sha256Digest digest{};
    ASSERT_TRUE(Sha256Of("abc", digest));
    EXPECT_EQ(digest[0], 0xba);
    EXPECT_EQ(digest[31], 0xad);
    // Streaming in pieces gives the same digest as one call.
    Sha256 streamed;
    ASSERT_TRUE(streamed.Open());
    ASSERT_TRUE(streamed.Add("a", 1));
    ASSERT_TRUE(streamed.Add("bc", 2));
    Sha256Digest pieces{};
    ASSERT_TRUE(streamed.Finish(pieces));
    EXPECT_EQ(pieces, digest);
    EXPECT_FALSE(streamed.Add("d", 1));
}

TEST(ManifestSignature, AcceptsOnlyTheExactBytesUnderTheRightKey)
{
    const TestKeyPair pair;
    const TestKeyPair other;
    const std::string manifest = R"({"version":"9.0.0","url":"https://localhost/x.exe"})";
    const ManifestSignatureBytes signature = pair.Sign(manifest);

    EXPECT_TRUE(VerifyManifestSignature(manifest, signature, pair.PublicKey()));
    EXPECT_FALSE(VerifyManifestSignature(manifest, signature, other.PublicKey()));
    EXPECT_FALSE(VerifyManifestSignature(manifest, signature, ReleasePublicKey()));
    EXPECT_FALSE(VerifyManifestSignature(manifest + "\n", signature, pair.PublicKey()));
    std::string tampered = manifest;
    tampered[13] = '1';
    EXPECT_FALSE(VerifyManifestSignature(tampered, signature, pair.PublicKey()));
    for (size_t byte : {0u, 31u, 32u, 63u}) {
        ManifestSignatureBytes flipped = signature;
        flipped[byte] ^= 0x01;
        EXPECT_FALSE(VerifyManifestSignature(manifest, flipped, pair.PublicKey())) << byte;
    }
    EXPECT_FALSE(VerifyManifestSignature(manifest, ManifestSignatureBytes{}, pair.PublicKey()));
    // A point that is not on the curve is refused, not trusted.
    EXPECT_FALSE(VerifyManifestSignature(manifest, signature, EcdsaP256PublicKey{}));
}

TEST(SignatureText, DecodesOnlyCanonicalSixtyFourByteBase64)
{
    ManifestSignatureBytes bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    const std::string text = Base64(bytes.data(), bytes.size());
    ASSERT_EQ(text.size(), 88u);
    EXPECT_EQ(DecodeSignatureText(text), bytes);
    EXPECT_EQ(DecodeSignatureText(" \r\n" + text + "\n"), bytes);

    EXPECT_FALSE(DecodeSignatureText(""));
    EXPECT_FALSE(DecodeSignatureText(text.substr(0, 87)));
    EXPECT_FALSE(DecodeSignatureText(Base64(bytes.data(), 63)));
    EXPECT_FALSE(DecodeSignatureText("<html>not found</html>"));
    std::string badDigit = text;
    badDigit[10] = '*';
    EXPECT_FALSE(DecodeSignatureText(badDigit));
    // The last digit's unused bits must be zero, so one signature has one text.
    std::string loose = text;
    loose[85] = static_cast<char>(loose[85] + 1);  // A Q g w are the canonical ones
    EXPECT_FALSE(DecodeSignatureText(loose));
    std::string inner = text;
    inner.insert(40, " ");
    EXPECT_FALSE(DecodeSignatureText(inner));
}

}  // namespace
}  // namespace cadrels
