#include "online/UpdateManifest.h"

#include "model/JsonValue.h"

namespace cadrels {
namespace {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string StringMember(const JsonValue& object, std::string_view key)
{
    const JsonValue* member = object.Find(key);
    return member != nullptr ? std::string(member->StringOr("")) : std::string();
}

}  // namespace

bool IsHttpsUrl(std::string_view url)
{
    constexpr std::string_view Scheme = "https://";
    if (url.size() <= Scheme.size()) {
        return false;
    }
    for (size_t i = 0; i < Scheme.size(); ++i) {
        if (AsciiLower(url[i]) != Scheme[i]) {
            return false;
        }
    }
    return true;
}

ManifestReading ReadUpdateManifest(std::string_view body, UpdateManifest& manifest)
{
    manifest = UpdateManifest{};
    JsonValue root;
    if (!ParseJson(body, root) || !root.IsObject()) {
        return ManifestReading::Unusable;
    }
    std::string version = StringMember(root, "version");
    if (!version.empty() && (version.front() == 'v' || version.front() == 'V')) {
        version.erase(0, 1);
    }
    if (version.empty()) {
        return ManifestReading::NoVersion;
    }
    manifest.version = std::move(version);
    manifest.parsed = ParseVersion(manifest.version);
    manifest.url = StringMember(root, "url");
    if (!IsHttpsUrl(manifest.url)) {
        manifest.url.clear();
    }
    manifest.notes = StringMember(root, "notes");
    manifest.sha256 = StringMember(root, "sha256");
    if (const JsonValue* mandatory = root.Find("mandatory")) {
        manifest.mandatory = mandatory->BoolOr(false);
    }
    return ManifestReading::Complete;
}

bool DigestTextUsable(std::string_view sha256)
{
    return sha256.size() == 64;
}

bool DigestMatches(std::string_view sha256, const std::array<std::uint8_t, 32>& digest)
{
    if (!DigestTextUsable(sha256)) {
        return false;
    }
    const std::string expected = HexLower(digest.data(), digest.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        if (AsciiLower(sha256[i]) != expected[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace cadrels
