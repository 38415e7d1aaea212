// Finding and reading the policy file on the real system: the registry value,
// the ownership check on opened handles, and the password digest through CNG.
#include "TestFiles.h"

#include "base/UniqueHandle.h"
#include "model/PathText.h"
#include "policy/PasswordThrottle.h"
#include "policy/Policy.h"

#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace cadrels {
namespace {

constexpr wchar_t TestKey[] = L"Software\\CadrelsPolicyTest";

class RegistryLocation : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteKeyW(HKEY_CURRENT_USER, TestKey); }

    void SetValue(DWORD type, const std::wstring& text)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, TestKey, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        UniqueKey owned(key);
        ASSERT_EQ(RegSetValueExW(key, L"PolicyFile", 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
};

TEST_F(RegistryLocation, PlainAndExpandableValues)
{
    EXPECT_EQ(PolicyFileFromRegistry(HKEY_CURRENT_USER, TestKey), L"") << "no key";

    SetValue(REG_SZ, L" \t C:\\Corp\\policy.json \t");
    EXPECT_EQ(PolicyFileFromRegistry(HKEY_CURRENT_USER, TestKey), L"C:\\Corp\\policy.json");

    SetValue(REG_SZ, L"%ProgramData%\\Corp\\policy.json");
    EXPECT_EQ(PolicyFileFromRegistry(HKEY_CURRENT_USER, TestKey), L"%ProgramData%\\Corp\\policy.json")
        << "a plain string is taken as written";

    SetValue(REG_EXPAND_SZ, L"  %ProgramData%\\Corp\\policy.json");
    EXPECT_EQ(PolicyFileFromRegistry(HKEY_CURRENT_USER, TestKey),
              testing::KnownFolderPath(FOLDERID_ProgramData) + L"\\Corp\\policy.json");

    SetValue(REG_SZ, L" \t ");
    EXPECT_EQ(PolicyFileFromRegistry(HKEY_CURRENT_USER, TestKey), L"");

    SetValue(REG_SZ, std::wstring(1500, L'a'));
    EXPECT_EQ(PolicyFileFromRegistry(HKEY_CURRENT_USER, TestKey), L"") << "longer than 2048 bytes";

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, TestKey, 0, KEY_WRITE, &key), ERROR_SUCCESS);
    const DWORD number = 1;
    RegSetValueExW(key, L"PolicyFile", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(key);
    EXPECT_EQ(PolicyFileFromRegistry(HKEY_CURRENT_USER, TestKey), L"") << "not a string";
}

// The process environment is whatever the user starting Cadrels set; only the
// machine's variables may steer where the policy is read from.
TEST_F(RegistryLocation, ExpansionIgnoresTheProcessEnvironment)
{
    const std::wstring programData = testing::KnownFolderPath(FOLDERID_ProgramData);
    ASSERT_FALSE(programData.empty());
    ASSERT_TRUE(SetEnvironmentVariableW(L"ProgramData", L"C:\\Elsewhere"));
    ASSERT_TRUE(SetEnvironmentVariableW(L"CadrelsPolicyTestOnly", L"C:\\Planted"));
    SetValue(REG_EXPAND_SZ, L"%ProgramData%\\Corp\\policy.json");
    const std::wstring fromProgramData = PolicyFileFromRegistry(HKEY_CURRENT_USER, TestKey);
    SetValue(REG_EXPAND_SZ, L"%CadrelsPolicyTestOnly%\\policy.json");
    const std::wstring fromUserVariable = PolicyFileFromRegistry(HKEY_CURRENT_USER, TestKey);
    wchar_t windows[MAX_PATH] = {};
    ASSERT_GT(GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
    wchar_t savedRoot[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"SystemRoot", savedRoot, MAX_PATH), 0u);
    ASSERT_TRUE(SetEnvironmentVariableW(L"SystemRoot", L"C:\\Elsewhere"));
    SetValue(REG_EXPAND_SZ, L"%SystemRoot%\\policy.json");
    const std::wstring fromSystemRoot = PolicyFileFromRegistry(HKEY_CURRENT_USER, TestKey);
    SetEnvironmentVariableW(L"SystemRoot", savedRoot);
    SetEnvironmentVariableW(L"ProgramData", programData.c_str());
    SetEnvironmentVariableW(L"CadrelsPolicyTestOnly", nullptr);

    EXPECT_TRUE(EqualsIgnoringAsciiCase(fromSystemRoot, std::wstring(windows) + L"\\policy.json")) << fromSystemRoot;

    EXPECT_EQ(fromProgramData, programData + L"\\Corp\\policy.json");
    EXPECT_EQ(fromUserVariable, L"%CadrelsPolicyTestOnly%\\policy.json") << "a variable only this process has";
}

