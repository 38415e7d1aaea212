// Who may have written the policy file, decided over what Windows reports.
// Wine reports every file as the user's own with a fixed access list, so the
// other owners and lists are only reachable here.
#include "policy/PolicyOwnership.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

constexpr char User[] = "S-1-5-21-1-2-3-1001";
const PolicyReader AdminUser{User, true};
const PolicyReader StandardUser{User, false};
constexpr char OtherUser[] = "S-1-5-21-1-2-3-1002";
constexpr char Users[] = "S-1-5-32-545";
constexpr char Everyone[] = "S-1-1-0";
constexpr char CreatorOwner[] = "S-1-3-0";

constexpr std::uint32_t FullControl = 0x1F01FF;
constexpr std::uint32_t ReadExecute = 0x1200A9;
constexpr std::uint32_t AddFileAndFolder = 0x000006;
constexpr std::uint32_t WriteData = 0x000002;
constexpr std::uint32_t DeleteChild = 0x000040;
constexpr std::uint32_t WriteDac = 0x040000;
constexpr std::uint32_t GenericAll = 0x10000000;
constexpr std::uint32_t InheritOnly = 0x08;

AccessEntry Allow(const char* sid, std::uint32_t mask, std::uint32_t flags = 0)
{
    return {AccessEntry::Kind::Allow, flags, mask, sid};
}

// What an administrator's deployment inherits from the shared data folder.
std::vector<AccessEntry> ProgramDataEntries()
{
    return {Allow(LocalSystemSid, FullControl), Allow(AdministratorsSid, FullControl),
            Allow(CreatorOwner, GenericAll, InheritOnly | 0x03), Allow(Users, ReadExecute),
            Allow(Users, AddFileAndFolder)};
}

TEST(PolicyOwnership, FileDecisions)
{
    struct Case {
        const char* what;
        ObjectSecurity file;
        TrustVerdict expected;
    };
    const std::vector<AccessEntry> adminOnly = {Allow(LocalSystemSid, FullControl), Allow(AdministratorsSid, FullControl),
                                                Allow(Users, ReadExecute)};
    const Case cases[] = {
        {"deployed by an administrator", {AdministratorsSid, true, adminOnly}, TrustVerdict::Trusted},
        {"owned by SYSTEM", {LocalSystemSid, true, adminOnly}, TrustVerdict::Trusted},
        {"owned by TrustedInstaller", {TrustedInstallerSid, true, adminOnly}, TrustVerdict::Trusted},
        {"the user's own", {User, true, {Allow(User, FullControl), Allow(Everyone, ReadExecute)}}, TrustVerdict::Trusted},
        {"planted by another user", {OtherUser, true, adminOnly}, TrustVerdict::UntrustedOwner},
        {"no owner", {"", true, adminOnly}, TrustVerdict::NoOwner},
        {"null access list", {AdministratorsSid, false, {}}, TrustVerdict::NullDacl},
        {"users may write", {AdministratorsSid, true, {Allow(AdministratorsSid, FullControl), Allow(Users, WriteData)}},
         TrustVerdict::WritableByOthers},
        {"another user may change permissions", {AdministratorsSid, true, {Allow(OtherUser, WriteDac)}},
         TrustVerdict::WritableByOthers},
        {"everyone full control", {AdministratorsSid, true, {Allow(Everyone, GenericAll)}}, TrustVerdict::WritableByOthers},
        {"inherit-only grants do not apply to the file", {AdministratorsSid, true, {Allow(Users, FullControl, InheritOnly)}},
         TrustVerdict::Trusted},
        {"a deny entry does not excuse a grant",
         {AdministratorsSid, true, {{AccessEntry::Kind::Deny, 0, FullControl, Users}, Allow(Users, WriteData)}},
         TrustVerdict::WritableByOthers},
        {"owner rights", {AdministratorsSid, true, {Allow("S-1-3-4", FullControl)}}, TrustVerdict::Trusted},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JudgePolicyFile(c.file, AdminUser).verdict, c.expected) << c.what;
    }
    EXPECT_EQ(JudgePolicyFile({User, true, {}}, PolicyReader{"", true}).verdict, TrustVerdict::UntrustedOwner)
        << "an unknown current user trusts no ordinary account";
}

