#include "policy/PolicyOwnership.h"

namespace cadrels {
namespace {

// Access rights by number: this file stays free of Windows headers.
constexpr std::uint32_t FileWriteData = 0x0002;    // also "add file" on a folder
constexpr std::uint32_t FileAppendData = 0x0004;   // also "add subfolder"
constexpr std::uint32_t FileDeleteChild = 0x0040;
constexpr std::uint32_t Delete = 0x00010000;
constexpr std::uint32_t WriteDac = 0x00040000;
constexpr std::uint32_t WriteOwner = 0x00080000;
constexpr std::uint32_t GenericAll = 0x10000000;
constexpr std::uint32_t GenericWrite = 0x40000000;
constexpr std::uint32_t InheritOnlyAce = 0x08;

constexpr std::uint32_t FileWriteRights = FileWriteData | FileAppendData | Delete | WriteDac | WriteOwner | GenericAll |
                                          GenericWrite;
constexpr std::uint32_t FolderReplaceRights = FileDeleteChild | Delete | WriteDac | WriteOwner | GenericAll;

// OWNER RIGHTS stands for whoever owns the object, already found trusted.
constexpr char OwnerRightsSid[] = "S-1-3-4";

TrustDecision Judge(const ObjectSecurity& object, const PolicyReader& reader, std::uint32_t forbiddenRights)
{
    if (object.owner.empty()) {
        return {TrustVerdict::NoOwner, {}};
    }
    if (!IsTrustedPrincipal(object.owner, reader)) {
        return {TrustVerdict::UntrustedOwner, object.owner};
    }
    if (!object.hasDacl) {
        return {TrustVerdict::NullDacl, {}};
    }
    // Deny entries are not weighed against allow entries: reading the order
    // right is the system's job, and refusing a file that a deny entry would
    // have protected is the safe mistake.
    for (const AccessEntry& entry : object.entries) {
        if (entry.kind != AccessEntry::Kind::Allow || (entry.flags & InheritOnlyAce) != 0) {
            continue;
        }
        if ((entry.mask & forbiddenRights) != 0 && entry.sid != OwnerRightsSid &&
            !IsTrustedPrincipal(entry.sid, reader)) {
            return {TrustVerdict::WritableByOthers, entry.sid};
        }
    }
    return {};
}

std::wstring Widened(std::string_view text)
{
    return std::wstring(text.begin(), text.end());  // SIDs are ASCII
}

}  // namespace

bool IsTrustedPrincipal(std::string_view sid, const PolicyReader& reader)
{
    return sid == AdministratorsSid || sid == LocalSystemSid || sid == TrustedInstallerSid ||
           (reader.administrator && !reader.sid.empty() && sid == reader.sid);
}

TrustDecision JudgePolicyFile(const ObjectSecurity& file, const PolicyReader& reader)
{
    return Judge(file, reader, FileWriteRights);
}

TrustDecision JudgePolicyFolder(const ObjectSecurity& folder, const PolicyReader& reader)
{
    return Judge(folder, reader, FolderReplaceRights);
}

std::wstring DescribeRefusal(const TrustDecision& decision, bool folder)
{
    const std::wstring what = folder ? L"le dossier" : L"le fichier";
    switch (decision.verdict) {
    case TrustVerdict::Trusted:
        return {};
    case TrustVerdict::NoOwner:
        return what + L" n'a pas de proprietaire";
    case TrustVerdict::UntrustedOwner:
        return what + L" appartient a " + Widened(decision.who) + L" (ni administrateurs, ni SYSTEM, ni l'utilisateur)";
    case TrustVerdict::NullDacl:
        return what + L" n'a aucune liste d'acces (tout le monde peut le modifier)";
    case TrustVerdict::WritableByOthers:
        return what + L" est modifiable par " + Widened(decision.who);
    }
    return {};
}

}  // namespace cadrels
