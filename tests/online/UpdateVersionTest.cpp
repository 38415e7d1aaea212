#include "online/UpdateVersion.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(UpdateVersion, ReadsUpToThreeComponents)
{
    struct Case {
        const char* text;
        Version expected;
    };
    const Case cases[] = {
        {"1.2", {1, 2, 0}},
        {"v2.0.1-beta", {2, 0, 1}},
        {"1.2.3.4", {1, 2, 3}},
        {"V10.20.30", {10, 20, 30}},
        {"release 3.4", {3, 4, 0}},
        {"", {0, 0, 0}},
        {"beta", {0, 0, 0}},
        {"1..5", {1, 0, 5}},
        {"7.", {7, 0, 0}},
        {"1.0\\..\\..\\x", {1, 0, 0}},
        {"01.002.0003", {1, 2, 3}},
        // A component past 32 bits saturates instead of wrapping to a small number.
        {"99999999999.1", {4294967295u, 1, 0}},
        {"4294967296", {4294967295u, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseVersion(c.text), c.expected) << c.text;
    }
}

TEST(UpdateVersion, ComparesNumbersNotText)
{
    const Version running = ParseVersion("1.0.5");
    struct Case {
        const char* manifest;
        bool newer;
    };
    const Case cases[] = {
        {"1.0.10", true}, {"1.0.5", false}, {"v1.0.5", false}, {"1.1", true},      {"0.9.9", false},
        {"2", true},      {"1.0.4", false}, {"1.0.5.9", false}, {"1.0.6-rc1", true}, {"99999999999", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsNewerVersion(ParseVersion(c.manifest), running), c.newer) << c.manifest;
    }
}

TEST(UpdateVersion, InstallerNameNeverCarriesTheManifestText)
{
    EXPECT_EQ(InstallerFileName(ParseVersion("1.0\\..\\..\\x")), L"Cadrels-Setup-1.0.0.exe");
    EXPECT_EQ(InstallerFileName(ParseVersion("v2.3.4-beta/../../evil")), L"Cadrels-Setup-2.3.4.exe");
    EXPECT_EQ(VersionText(ParseVersion("v2.0.1-beta")), "2.0.1");
}

}  // namespace
}  // namespace cadrels
