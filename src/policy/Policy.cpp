#include "policy/Policy.h"

#include "base/DebugLog.h"
#include "base/UniqueHandle.h"
#include "base/UniqueMemory.h"
#include "i18n/TextEncoding.h"
#include "model/AppFolders.h"
#include "model/AtomicFile.h"
#include "model/PathText.h"
#include "policy/EnvironmentExpansion.h"
#include "policy/PasswordThrottle.h"
#include "policy/PolicyOwnership.h"
#include "policy/PolicyReadings.h"
#include "policy/PolicySettings.h"

#include <aclapi.h>
#include <knownfolders.h>
#include <sddl.h>

#include <mutex>

namespace cadrels {
namespace {

constexpr wchar_t PolicyKey[] = L"Software\\Cadrels";
constexpr wchar_t PolicyValue[] = L"PolicyFile";
constexpr DWORD MaxPolicyValueBytes = 2048;

PolicyDocument& ProcessPolicy()
{
    static PolicyDocument policy;
    return policy;
}

std::mutex& PasswordMutex()
{
    static std::mutex mutex;
    return mutex;
}

PasswordThrottle& ProcessPasswordThrottle()
{
    static PasswordThrottle throttle;
    return throttle;
}

std::string SidText(PSID sid)
{
    wchar_t* raw = nullptr;
    if (sid == nullptr || !ConvertSidToStringSidW(sid, &raw)) {
        return {};
    }
    const UniqueLocalMem<wchar_t> text(raw);
    return WideToUtf8(text.Get());
}

AccessEntry ReadEntry(const ACE_HEADER* header)
{
    AccessEntry entry;
    entry.flags = header->AceFlags;
    switch (header->AceType) {
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_ACE_TYPE: {
        const auto* allowed = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
        entry.kind = AccessEntry::Kind::Allow;
        entry.mask = allowed->Mask;
        entry.sid = SidText(const_cast<DWORD*>(&allowed->SidStart));
        break;
    }
    case ACCESS_ALLOWED_OBJECT_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE:
        // Unusual on files; its SID is not read, so the decision counts it as
        // someone else's grant.
        entry.kind = AccessEntry::Kind::Allow;
        entry.mask = reinterpret_cast<const ACCESS_ALLOWED_OBJECT_ACE*>(header)->Mask;
        entry.sid = "?";
        break;
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE:
    case ACCESS_DENIED_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE:
        entry.kind = AccessEntry::Kind::Deny;
        break;
    default:
        entry.kind = AccessEntry::Kind::Other;
        break;
    }
    return entry;
}

// The owner and access list of an opened file or folder; false when the
// system will not tell.
bool ReadSecurity(HANDLE object, ObjectSecurity& security)
{
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (GetSecurityInfo(object, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                        nullptr, &dacl, nullptr, &raw) != ERROR_SUCCESS) {
        return false;
    }
    const UniqueLocalMem<void> descriptor(raw);
    security.owner = SidText(owner);
    security.hasDacl = dacl != nullptr;
    security.entries.clear();
    if (dacl != nullptr) {
        for (DWORD index = 0; index < dacl->AceCount; ++index) {
            void* ace = nullptr;
            if (GetAce(dacl, index, &ace)) {
                security.entries.push_back(ReadEntry(static_cast<const ACE_HEADER*>(ace)));
            }
        }
    }
    return true;
}

// The folder the opened file really lies in (links and 8.3 names resolved),
// else the folder part of the path it was opened by.
std::wstring ContainingFolder(HANDLE file, const std::wstring& path)
{
    std::wstring finalPath(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, finalPath.data(), static_cast<DWORD>(finalPath.size()), 0);
    if (length >= finalPath.size()) {
        finalPath.resize(length + 1);
        length = GetFinalPathNameByHandleW(file, finalPath.data(), static_cast<DWORD>(finalPath.size()), 0);
    }
    const std::wstring source = length > 0 && length < finalPath.size() ? finalPath.substr(0, length) : path;
    const size_t split = source.find_last_of(L"\\/");
    return split == std::wstring::npos ? std::wstring(L".") : source.substr(0, split + 1);
}

bool ReadHandle(HANDLE file, std::string& bytes)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 ||
        static_cast<ULONGLONG>(size.QuadPart) > MaxReadableFileBytes) {
        return false;
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr) ||
            read == 0) {
            return false;
        }
        done += read;
    }
    return true;
}

