// The real program checks for updates at start-up against the local service:
// it refuses a manifest that its own release key did not sign, and quitting
// while a check still waits for the service ends cleanly.
#include "CadrelsProcess.h"
#include "LocalService.h"

#include "online/ServiceRequest.h"

#include <gtest/gtest.h>

namespace cadrels::testing {
namespace {

TEST(UpdateStartup, ChecksAtStartAndQuitsCleanlyDuringACheck)
{
    LocalService service;
    ASSERT_TRUE(service.Open()) << "the local service is not running (local-service.sh start)";
    ASSERT_TRUE(SetEnvironmentVariableW(ServiceOriginVariable, service.Origin().c_str()));

    // Signed, but with the test key: the program trusts only its release key.
    const std::string manifest =
        "{\"version\":\"99.0.0\",\"url\":\"" + std::string("https://localhost/setup.exe") + "\",\"sha256\":\"" +
        std::string(64, 'c') + "\"}";
    ASSERT_TRUE(service.PublishSigned(L"/update", manifest));
    ASSERT_TRUE(service.Publish(L"/update", {}, "{\"stall\": 4}"));
    {
        CadrelsProcess cadrels;
        ASSERT_TRUE(cadrels.Start());
        ASSERT_TRUE(cadrels.WaitUntilReady());
        EXPECT_TRUE(cadrels.WaitForLine(L"Service en ligne : https://localhost:", 2000));
        // The check is still waiting for the stalled manifest.
        EXPECT_EQ(cadrels.Quit(), std::optional<DWORD>(0));
        EXPECT_EQ(cadrels.CountLines(L"Verification des mises a jour"), 0u);
    }

    ASSERT_TRUE(service.Unpublish(L"/update"));
    ASSERT_TRUE(service.Publish(L"/update", manifest));
    {
        CadrelsProcess cadrels;
        ASSERT_TRUE(cadrels.Start());
        ASSERT_TRUE(cadrels.WaitUntilReady());
        EXPECT_TRUE(cadrels.WaitForLine(L"signature du manifeste invalide", 15000));
        EXPECT_EQ(cadrels.CountLines(L"Installeur"), 0u);
        EXPECT_EQ(cadrels.Quit(), std::optional<DWORD>(0));
    }
    service.Unpublish(L"/update");
    service.Unpublish(L"/update.sig");
}

}  // namespace
}  // namespace cadrels::testing