TEST(PolicyOwnership, FolderDecisions)
{
    struct Case {
        const char* what;
        ObjectSecurity folder;
        TrustVerdict expected;
    };
    const Case cases[] = {
        {"the shared data folder's inherited list", {AdministratorsSid, true, ProgramDataEntries()},
         TrustVerdict::Trusted},
        {"created by another user", {OtherUser, true, ProgramDataEntries()}, TrustVerdict::UntrustedOwner},
        {"users may delete what it holds", {AdministratorsSid, true, {Allow(Users, DeleteChild)}},
         TrustVerdict::WritableByOthers},
        {"users have full control", {AdministratorsSid, true, {Allow(Users, FullControl)}},
         TrustVerdict::WritableByOthers},
        {"null access list", {LocalSystemSid, false, {}}, TrustVerdict::NullDacl},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JudgePolicyFolder(c.folder, AdminUser).verdict, c.expected) << c.what;
    }
    // The same grant that is harmless on the folder lets anyone rewrite the file.
    EXPECT_EQ(JudgePolicyFile({AdministratorsSid, true, ProgramDataEntries()}, AdminUser).verdict,
              TrustVerdict::WritableByOthers);
}

// The user's own ownership or write access counts only for an administrator:
// a standard user must not be able to supply or change the policy imposed on
// them.
TEST(PolicyOwnership, TheUsersOwnGrantsCountOnlyForAnAdministrator)
{
    struct Case {
        const char* what;
        ObjectSecurity object;
        bool folder;
        TrustVerdict asAdministrator;
        TrustVerdict asStandardUser;
    };
    const std::vector<AccessEntry> adminOnly = {Allow(LocalSystemSid, FullControl), Allow(AdministratorsSid, FullControl),
                                                Allow(Users, ReadExecute)};
    const Case cases[] = {
        {"file the user owns", {User, true, {Allow(User, FullControl)}}, false, TrustVerdict::Trusted,
         TrustVerdict::UntrustedOwner},
        {"folder the user owns", {User, true, ProgramDataEntries()}, true, TrustVerdict::Trusted,
         TrustVerdict::UntrustedOwner},
        {"administrators' file the user may write", {AdministratorsSid, true, {Allow(User, WriteData)}}, false,
         TrustVerdict::Trusted, TrustVerdict::WritableByOthers},
        {"administrators' folder the user may empty", {AdministratorsSid, true, {Allow(User, DeleteChild)}}, true,
         TrustVerdict::Trusted, TrustVerdict::WritableByOthers},
        {"administrators' file, user may only read", {AdministratorsSid, true, adminOnly}, false, TrustVerdict::Trusted,
         TrustVerdict::Trusted},
        {"SYSTEM's folder", {LocalSystemSid, true, ProgramDataEntries()}, true, TrustVerdict::Trusted,
         TrustVerdict::Trusted},
    };
    for (const Case& c : cases) {
        const auto judge = [&](const PolicyReader& reader) {
            return (c.folder ? JudgePolicyFolder(c.object, reader) : JudgePolicyFile(c.object, reader)).verdict;
        };
        EXPECT_EQ(judge(AdminUser), c.asAdministrator) << c.what;
        EXPECT_EQ(judge(StandardUser), c.asStandardUser) << c.what;
    }
    EXPECT_EQ(JudgePolicyFile({User, true, {}}, StandardUser).who, User) << "the log names the owner";
}

TEST(PolicyOwnership, RefusalsNameWhoIsToBlame)
{
    const TrustDecision planted = JudgePolicyFile({OtherUser, true, {}}, AdminUser);
    EXPECT_EQ(DescribeRefusal(planted, false),
              L"le fichier appartient a S-1-5-21-1-2-3-1002 (ni administrateurs, ni SYSTEM, ni l'utilisateur)");
    const TrustDecision writable = JudgePolicyFolder({AdministratorsSid, true, {Allow(Everyone, FullControl)}}, AdminUser);
    EXPECT_EQ(DescribeRefusal(writable, true), L"le dossier est modifiable par S-1-1-0");
    EXPECT_EQ(DescribeRefusal(TrustDecision{}, true), L"");
}

}  // namespace
}  // namespace cadrels
