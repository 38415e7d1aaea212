// The administration policy of this process: policy.json, found through the
// machine's registry or the shared application-data folder, read once at
// process start and only queried afterwards (from any thread: nothing changes
// it after LoadPolicy).
#pragma once

#include "base/Sha256.h"
#include "policy/PolicyDocument.h"
#include "policy/PolicyOwnership.h"
#include "policy/PredefinedCadrels.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cadrels {

// Reads the policy; called once by the process entry before anything reads
// settings. A missing file is silent; a refused or unusable one is logged.
void LoadPolicy();

const PolicyDocument& CurrentPolicy();

// Where the policy file is: the "PolicyFile" value under `subKey` of `root`
// (64-bit view; REG_SZ as is, REG_EXPAND_SZ expanded against the machine's
// variables, never the process environment; spaces and tabs around
// it removed), else the shared application-data folder + "\Cadrels\policy.json".
std::wstring PolicyFileFromRegistry(HKEY root, const wchar_t* subKey);
std::wstring PolicyFileLocation();

// Busy: the file exists but cannot be opened (someone holds it without
// sharing, or this user may not read it). Unreadable: opened but empty or
// unreadable.
enum class PolicyFileRead { Missing, Busy, Unreadable, Refused, Read };

// Opens the file so that it can be neither changed nor renamed while it is
// checked and read, checks who owns it and its folder and who may write to
// them on the opened handles, then reads it. `why` explains a refusal or a
// failure (French, for the log).
PolicyFileRead ReadTrustedPolicyFile(const std::wstring& path, std::string& bytes, std::wstring& why);

// ReadTrustedPolicyFile, tried again every `stepMs` for about `totalMs` while
// the file is busy: anyone who may read it can hold it open without sharing
// for a moment.
PolicyFileRead ReadPolicyFileRetrying(const std::wstring& path, std::string& bytes, std::wstring& why,
                                      unsigned totalMs = 2000, unsigned stepMs = 100);

// The order attempts and waits come in, apart from the file system.
PolicyFileRead RetryWhileBusy(const std::function<PolicyFileRead()>& attempt, const std::function<void(unsigned)>& wait,
                              unsigned totalMs, unsigned stepMs);

// The user this process runs for, as "S-1-5-21-..."; empty on failure.
std::string CurrentUserSid();

// Whether this process's token holds the Administrators group (an elevated
// administrator, or any user where the system does not split tokens).
bool TokenHoldsAdministrators();
PolicyReader CurrentPolicyReader();

// The queries the rest of the program asks.
int PolicyBool(const char* key);
int PolicyInt(const char* key, int min, int max);
std::string PolicyString(const char* key);
bool PolicyColour(const char* key, Color& out);
int PolicyTheme();
int PolicyViewMode();
std::string PolicyLanguageCode();
std::optional<double> PolicyForcedOpacity();
std::optional<double> PolicyForcedZoom();

// Choices the cadrel menu does not offer because the policy decides them.
bool IsThemeForced();
bool IsLanguageForced();
bool IsOpacityForced();
bool IsViewModeForced();
bool IsZoomForced();

bool IsSectionHidden(PolicySection section);
bool IsSectionLocked(PolicySection section);
bool IsSectionHiddenOrLocked(PolicySection section);
bool AreSettingsLocked();
bool AreCadrelsLocked();
bool IsQuitLocked();

// True only when the policy holds a password and the typed one's UTF-8 bytes
// derive (salted form) or hash (plain digest) to exactly it. Wrong answers
// slow further ones down: while AdminPasswordWaitMs() is not 0, every answer
// is refused unchecked.
bool CheckAdminPassword(const std::wstring& password);
std::uint64_t AdminPasswordWaitMs();
bool PasswordMatches(const PolicyDocument& policy, const std::wstring& password);
std::wstring BrandName();
std::wstring BrandLogo();
std::wstring SupportEmail();
std::wstring SupportUrl();

const std::vector<PredefinedCadrel>& PredefinedCadrels();

}  // namespace cadrels
