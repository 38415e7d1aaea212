// The real program sends its cloud backup to the local service: a cloud-only
// setup counts as backed up only when the service said ok, and without an
// account nothing is sent.
#include "CadrelsProcess.h"
#include "LocalService.h"
#include "Patience.h"
#include "PointerInput.h"
#include "TestFiles.h"

#include "model/LayoutFile.h"
#include "model/NewId.h"
#include "online/CloudBackup.h"

#include <gtest/gtest.h>

namespace cadrels::testing {
namespace {

class CloudBackupStartup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(service_.Open()) << "the local service is not running (local-service.sh start)";
        ASSERT_TRUE(SetEnvironmentVariableW(ServiceOriginVariable, service_.Origin().c_str()));
        appData_ = AppDataFolder();
        ASSERT_TRUE(RemoveTree(appData_));
        ASSERT_TRUE(CreateDirectoryW(appData_.c_str(), nullptr));
        service_.ForgetReceived(CloudBackupPath);
        Settings settings;
        Workspace page;
        page.id = NewId();
        page.name = L"Bureau";
        settings.workspaces.push_back(page);
        settings.backupEnabled = true;
        settings.backupCloud = true;
        settings.backupFreq = 0;
        ASSERT_TRUE(WriteBytes(appData_ + L"\\layout.json", SerializeSettings(settings)));
    }
    void TearDown() override
    {
        service_.Unpublish(CloudBackupPath);
        service_.ForgetReceived(CloudBackupPath);
        RemoveTree(appData_);
    }

    double SavedBackupLast() const
    {
        Settings settings;
        bool pagesFound = false;
        return LoadSettingsFile(appData_ + L"\\layout.json", settings, pagesFound) ? settings.backupLast : -1;
    }

    LocalService service_;
    std::wstring appData_;
};

TEST_F(CloudBackupStartup, ACloudOnlyBackupCountsOnceTheServiceSaysOk)
{
    ASSERT_TRUE(WriteBytes(appData_ + L"\\account.json", OnlineAccountText({L"CODE-1", L"PC-1"})));
    ASSERT_TRUE(service_.Publish(CloudBackupPath, R"({"ok":true})"));
    CadrelsProcess cadrels;
    ASSERT_TRUE(cadrels.Start());
    ASSERT_TRUE(cadrels.WaitForLine(L"Sauvegarde cloud acceptee", Patient(15000)));
    const std::string body = service_.Received(CloudBackupPath);
    EXPECT_EQ(body.rfind("{\"code\":\"CODE-1\",\"machineId\":\"PC-1\",\"name\":\"", 0), 0u) << body;
    EXPECT_NE(body.find("\"data\":\"{\\n  \\\"version\\\": 2,"), std::string::npos) << body;
    EXPECT_TRUE(WaitFor([&] { return SavedBackupLast() > 0; }, Patient(5000)));
    EXPECT_EQ(cadrels.Quit(), std::optional<DWORD>(0));
}

TEST_F(CloudBackupStartup, ARefusedOrAccountlessUploadLeavesTheLastBackupTime)
{
    ASSERT_TRUE(service_.Publish(CloudBackupPath, "<html>oops</html>", R"({"status": 500})"));
    {
        CadrelsProcess cadrels;
        ASSERT_TRUE(cadrels.Start());
        ASSERT_TRUE(cadrels.WaitForLine(L"aucun compte en ligne", Patient(15000)));
        EXPECT_EQ(cadrels.Quit(), std::optional<DWORD>(0));
        EXPECT_EQ(cadrels.CountLines(L"aucun compte en ligne"), 1u) << "said once";
        EXPECT_TRUE(service_.Received(CloudBackupPath).empty()) << "nothing sent without an account";
    }
    EXPECT_EQ(SavedBackupLast(), 0.0);
    ASSERT_TRUE(WriteBytes(appData_ + L"\\account.json", OnlineAccountText({L"CODE-1", L"PC-1"})));
    {
        CadrelsProcess cadrels;
        ASSERT_TRUE(cadrels.Start());
        ASSERT_TRUE(cadrels.WaitForLine(L"Sauvegarde cloud non faite", Patient(15000)));
        EXPECT_FALSE(service_.Received(CloudBackupPath).empty());
        EXPECT_EQ(cadrels.Quit(), std::optional<DWORD>(0));
    }
    EXPECT_EQ(SavedBackupLast(), 0.0);
}

}  // namespace
}  // namespace cadrels::testing
