#include "online/UpdateManifest.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

constexpr char Digest[] = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

TEST(UpdateManifest, ReadsEveryMember)
{
    UpdateManifest manifest;
    ASSERT_EQ(ReadUpdateManifest(R"({"version":"v1.2.3","url":"HTTPS://example.test/setup.exe",
        "notes":"Corrections","sha256":")" + std::string(Digest) + R"(","mandatory":true,"extra":[1]})",
                                 manifest),
              ManifestReading::Complete);
    EXPECT_EQ(manifest.version, "1.2.3");
    EXPECT_EQ(manifest.parsed, (Version{1, 2, 3}));
    EXPECT_EQ(manifest.url, "HTTPS://example.test/setup.exe");
    EXPECT_EQ(manifest.notes, "Corrections");
    EXPECT_EQ(manifest.sha256, Digest);
    EXPECT_TRUE(manifest.mandatory);
}

TEST(UpdateManifest, MissingOrMistypedMembers)
{
    struct Case {
        const char* body;
        ManifestReading reading;
        const char* url;
        bool mandatory;
    };
    const Case cases[] = {
        {"", ManifestReading::Unusable, "", false},
        {"[1,2]", ManifestReading::Unusable, "", false},
        {"\"1.0\"", ManifestReading::Unusable, "", false},
        {"{\"version\":\"1.0\"", ManifestReading::Unusable, "", false},
        {"{}", ManifestReading::NoVersion, "", false},
        {"{\"version\":\"\"}", ManifestReading::NoVersion, "", false},
        {"{\"version\":\"v\"}", ManifestReading::NoVersion, "", false},
        {"{\"version\":2}", ManifestReading::NoVersion, "", false},
        {"{\"version\":\"2\",\"url\":\"http://example.test/a.exe\"}", ManifestReading::Complete, "", false},
        {"{\"version\":\"2\",\"url\":\"https://\"}", ManifestReading::Complete, "", false},
        {"{\"version\":\"2\",\"url\":\"ftp://example.test/a\"}", ManifestReading::Complete, "", false},
        {"{\"version\":\"2\",\"url\":7}", ManifestReading::Complete, "", false},
        {"{\"version\":\"2\",\"url\":\"https://a\"}", ManifestReading::Complete, "https://a", false},
        {"{\"version\":\"2\",\"mandatory\":1}", ManifestReading::Complete, "", true},
        {"{\"version\":\"2\",\"mandatory\":0}", ManifestReading::Complete, "", false},
        {"{\"version\":\"2\",\"mandatory\":\"yes\"}", ManifestReading::Complete, "", false},
        {"{\"version\":\"2\",\"sha256\":12,\"notes\":false}", ManifestReading::Complete, "", false},
    };
    for (const Case& c : cases) {
        UpdateManifest manifest;
        manifest.notes = "left over";
        EXPECT_EQ(ReadUpdateManifest(c.body, manifest), c.reading) << c.body;
        EXPECT_EQ(manifest.url, c.url) << c.body;
        EXPECT_EQ(manifest.mandatory, c.mandatory) << c.body;
        EXPECT_TRUE(manifest.notes.empty()) << c.body;
        EXPECT_TRUE(manifest.sha256.empty()) << c.body;
    }
}

TEST(UpdateManifest, DigestComparisonIgnoresCaseButNotLength)
{
    std::array<std::uint8_t, 32> digest{};
    for (size_t i = 0; i < digest.size(); ++i) {
        digest[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    const std::string lower = HexLower(digest.data(), digest.size());
    ASSERT_EQ(lower.substr(0, 6), "a0a1a2");
    std::string upper = lower;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_TRUE(DigestMatches(lower, digest));
    EXPECT_TRUE(DigestMatches(upper, digest));
    EXPECT_FALSE(DigestMatches(lower.substr(0, 63), digest));
    EXPECT_FALSE(DigestMatches(lower + "0", digest));
    std::string changed = lower;
    changed[63] = changed[63] == '0' ? '1' : '0';
    EXPECT_FALSE(DigestMatches(changed, digest));
    EXPECT_FALSE(DigestTextUsable(lower.substr(0, 63)));
    EXPECT_TRUE(DigestTextUsable(upper));
}

}  // namespace
}  // namespace cadrels
