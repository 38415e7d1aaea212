// Whether a policy file may be trusted, decided over the owner and the access
// list Windows reports for the opened file and its folder. A plain function of
// plain values (SIDs as "S-1-..." text, access masks as numbers), so every
// case is tested even where the platform cannot produce it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

inline constexpr char AdministratorsSid[] = "S-1-5-32-544";
inline constexpr char LocalSystemSid[] = "S-1-5-18";
inline constexpr char TrustedInstallerSid[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

struct AccessEntry {
    enum class Kind { Allow, Deny, Other };
    Kind kind = Kind::Allow;
    std::uint32_t flags = 0;  // ACE flags (inheritance)
    std::uint32_t mask = 0;   // access mask
    std::string sid;

    friend bool operator==(const AccessEntry&, const AccessEntry&) = default;
};

struct ObjectSecurity {
    std::string owner;  // empty when the object reports none
    bool hasDacl = false;  // false: a null DACL, which grants everyone everything
    std::vector<AccessEntry> entries;
};

enum class TrustVerdict { Trusted, NoOwner, UntrustedOwner, NullDacl, WritableByOthers };

struct TrustDecision {
    TrustVerdict verdict = TrustVerdict::Trusted;
    std::string who;  // the owner or the account that may write, for the log
    bool Trusted() const { return verdict == TrustVerdict::Trusted; }
};

// Who reads the policy: the user this process runs for, and whether its
// token holds the Administrators group.
struct PolicyReader {
    std::string sid;  // empty when unknown
    bool administrator = false;
};

// Administrators, SYSTEM, TrustedInstaller, and the reading user when that
// user is an administrator. A standard user's own file is refused: the policy
// is what an administrator imposes on that user, so the user must not be able
// to write it.
bool IsTrustedPrincipal(std::string_view sid, const PolicyReader& reader);

// The file: a trusted owner, and no one else may change its content, its
// permissions or its owner, or delete it.
TrustDecision JudgePolicyFile(const ObjectSecurity& file, const PolicyReader& reader);

// The folder holding it: a trusted owner, and no one else may delete or
// rename what it holds, or change its permissions or owner. Adding new files
// is allowed (the shared application-data folder grants it to every user by
// inheritance): an existing file cannot be replaced that way, and a file
// someone else adds is refused by the file's own check.
TrustDecision JudgePolicyFolder(const ObjectSecurity& folder, const PolicyReader& reader);

// Diagnostic text (French, no accents) for a refusal.
std::wstring DescribeRefusal(const TrustDecision& decision, bool folder);

}  // namespace cadrels