// The variables the machine defines, from where the system keeps them rather
// than from the process environment, which the user or the starting process
// chose: the system folders as the system reports them, then the machine's
// variables in the registry (expandable ones expanded against what comes
// before them).
EnvironmentVariables MachineEnvironment()
{
    EnvironmentVariables variables;
    const auto add = [&](const wchar_t* name, const std::wstring& value) {
        if (!value.empty()) {
            variables.emplace_back(name, value);
        }
    };
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        add(L"SystemRoot", windows);
        add(L"windir", windows);
        if (length >= 2 && windows[1] == L':') {
            add(L"SystemDrive", std::wstring(windows, 2));
        }
    }
    const std::wstring programData = KnownFolder(FOLDERID_ProgramData, false);
    add(L"ProgramData", programData);
    add(L"ALLUSERSPROFILE", programData);
    add(L"ProgramFiles", KnownFolder(FOLDERID_ProgramFiles, false));
    add(L"ProgramW6432", KnownFolder(FOLDERID_ProgramFiles, false));
    add(L"ProgramFiles(x86)", KnownFolder(FOLDERID_ProgramFilesX86, false));
    add(L"CommonProgramFiles", KnownFolder(FOLDERID_ProgramFilesCommon, false));
    add(L"CommonProgramFiles(x86)", KnownFolder(FOLDERID_ProgramFilesCommonX86, false));
    add(L"PUBLIC", KnownFolder(FOLDERID_Public, false));

    UniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", 0,
                      KEY_READ | KEY_WOW64_64KEY, key.Put()) != ERROR_SUCCESS) {
        return variables;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD nameChars = 256;
        wchar_t value[2048] = {};
        DWORD valueBytes = sizeof value - sizeof(wchar_t);
        DWORD type = 0;
        const LSTATUS status = RegEnumValueW(key.Get(), index, name, &nameChars, nullptr, &type,
                                             reinterpret_cast<BYTE*>(value), &valueBytes);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
            continue;
        }
        const std::wstring_view text(value, wcsnlen(value, valueBytes / sizeof(wchar_t)));
        variables.emplace_back(name, type == REG_EXPAND_SZ ? ExpandReferences(text, variables) : std::wstring(text));
    }
    // The system's own folders stay first (the first match wins): a registry
    // value of the same name does not replace them.
    return variables;
}

void Log(const std::wstring& text)
{
    DebugLog(L"%ls", text.c_str());
}

}  // namespace

std::string CurrentUserSid()
{
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) {
        return {};
    }
    UniqueHandle token(rawToken);
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) {
        return {};
    }
    return SidText(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid);
}

bool TokenHoldsAdministrators()
{
    BYTE sid[SECURITY_MAX_SID_SIZE] = {};
    DWORD size = sizeof sid;
    BOOL member = FALSE;
    return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
           CheckTokenMembership(nullptr, sid, &member) && member;
}

PolicyReader CurrentPolicyReader()
{
    return {CurrentUserSid(), TokenHoldsAdministrators()};
}

