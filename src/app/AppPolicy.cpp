// What the administrator's policy changes at start-up: forced preferences,
// the predefined cadrels, and the forced look of every cadrel.
#include "app/App.h"

#include "app/StartWithWindows.h"
#include "base/DebugLog.h"
#include "i18n/StringTable.h"
#include "model/FolderKeywords.h"
#include "model/SettingsSchema.h"
#include "model/Theme.h"
#include "policy/Policy.h"
#include "policy/PolicyMerge.h"
#include "policy/PolicyReadings.h"
#include "policy/PolicySettings.h"

namespace cadrels {
namespace {

// Start-up applied the look from the settings before the policy was asked;
// a forced value replaces it.
void ApplyForcedLook(const GlobalSetting& entry, const Settings& settings)
{
    using Member = GlobalSetting::Member;
    if (entry.member == Member(&Settings::language)) {
        SetUiLanguage(settings.language);
    } else if (entry.member == Member(&Settings::theme)) {
        ApplyTheme(settings.theme);
    } else if (entry.member == Member(&Settings::accent)) {
        SetAccent(settings.accent);
    } else if (entry.member == Member(&Settings::cadrelBg)) {
        SetCadrelBackground(settings.cadrelBg);
    }
}

}  // namespace

void App::ApplyPolicyOverrides()
{
    for (const GlobalSetting& entry : GlobalSettings()) {
        std::optional<SettingValue> forced = PolicyForcedSetting(entry.policy);
        if (!forced) {
            continue;
        }
        if (entry.policy.reading == PolicyReading::Folder) {
            // A keyword names one of this user's folders; one that resolves to
            // nothing forces nothing.
            forced->text = ResolveFolderKeyword(forced->text);
            if (forced->text.empty()) {
                continue;
            }
        }
        SetSetting(entry, settings_, *forced);
        ApplyForcedLook(entry, settings_);
    }
    if (const int startup = PolicyBool("forceStartup"); startup != PolicyNotSet) {
        ApplyForcedStartup(startup == 1);
    }
}

void App::MergePolicyCadrels()
{
    const std::vector<PredefinedCadrel>& predefined = PredefinedCadrels();
    if (MergePredefinedCadrels(settings_, predefined, monitors_, displayKey_, ProcessPolicyMergeContext())) {
        DebugLog(L"Politique : %zu cadrel(s) imposee(s) sur la page active.",
                 settings_.workspaces[static_cast<size_t>(settings_.activeWorkspace)].cadrels.size());
    }
}

// Live cadrel windows take these values from their records when they are
// made; until then the records are what the forced values change.
void App::ApplyPolicyCadrelOverrides()
{
    Workspace& page = settings_.workspaces[static_cast<size_t>(settings_.activeWorkspace)];
    for (const CadrelSetting& entry : CadrelSettings()) {
        const std::optional<SettingValue> forced = PolicyForcedSetting(entry.policy);
        if (!forced) {
            continue;
        }
        for (CadrelRecord& record : page.cadrels) {
            SetSetting(entry, record, *forced);
        }
        Save();
    }
}

std::wstring App::BrandName() const
{
    return cadrels::BrandName();
}

}  // namespace cadrels
