#include "online/ServiceRequest.h"
#include "online/ServiceUrl.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(ServiceUrl, SplitsOriginsAndDownloadAddresses)
{
    struct Case {
        const wchar_t* url;
        bool secure;
        const wchar_t* host;
        unsigned port;
        const wchar_t* path;
    };
    const Case cases[] = {
        {L"https://service.cadrels.app", true, L"service.cadrels.app", 443, L"/"},
        {L"HTTPS://Example.test:8443/a/b?x=1#frag", true, L"Example.test", 8443, L"/a/b?x=1"},
        {L"http://127.0.0.1/", false, L"127.0.0.1", 80, L"/"},
        {L"https://h?q=1", true, L"h", 443, L"/?q=1"},
        {L"https://h:65535", true, L"h", 65535, L"/"},
    };
    for (const Case& c : cases) {
        const std::optional<UrlParts> parts = SplitUrl(c.url);
        ASSERT_TRUE(parts) << c.url;
        EXPECT_EQ(parts->secure, c.secure) << c.url;
        EXPECT_EQ(parts->host, c.host) << c.url;
        EXPECT_EQ(parts->port, c.port) << c.url;
        EXPECT_EQ(parts->pathAndQuery, c.path) << c.url;
    }
    for (const wchar_t* bad : {L"", L"ftp://h/", L"https://", L"https://:443/", L"https://h:0/", L"https://h:65536/",
                               L"https://h:12a/", L"https://user@evil.test/", L"https://[::1]/", L"//h/x",
                               L"https://h:/x"}) {
        EXPECT_FALSE(SplitUrl(bad)) << bad;
    }
}

TEST(ServiceUrl, OnlyLoopbackHttpsOverridesTheOrigin)
{
    const wchar_t* builtIn = BuiltInServiceOrigin;
    EXPECT_EQ(ChooseServiceOrigin(L"", builtIn), builtIn);
    EXPECT_EQ(ChooseServiceOrigin(L"https://localhost:8443", builtIn), L"https://localhost:8443");
    EXPECT_EQ(ChooseServiceOrigin(L"https://LOCALHOST", builtIn), L"https://LOCALHOST");
    EXPECT_EQ(ChooseServiceOrigin(L"https://127.0.0.1:9", builtIn), L"https://127.0.0.1:9");
    EXPECT_EQ(ChooseServiceOrigin(L"http://localhost:8080", builtIn), builtIn);
    EXPECT_EQ(ChooseServiceOrigin(L"https://evil.test", builtIn), builtIn);
    EXPECT_EQ(ChooseServiceOrigin(L"https://localhost.evil.test", builtIn), builtIn);
    EXPECT_EQ(ChooseServiceOrigin(L"https://localhost@evil.test", builtIn), builtIn);
}

}  // namespace
}  // namespace cadrels
