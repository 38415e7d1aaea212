// The HTTPS client and the update service against the local HTTPS service:
// real requests, real signatures from the release signing script, real
// downloads and a harmless stand-in installer.
#include "MessageWindow.h"
#include "LocalService.h"
#include "TestFiles.h"

#include "i18n/StringTable.h"
#include "online/ServiceRequest.h"
#include "base/Sha256.h"
#include "online/UpdateManifest.h"
#include "online/UpdateService.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace cadrels::testing {
namespace {

constexpr UINT StatusMessage = WM_APP + 31;
constexpr HttpLimits ShortLimits{3000, 3000, 3000, 5000};

std::vector<std::wstring> FolderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

std::string FakeInstallerBytes()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.resize(path.find_last_of(L'\\') + 1);
    return ReadBytes(path + L"fake_installer.exe");
}

std::string DigestText(std::string_view bytes)
{
    Sha256Digest digest{};
    EXPECT_TRUE(Sha256Of(bytes, digest));
    return HexLower(digest.data(), digest.size());
}

std::string Manifest(std::string_view version, const std::wstring& url, std::string_view sha256)
{
    return "{\"version\":\"" + std::string(version) + "\",\"url\":\"" + std::string(url.begin(), url.end()) +
           "\",\"notes\":\"Notes\",\"sha256\":\"" + std::string(sha256) + "\",\"mandatory\":0}";
}

class LocalServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(service_.Open()) << "the local service is not running (local-service.sh start)";
        prefix_ = UniquePrefix();
        temporaryRoot_ = MakeTempFolder(L"online");
    }
    void TearDown() override { RemoveTree(temporaryRoot_); }

    UpdateConfig Config() const
    {
        UpdateConfig config;
        config.service.origin = service_.Origin();
        config.service.limits = ShortLimits;
        config.manifestPath = prefix_ + L"/update";
        config.signaturePath = prefix_ + L"/update.sig";
        config.publicKey = service_.TestKey();
        config.running = Version{1, 0, 5};
        config.runningText = L"1.0.5";
        config.download.http = ShortLimits;
        config.temporaryRoot = temporaryRoot_;
        return config;
    }

    UpdateStatusRecord Check(UpdateService& updates) const
    {
        EXPECT_TRUE(updates.StartCheck(window_.Get(), StatusMessage));
        EXPECT_TRUE(window_.WaitFor(StatusMessage, 20000));
        return updates.Status();
    }

    // Publishes the installer bytes and a signed manifest for them, checks,
    // installs, and returns the status after the install's message.
    UpdateStatusRecord Install(std::string_view version, std::string_view bytes, std::string_view sha256,
                               std::string_view installerMeta = {}) const
    {
        const std::wstring installer = prefix_ + L"/setup.exe";
        EXPECT_TRUE(service_.Publish(installer, bytes, installerMeta));
        EXPECT_TRUE(service_.PublishSigned(prefix_ + L"/update", Manifest(version, service_.Url(installer), sha256)));
        UpdateService updates(Config());
        const UpdateStatusRecord checked = Check(updates);
        EXPECT_TRUE(checked.updateAvailable);
        EXPECT_TRUE(updates.StartInstall(window_.Get(), StatusMessage));
        EXPECT_TRUE(updates.Status().downloading);
        EXPECT_TRUE(window_.WaitFor(StatusMessage, 30000));
        return updates.Status();
    }

    ServiceEndpoint Endpoint() const { return ServiceEndpoint{service_.Origin(), ShortLimits}; }

    LocalService service_;
    MessageWindow window_;
    std::wstring prefix_;
    std::wstring temporaryRoot_;
};

TEST_F(LocalServiceTest, ServiceRequestReadsBodiesWithinTheCapAndTheTimeOuts)
{
    ASSERT_TRUE(service_.Publish(prefix_ + L"/hello", "{\"a\":1}"));
    ASSERT_TRUE(service_.Publish(prefix_ + L"/exact", {}, "{\"fill\": 8388608}"));
    ASSERT_TRUE(service_.Publish(prefix_ + L"/large", {}, "{\"fill\": 9437184}"));
    ASSERT_TRUE(service_.Publish(prefix_ + L"/slow", "late", "{\"stall\": 6}"));
    std::string response;

    EXPECT_TRUE(ServiceRequestTo(Endpoint(), L"GET", prefix_ + L"/hello", {}, response));
    EXPECT_EQ(response, "{\"a\":1}");
    // The status is not examined: the caller judges the body.
    EXPECT_TRUE(ServiceRequestTo(Endpoint(), L"GET", prefix_ + L"/missing", {}, response));
    EXPECT_EQ(response, "not found");

    EXPECT_TRUE(ServiceRequestTo(Endpoint(), L"GET", prefix_ + L"/exact", {}, response));
    EXPECT_EQ(response.size(), MaxServiceResponseBytes);
    EXPECT_FALSE(ServiceRequestTo(Endpoint(), L"GET", prefix_ + L"/large", {}, response));
    EXPECT_TRUE(response.empty());

    ServiceEndpoint impatient = Endpoint();
    impatient.limits.receiveMs = 1500;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ServiceRequestTo(impatient, L"GET", prefix_ + L"/slow", {}, response));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(5000));

    EXPECT_FALSE(ServiceRequestTo(ServiceEndpoint{L"https://localhost:9", ShortLimits}, L"GET", L"/", {}, response));
    EXPECT_FALSE(ServiceRequestTo(ServiceEndpoint{L"not an address", ShortLimits}, L"GET", L"/", {}, response));
}