TEST(PolicyLocation, FallsBackToTheSharedDataFolder)
{
    EXPECT_EQ(PolicyFileLocation(), testing::KnownFolderPath(FOLDERID_ProgramData) + L"\\Cadrels\\policy.json");
}

class TrustedFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = testing::MakeTempFolder(L"policy");
        path_ = folder_ + L"\\policy.json";
    }
    void TearDown() override { testing::RemoveTree(folder_); }

    PolicyFileRead Read()
    {
        return ReadTrustedPolicyFile(path_, bytes_, why_);
    }

    std::wstring folder_;
    std::wstring path_;
    std::string bytes_;
    std::wstring why_;
};

TEST_F(TrustedFile, TheUsersOwnFileIsReadAndOthersWritesAreRefused)
{
    ASSERT_FALSE(CurrentUserSid().empty());
    // Wine's user is an administrator; the user's own file is trusted only
    // because of that.
    ASSERT_TRUE(TokenHoldsAdministrators());
    EXPECT_TRUE(CurrentPolicyReader().administrator);
    EXPECT_EQ(Read(), PolicyFileRead::Missing);
    EXPECT_EQ(why_, L"");

    ASSERT_TRUE(testing::WriteBytes(path_, "\xEF\xBB\xBF{\"lockQuit\":true}"));
    ASSERT_EQ(Read(), PolicyFileRead::Read) << why_;
    EXPECT_EQ(bytes_, "\xEF\xBB\xBF{\"lockQuit\":true}");
    EXPECT_TRUE(ParsePolicy(bytes_).IsQuitLocked());

    // Everyone may write: Wine turns this into a world-writable file and
    // reports it back, so the real check on the handle sees it.
    ASSERT_TRUE(testing::MakeWritableByEveryone(path_));
    EXPECT_EQ(Read(), PolicyFileRead::Refused);
    EXPECT_EQ(why_, L"le fichier est modifiable par S-1-1-0");
    EXPECT_TRUE(bytes_.empty()) << "nothing of a refused file is kept";
}

TEST_F(TrustedFile, AnEmptyFileIsNotAPolicy)
{
    ASSERT_TRUE(testing::WriteBytes(path_, ""));
    EXPECT_EQ(Read(), PolicyFileRead::Unreadable);
}

TEST(PolicyRetry, WaitsOnlyWhileTheFileIsBusy)
{
    using R = PolicyFileRead;
    struct Case {
        const char* what;
        std::vector<R> answers;
        R expected;
        unsigned waits;
    };
    const Case cases[] = {
        {"free at once", {R::Read}, R::Read, 0},
        {"missing is not retried", {R::Missing}, R::Missing, 0},
        {"refused is not retried", {R::Refused}, R::Refused, 0},
        {"freed after two tries", {R::Busy, R::Busy, R::Read}, R::Read, 2},
        {"freed, then empty", {R::Busy, R::Unreadable}, R::Unreadable, 1},
        {"held throughout", std::vector<R>(50, R::Busy), R::Busy, 5},
    };
    for (const Case& c : cases) {
        size_t next = 0;
        unsigned waits = 0;
        unsigned waitedMs = 0;
        const R result = RetryWhileBusy([&] { return c.answers.at(next++); },
                                        [&](unsigned ms) {
                                            ++waits;
                                            waitedMs += ms;
                                        },
                                        500, 100);
        EXPECT_EQ(result, c.expected) << c.what;
        EXPECT_EQ(waits, c.waits) << c.what;
        EXPECT_EQ(next, c.waits + 1u) << c.what << ": one attempt after each wait";
        EXPECT_LE(waitedMs, 500u) << c.what;
    }
}

