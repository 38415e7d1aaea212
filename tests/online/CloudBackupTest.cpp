// The cloud backup request against the local HTTPS service: the exact body
// that arrives, and what counts as the service having taken the backup.
#include "LocalService.h"
#include "TestFiles.h"

#include "online/CloudBackup.h"

#include <gtest/gtest.h>

namespace cadrels::testing {
namespace {

// Short enough that the stalled answer fails quickly.
constexpr HttpLimits StallLimits{3000, 3000, 3000, 2000};

class CloudBackup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(service_.Open()) << "the local service is not running (local-service.sh start)";
        path_ = UniquePrefix() + L"/backup";
        endpoint_.origin = service_.Origin();
        endpoint_.limits = StallLimits;
    }
    void TearDown() override { service_.Unpublish(path_); }

    bool Upload(const std::string& data = "{}")
    {
        return UploadCloudBackupTo(endpoint_, path_, L"CODE\"1", L"PC\\7", L"2024-03-15 14:25", L"2024-03-15 14:25",
                                   data);
    }

    LocalService service_;
    std::wstring path_;
    ServiceEndpoint endpoint_;
};

TEST_F(CloudBackup, SendsTheMembersInOrderEscapedAndSucceedsOnOk)
{
    ASSERT_TRUE(service_.Publish(path_, R"({"ok":true})"));
    EXPECT_TRUE(Upload("{\n\t\"name\": \"a\\\\b\"\r\n}"));
    EXPECT_EQ(service_.Received(path_),
              "{\"code\":\"CODE\\\"1\",\"machineId\":\"PC\\\\7\",\"name\":\"2024-03-15 14:25\","
              "\"created\":\"2024-03-15 14:25\",\"data\":\"{\\n\\\"name\\\": \\\"a\\\\\\\\b\\\"\\r\\n}\"}");
}

TEST_F(CloudBackup, FailsOnAServerErrorAnAnswerWithoutOkAndAStall)
{
    // The status is not examined, but a 500 page is no agreement.
    ASSERT_TRUE(service_.Publish(path_, "<html>Internal error</html>", R"({"status": 500})"));
    EXPECT_FALSE(Upload());
    ASSERT_TRUE(service_.Publish(path_, R"({"saved":true})", "{}"));
    EXPECT_FALSE(Upload());
    ASSERT_TRUE(service_.Publish(path_, R"({"ok":false})", "{}"));
    EXPECT_FALSE(Upload());
    ASSERT_TRUE(service_.Publish(path_, R"({"ok":true})", R"({"stall": 8})"));
    EXPECT_FALSE(Upload());
}

TEST_F(CloudBackup, AccountFileIsEmptyUntilWritten)
{
    const std::wstring folder = MakeTempFolder(L"account");
    const std::wstring file = folder + L"\\account.json";
    EXPECT_FALSE(LoadOnlineAccountFrom(file).Complete());
    ASSERT_TRUE(WriteBytes(file, OnlineAccountText({L"C-1", L"M-2"})));
    const OnlineAccount account = LoadOnlineAccountFrom(file);
    EXPECT_EQ(account.code, L"C-1");
    EXPECT_EQ(account.machineId, L"M-2");
    RemoveTree(folder);
}

}  // namespace
}  // namespace cadrels::testing