TEST_F(LocalServiceTest, CheckBelievesOnlySignedManifests)
{
    const std::wstring installer = service_.Url(prefix_ + L"/setup.exe");
    const std::string newer = Manifest("v1.0.10", installer, std::string(64, 'a'));

    ASSERT_TRUE(service_.PublishSigned(prefix_ + L"/update", newer));
    {
        UpdateService updates(Config());
        const UpdateStatusRecord status = Check(updates);
        EXPECT_TRUE(status.checkDone);
        EXPECT_FALSE(status.checkFailed);
        EXPECT_TRUE(status.updateAvailable);
        EXPECT_EQ(status.newVersion, L"1.0.10");
        EXPECT_EQ(status.currentVersion, L"1.0.5");
        EXPECT_EQ(status.url, installer);
        EXPECT_EQ(status.notes, L"Notes");
        EXPECT_FALSE(status.checking);
    }
    {
        // Signed, but by a key other than the one the program trusts.
        UpdateConfig config = Config();
        config.publicKey = ReleasePublicKey();
        UpdateService updates(config);
        const UpdateStatusRecord status = Check(updates);
        EXPECT_TRUE(status.checkFailed);
        EXPECT_FALSE(status.updateAvailable);
        EXPECT_EQ(status.checkFailedText, Tr(TextId::UpdateInfoBadSignature));
        EXPECT_FALSE(updates.StartInstall(window_.Get(), StatusMessage));
    }

    // A signature made for other bytes: the tampered manifest.
    std::string signature;
    ASSERT_TRUE(ServiceRequestTo(Endpoint(), L"GET", prefix_ + L"/update.sig", {}, signature));
    std::string tampered = newer;
    tampered.replace(tampered.find("1.0.10"), 6, "1.0.11");
    ASSERT_TRUE(service_.Publish(prefix_ + L"/update", tampered));
    ASSERT_TRUE(service_.Unpublish(prefix_ + L"/update.sig"));
    ASSERT_TRUE(service_.Publish(prefix_ + L"/update.sig", signature));
    {
        UpdateService updates(Config());
        const UpdateStatusRecord status = Check(updates);
        EXPECT_TRUE(status.checkFailed);
        EXPECT_FALSE(status.updateAvailable);
        EXPECT_TRUE(status.newVersion.empty());
        EXPECT_EQ(status.checkFailedText, Tr(TextId::UpdateInfoBadSignature));
    }

    ASSERT_TRUE(service_.Unpublish(prefix_ + L"/update.sig"));
    {
        UpdateService updates(Config());
        const UpdateStatusRecord status = Check(updates);
        EXPECT_TRUE(status.checkFailed);
        EXPECT_FALSE(status.updateAvailable);
        EXPECT_EQ(status.checkFailedText, Tr(TextId::UpdateInfoNotSigned));
        EXPECT_FALSE(updates.StartInstall(window_.Get(), StatusMessage));
    }
}

TEST_F(LocalServiceTest, OlderOrEqualVersionsAreNotOffered)
{
    const std::string bytes = FakeInstallerBytes();
    const std::wstring installer = prefix_ + L"/setup.exe";
    ASSERT_TRUE(service_.Publish(installer, bytes));
    for (const char* version : {"1.0.5", "v1.0.5", "0.9.9", "1.0.4.99"}) {
        ASSERT_TRUE(
            service_.PublishSigned(prefix_ + L"/update", Manifest(version, service_.Url(installer), DigestText(bytes))));
        UpdateService updates(Config());
        const UpdateStatusRecord status = Check(updates);
        EXPECT_TRUE(status.checkDone) << version;
        EXPECT_FALSE(status.updateAvailable) << version;
        EXPECT_FALSE(updates.StartInstall(window_.Get(), StatusMessage)) << version;
    }
    EXPECT_TRUE(FolderEntries(temporaryRoot_).empty());
}

TEST_F(LocalServiceTest, OneCheckAtATime)
{
    ASSERT_TRUE(service_.Publish(prefix_ + L"/update", "{}", "{\"stall\": 2}"));
    UpdateService updates(Config());
    ASSERT_TRUE(updates.StartCheck(window_.Get(), StatusMessage));
    EXPECT_TRUE(updates.Status().checking);
    EXPECT_FALSE(updates.StartCheck(window_.Get(), StatusMessage));
    ASSERT_TRUE(window_.WaitFor(StatusMessage, 20000));
    EXPECT_FALSE(updates.Status().checking);
    // Unsigned: even "no version" is not believed.
    EXPECT_TRUE(updates.Status().checkFailed);
    EXPECT_FALSE(window_.WaitFor(StatusMessage, 300));
}