TEST_F(TrustedFile, AFileHeldWithoutSharingIsTriedAgain)
{
    ASSERT_TRUE(testing::WriteBytes(path_, "{\"lockQuit\":true}"));
    UniqueFile held(CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);

    EXPECT_EQ(ReadPolicyFileRetrying(path_, bytes_, why_, 300, 100), PolicyFileRead::Busy);
    EXPECT_NE(why_.find(L"erreur 32"), std::wstring::npos) << why_;

    std::thread release([&] {
        Sleep(400);
        held.Reset();
    });
    const PolicyFileRead read = ReadPolicyFileRetrying(path_, bytes_, why_, 2000, 100);
    release.join();
    EXPECT_EQ(read, PolicyFileRead::Read) << why_;
    EXPECT_EQ(bytes_, "{\"lockQuit\":true}");
}

TEST(PolicyRetry, AnUnreadablePolicyLocksWithNoPasswordThatOpens)
{
    const PolicyDocument locked = LockedPolicy();
    EXPECT_TRUE(locked.InForce());
    EXPECT_TRUE(locked.AreCadrelsLocked());
    EXPECT_TRUE(locked.AreSettingsLocked());
    EXPECT_FALSE(locked.IsQuitLocked());
    for (const wchar_t* guess : {L"", L"locked", L"admin"}) {
        EXPECT_FALSE(PasswordMatches(locked, guess)) << guess;
    }
}

