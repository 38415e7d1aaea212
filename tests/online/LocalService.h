// The local HTTPS service the online tests talk to (local-service.sh starts
// it): where it listens, the test signing key, and publishing files with
// their serving options. Each test publishes under a prefix of its own, so
// test programs running side by side never see each other's files.
#pragma once

#include "online/ManifestSignature.h"

#include <string>
#include <string_view>

namespace cadrels::testing {

class LocalService {
public:
    // False (with a message for the test) when the service is not running.
    bool Open();

    std::wstring Origin() const;                    // https://localhost:<port>
    std::wstring Url(std::wstring_view path) const;  // Origin() + path
    const EcdsaP256PublicKey& TestKey() const { return testKey_; }

    // Serves `bytes` at `path` ("/prefix/name"); `meta` is the JSON object of
    // serving options (local_service.py), empty for none.
    bool Publish(std::wstring_view path, std::string_view bytes, std::string_view meta = {}) const;
    // Serves `manifest` at path and its signature, made with the test key by
    // the release signing script, at path + ".sig".
    bool PublishSigned(std::wstring_view path, std::string_view manifest) const;
    // Removes the file and its options; false when neither was there.
    bool Unpublish(std::wstring_view path) const;
    // The body of the last POST to `path`, empty when none arrived.
    std::string Received(std::wstring_view path) const;
    // Removes what the last POST to `path` left.
    void ForgetReceived(std::wstring_view path) const;

private:
    std::wstring FilePath(std::wstring_view path) const;

    std::wstring directory_;
    std::wstring port_;
    EcdsaP256PublicKey testKey_;
};

// Unique per call: "/t<process id>-<counter>".
std::wstring UniquePrefix();

}  // namespace cadrels::testing