TEST_F(LocalServiceTest, GoodUpdateLaunchesInsideItsFreshFolder)
{
    const std::string bytes = FakeInstallerBytes();
    ASSERT_GT(bytes.size(), 2u);
    // The version text tries to climb out of the folder; the parsed numbers
    // name the file. Upper-case digests match too.
    std::string upper = DigestText(bytes);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const UpdateStatusRecord status = Install("9.0.1\\\\..\\\\..\\\\escaped", bytes, upper);
    EXPECT_TRUE(status.launched);
    EXPECT_FALSE(status.downloading);
    EXPECT_FALSE(status.installFailed);
    EXPECT_EQ(status.stateText, Tr(TextId::InstallStarted));
    EXPECT_EQ(status.progress, 100);

    const std::vector<std::wstring> entries = FolderEntries(temporaryRoot_);
    ASSERT_EQ(entries.size(), 1u);
    const std::wstring& folderName = entries[0];
    ASSERT_EQ(folderName.size(), 15u + 16u);
    EXPECT_EQ(folderName.substr(0, 15), L"Cadrels-update-");
    EXPECT_EQ(folderName.find_first_not_of(L"0123456789abcdef", 15), std::wstring::npos);
    const std::wstring folder = temporaryRoot_ + L"\\" + folderName;
    EXPECT_EQ(ReadBytes(folder + L"\\Cadrels-Setup-9.0.1.exe"), bytes);

    const std::wstring marker = folder + L"\\installer-ran.txt";
    for (int i = 0; i < 100 && !FileExists(marker); ++i) {
        Sleep(100);
    }
    const std::string ran = ReadBytes(marker);
    const std::wstring commandLine(reinterpret_cast<const wchar_t*>(ran.data()), ran.size() / sizeof(wchar_t));
    EXPECT_NE(commandLine.find(L"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS /RESTARTAPPLICATIONS"),
              std::wstring::npos)
        << "installer command line: " << std::string(commandLine.begin(), commandLine.end());
}

TEST_F(LocalServiceTest, DownloadWithoutLengthStillInstalls)
{
    const std::string bytes = FakeInstallerBytes();
    const UpdateStatusRecord status = Install("2.0", bytes, DigestText(bytes), "{\"length\": \"absent\"}");
    EXPECT_TRUE(status.launched);
    EXPECT_EQ(status.progress, -1);
}

TEST_F(LocalServiceTest, EveryFailedInstallLeavesNothingBehind)
{
    const std::string bytes = FakeInstallerBytes();
    const std::string digest = DigestText(bytes);
    std::string wrongDigest = digest;
    wrongDigest[0] = wrongDigest[0] == '0' ? '1' : '0';
    const std::string notExecutable = "PK\x03\x04 this is an archive, not a program";

    struct Case {
        const char* name;
        std::string bytes;
        std::string sha256;
        std::string meta;
        int text;
    };
    const Case cases[] = {
        {"wrong digest", bytes, wrongDigest, "", 100},
        {"not an executable", notExecutable, DigestText(notExecutable), "", 103},
        {"status 404", bytes, digest, "{\"status\": 404}", 101},
        {"Content-Length 0", bytes, digest, "{\"length\": \"zero\"}", 101},
        {"63-character digest", bytes, digest.substr(0, 63), "", 99},
    };
    for (const Case& c : cases) {
        const UpdateStatusRecord status = Install("3.0", c.bytes, c.sha256, c.meta);
        EXPECT_TRUE(status.installFailed) << c.name;
        EXPECT_FALSE(status.launched) << c.name;
        EXPECT_FALSE(status.downloading) << c.name;
        EXPECT_EQ(status.stateText, Tr(static_cast<TextId>(c.text))) << c.name;
        EXPECT_TRUE(FolderEntries(temporaryRoot_).empty()) << c.name;
        service_.Unpublish(prefix_ + L"/setup.exe");
    }
}

TEST_F(LocalServiceTest, HttpDownloadAddressesAreNeverOffered)
{
    const std::string manifest = "{\"version\":\"5.0\",\"url\":\"http://localhost/setup.exe\",\"sha256\":\"" +
                                 std::string(64, 'b') + "\"}";
    ASSERT_TRUE(service_.PublishSigned(prefix_ + L"/update", manifest));
    UpdateService updates(Config());
    const UpdateStatusRecord status = Check(updates);
    EXPECT_TRUE(status.updateAvailable);
    EXPECT_TRUE(status.url.empty());
    EXPECT_FALSE(updates.StartInstall(window_.Get(), StatusMessage));
}

TEST_F(LocalServiceTest, ACheckEndingAfterCloseDropsItsResult)
{
    ASSERT_TRUE(service_.PublishSigned(prefix_ + L"/update", Manifest("7.0", L"https://localhost/x", "")));
    ASSERT_TRUE(service_.Publish(prefix_ + L"/update", {}, "{\"stall\": 2}"));
    {
        UpdateService updates(Config());
        ASSERT_TRUE(updates.StartCheck(window_.Get(), StatusMessage));
        // The service goes away while its thread still waits for the answer.
    }
    EXPECT_FALSE(window_.WaitFor(StatusMessage, 6000));
}

}  // namespace
}  // namespace cadrels::testing