std::wstring PolicyFileFromRegistry(HKEY root, const wchar_t* subKey)
{
    UniqueKey key;
    if (RegOpenKeyExW(root, subKey, 0, KEY_READ | KEY_WOW64_64KEY, key.Put()) != ERROR_SUCCESS) {
        return {};
    }
    // Room for one more character than the limit, so the text always ends.
    wchar_t buffer[MaxPolicyValueBytes / sizeof(wchar_t) + 1] = {};
    DWORD type = 0;
    DWORD bytes = MaxPolicyValueBytes;
    if (RegQueryValueExW(key.Get(), PolicyValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return {};
    }
    std::wstring path = TrimSpacesAndTabs(std::wstring_view(buffer, wcsnlen(buffer, bytes / sizeof(wchar_t))));
    // An administrator writes "%ProgramData%\Corp\policy.json" as an expandable
    // string precisely so that it is expanded, but against the machine's
    // variables: the process environment is the user's to set.
    if (type == REG_EXPAND_SZ && !path.empty()) {
        path = TrimSpacesAndTabs(ExpandReferences(path, MachineEnvironment()));
    }
    return path;
}

std::wstring PolicyFileLocation()
{
    std::wstring path = PolicyFileFromRegistry(HKEY_LOCAL_MACHINE, PolicyKey);
    if (!path.empty()) {
        return path;
    }
    const std::wstring programData = KnownFolder(FOLDERID_ProgramData, false);
    return programData.empty() ? std::wstring() : ChildPath(ChildPath(programData, L"Cadrels"), L"policy.json");
}

PolicyFileRead ReadTrustedPolicyFile(const std::wstring& path, std::string& bytes, std::wstring& why)
{
    bytes.clear();
    why.clear();
    // Read sharing only: while it is held, nobody can write, replace, rename
    // or delete the file, so what was checked is what is read.
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | READ_CONTROL, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return PolicyFileRead::Missing;
        }
        why = L"ouverture impossible (erreur " + std::to_wstring(error) + L")";
        return PolicyFileRead::Busy;
    }
    const std::wstring folderPath = ContainingFolder(file.Get(), path);
    // Without delete sharing the folder cannot be renamed away either.
    UniqueFile folder(CreateFileW(folderPath.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ObjectSecurity fileSecurity;
    ObjectSecurity folderSecurity;
    if (!folder || !ReadSecurity(file.Get(), fileSecurity) || !ReadSecurity(folder.Get(), folderSecurity)) {
        why = L"droits d'acces illisibles (erreur " + std::to_wstring(GetLastError()) + L")";
        return PolicyFileRead::Refused;
    }
    const PolicyReader reader = CurrentPolicyReader();
    const TrustDecision fileDecision = JudgePolicyFile(fileSecurity, reader);
    if (!fileDecision.Trusted()) {
        why = DescribeRefusal(fileDecision, false);
        return PolicyFileRead::Refused;
    }
    const TrustDecision folderDecision = JudgePolicyFolder(folderSecurity, reader);
    if (!folderDecision.Trusted()) {
        why = DescribeRefusal(folderDecision, true);
        return PolicyFileRead::Refused;
    }
    if (!ReadHandle(file.Get(), bytes)) {
        why = L"lecture impossible ou fichier vide";
        return PolicyFileRead::Unreadable;
    }
    return PolicyFileRead::Read;
}

PolicyFileRead RetryWhileBusy(const std::function<PolicyFileRead()>& attempt, const std::function<void(unsigned)>& wait,
                              unsigned totalMs, unsigned stepMs)
{
    PolicyFileRead result = attempt();
    for (unsigned waited = 0; result == PolicyFileRead::Busy && waited < totalMs; waited += stepMs) {
        wait(stepMs);
        result = attempt();
    }
    return result;
}

PolicyFileRead ReadPolicyFileRetrying(const std::wstring& path, std::string& bytes, std::wstring& why, unsigned totalMs,
                                      unsigned stepMs)
{
    return RetryWhileBusy([&] { return ReadTrustedPolicyFile(path, bytes, why); }, [](unsigned ms) { Sleep(ms); },
                          totalMs, stepMs);
}

void LoadPolicy()
{
    const std::wstring path = PolicyFileLocation();
    if (path.empty()) {
        return;
    }
    std::string bytes;
    std::wstring why;
    switch (ReadPolicyFileRetrying(path, bytes, why)) {
    case PolicyFileRead::Missing:
        return;
    case PolicyFileRead::Busy:
        Log(L"Politique illisible (" + path + L") : " + why + L" ; cadrels et reglages verrouilles.");
        ProcessPolicy() = LockedPolicy();
        return;
    case PolicyFileRead::Unreadable:
        Log(L"Politique ignoree (" + path + L") : " + why + L".");
        return;
    case PolicyFileRead::Refused:
        Log(L"Politique refusee (" + path + L") : " + why + L".");
        return;
    case PolicyFileRead::Read:
        break;
    }
    PolicyDocument policy = ParsePolicy(bytes);
    if (!policy.InForce()) {
        Log(L"Politique ignoree (" + path + L") : JSON invalide ou racine qui n'est pas un objet.");
        return;
    }
    DebugLog(L"Politique chargee : %ls (%zu cadrel(s) imposee(s)).", path.c_str(), policy.Predefined().size());
    ProcessPolicy() = std::move(policy);
}

const PolicyDocument& CurrentPolicy()
{
    return ProcessPolicy();
}

int PolicyBool(const char* key)
{
    return CurrentPolicy().Bool(key);
}

int PolicyInt(const char* key, int min, int max)
{
    return CurrentPolicy().Int(key, min, max);
}

std::string PolicyString(const char* key)
{
    return CurrentPolicy().String(key);
}

bool PolicyColour(const char* key, Color& out)
{
    const std::optional<Color> colour = CurrentPolicy().Colour(key);
    if (colour) {
        out = *colour;
    }
    return colour.has_value();
}

int PolicyTheme()
{
    return CurrentPolicy().Theme();
}

int PolicyViewMode()
{
    return CurrentPolicy().ViewMode();
}

std::string PolicyLanguageCode()
{
    return CurrentPolicy().LanguageCode();
}

std::optional<double> PolicyForcedOpacity()
{
    return CurrentPolicy().ForcedOpacity();
}

std::optional<double> PolicyForcedZoom()
{
    return CurrentPolicy().ForcedZoom();
}

std::optional<SettingValue> PolicyForcedSetting(const SettingPolicy& rule)
{
    return ForcedSetting(CurrentPolicy(), rule);
}

bool IsSettingForced(const SettingPolicy& rule)
{
    return PolicyForcedSetting(rule).has_value();
}

bool IsThemeForced()
{
    return PolicyTheme() != PolicyNotSet;
}

bool IsLanguageForced()
{
    return !PolicyLanguageCode().empty();
}

bool IsOpacityForced()
{
    return PolicyForcedOpacity().has_value();
}

bool IsViewModeForced()
{
    return PolicyViewMode() != PolicyNotSet;
}

bool IsZoomForced()
{
    return PolicyForcedZoom().has_value();
}

bool IsSectionHidden(PolicySection section)
{
    return CurrentPolicy().IsSectionHidden(section);
}

bool IsSectionLocked(PolicySection section)
{
    return CurrentPolicy().IsSectionLocked(section);
}

bool IsSectionHiddenOrLocked(PolicySection section)
{
    return CurrentPolicy().IsSectionHiddenOrLocked(section);
}

bool AreSettingsLocked()
{
    return CurrentPolicy().AreSettingsLocked();
}

bool AreCadrelsLocked()
{
    return CurrentPolicy().AreCadrelsLocked();
}

bool IsQuitLocked()
{
    return CurrentPolicy().IsQuitLocked();
}

bool CheckAdminPassword(const std::wstring& password)
{
    const std::lock_guard<std::mutex> lock(PasswordMutex());
    PasswordThrottle& throttle = ProcessPasswordThrottle();
    const std::uint64_t now = GetTickCount64();
    if (throttle.WaitMs(now) > 0) {
        return false;
    }
    const bool matches = PasswordMatches(CurrentPolicy(), password);
    if (matches) {
        throttle.Succeeded();
    } else {
        throttle.Failed(now);
    }
    return matches;
}

std::uint64_t AdminPasswordWaitMs()
{
    const std::lock_guard<std::mutex> lock(PasswordMutex());
    return ProcessPasswordThrottle().WaitMs(GetTickCount64());
}

bool PasswordMatches(const PolicyDocument& policy, const std::wstring& password)
{
    const PolicyDocument::Pbkdf2Password salted = policy.AdminPasswordPbkdf2();
    if (!salted.key.empty()) {
        if (!salted.Usable()) {
            return false;
        }
        const std::string actual = Pbkdf2Sha256Hex(WideToUtf8(password), salted.salt,
                                                   static_cast<std::uint32_t>(salted.iterations), salted.key.size() / 2);
        return !actual.empty() && DigestsMatch(salted.key, actual);
    }
    const std::string expected = policy.AdminPasswordDigest();
    if (expected.empty()) {
        return false;
    }
    const std::string actual = Sha256Hex(WideToUtf8(password));
    return !actual.empty() && DigestsMatch(expected, actual);
}

std::wstring BrandName()
{
    return Utf8ToWide(CurrentPolicy().BrandName());
}

std::wstring BrandLogo()
{
    return Utf8ToWide(PolicyString("brandLogo"));
}

std::wstring SupportEmail()
{
    return Utf8ToWide(PolicyString("supportEmail"));
}

std::wstring SupportUrl()
{
    return Utf8ToWide(PolicyString("supportUrl"));
}

const std::vector<PredefinedCadrel>& PredefinedCadrels()
{
    return CurrentPolicy().Predefined();
}

}  // namespace cadrels