TEST(AdminPassword, Sha256KnownVectors)
{
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(AdminPassword, OnlyTheExactLowerCaseDigestOpens)
{
    const PolicyDocument policy = ParsePolicy(
        R"({"lockSettings":true,"adminPasswordSha256":"850f7dc43910ff890f8879c0ed26fe697c93a067ad93a7d50f466a7028a9bf4e"})");
    EXPECT_TRUE(PasswordMatches(policy, L"café")) << "hashed as UTF-8";
    EXPECT_FALSE(PasswordMatches(policy, L"cafe"));
    EXPECT_FALSE(PasswordMatches(policy, L"Café"));
    EXPECT_FALSE(PasswordMatches(policy, L""));

    const PolicyDocument upper = ParsePolicy(
        R"({"adminPasswordSha256":"850F7DC43910FF890F8879C0ED26FE697C93A067AD93A7D50F466A7028A9BF4E"})");
    EXPECT_FALSE(PasswordMatches(upper, L"café"));

    EXPECT_FALSE(PasswordMatches(ParsePolicy(R"({"lockSettings":true})"), L""));
    EXPECT_FALSE(PasswordMatches(ParsePolicy(R"({"adminPasswordSha256":""})"), L""))
        << "no digest never matches, not even an empty password";
    EXPECT_FALSE(CheckAdminPassword(L"")) << "this process has no policy";
}

TEST(AdminPassword, Pbkdf2KnownVectors)
{
    EXPECT_EQ(Pbkdf2Sha256Hex("password", "salt", 1, 32),
              "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b");
    EXPECT_EQ(Pbkdf2Sha256Hex("password", "salt", 4096, 32),
              "c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a");
    EXPECT_EQ(Pbkdf2Sha256Hex("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 40),
              "348c89dbcbd32b2f32d814b8116e84cf2b17347ebc1800181c4e2a1fb8dd53e1c635518c7dac47e9");
    EXPECT_EQ(Pbkdf2Sha256Hex("password", "salt", 0, 32), "");
}

// "café" derived with salt a1b2c3d4e5f60718 over 1000 rounds.
constexpr char CafeKey[] = "32a624e93af305010ca3a526b4f96c84d6d74ca9ca7f2f0f90399ccb0efd16d7";
// The plain digest of "other".
constexpr char OtherDigest[] = "d9298a10d1b0735837dc4bd85dac641b0f3cef27a47e5d53a54f2f3f5b2fcffa";

PolicyDocument SaltedPolicy(std::string_view salt, std::string_view iterations, std::string_view key = CafeKey)
{
    return ParsePolicy(std::string(R"({"lockSettings":true,"adminPasswordSha256":")") + OtherDigest +
                       R"(","adminPasswordPbkdf2Sha256":")" + std::string(key) + R"(","adminPasswordSalt":")" +
                       std::string(salt) + R"(","adminPasswordIterations":)" + std::string(iterations) + "}");
}

TEST(AdminPassword, TheSaltedFormWinsOverThePlainDigest)
{
    ASSERT_EQ(Sha256Hex("other"), OtherDigest);
    const PolicyDocument salted = SaltedPolicy("a1b2c3d4e5f60718", "1000");
    EXPECT_TRUE(salted.AreSettingsLocked());
    EXPECT_TRUE(PasswordMatches(salted, L"café"));
    EXPECT_FALSE(PasswordMatches(salted, L"other")) << "the plain digest no longer opens";
    EXPECT_FALSE(PasswordMatches(salted, L"cafe"));

    struct Case {
        const char* what;
        PolicyDocument policy;
    };
    const Case unusable[] = {
        {"other salt", SaltedPolicy("a1b2c3d4e5f60719", "1000")},
        {"other count", SaltedPolicy("a1b2c3d4e5f60718", "999")},
        {"salt not hexadecimal", SaltedPolicy("a1b2c3d4e5f6071g", "1000")},
        {"salt of odd length", SaltedPolicy("a1b2c3d4e5f6071", "1000")},
        {"no salt", SaltedPolicy("", "1000")},
        {"count not a number", SaltedPolicy("a1b2c3d4e5f60718", "\"1000\"")},
        {"key in upper case", SaltedPolicy("a1b2c3d4e5f60718", "1000",
                                           "32A624E93AF305010CA3A526B4F96C84D6D74CA9CA7F2F0F90399CCB0EFD16D7")},
        {"key too short", SaltedPolicy("a1b2c3d4e5f60718", "1000", "32a624e93af30501")},
    };
    for (const Case& c : unusable) {
        EXPECT_TRUE(c.policy.AreSettingsLocked()) << c.what;
        EXPECT_FALSE(PasswordMatches(c.policy, L"café")) << c.what;
        EXPECT_FALSE(PasswordMatches(c.policy, L"other")) << c.what << ": never falls back to the plain digest";
    }
    const PolicyDocument saltedOnly = ParsePolicy(std::string(R"({"lockSettings":true,"adminPasswordPbkdf2Sha256":")") +
                                                  CafeKey + R"(","adminPasswordSalt":"a1b2c3d4e5f60718",)" +
                                                  R"("adminPasswordIterations":1000})");
    EXPECT_TRUE(saltedOnly.AreSettingsLocked()) << "the salted form alone locks the settings";
    EXPECT_TRUE(PasswordMatches(saltedOnly, L"café"));
}

TEST(AdminPassword, WrongAnswersMakeTheProcessWait)
{
    for (int i = 0; i < 3 && AdminPasswordWaitMs() == 0; ++i) {
        EXPECT_FALSE(CheckAdminPassword(L"guess"));
    }
    const std::uint64_t wait = AdminPasswordWaitMs();
    EXPECT_GT(wait, 0u);
    EXPECT_LE(wait, PasswordThrottle::MaxDelayMs);
    EXPECT_FALSE(CheckAdminPassword(L"guess"));
    EXPECT_LE(AdminPasswordWaitMs(), wait) << "an answer while waiting is refused unchecked, and does not double the wait";
}

}  // namespace
}  // namespace cadrels
