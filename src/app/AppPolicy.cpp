// What the administrator's policy changes at start-up: forced preferences,
// the predefined cadrels, and the forced look of every cadrel.
#include "app/App.h"

#include "app/StartWithWindows.h"
#include "base/DebugLog.h"
#include "i18n/StringTable.h"
#include "i18n/TextEncoding.h"
#include "model/FolderKeywords.h"
#include "model/Theme.h"
#include "policy/Policy.h"
#include "policy/PolicyMerge.h"
#include "policy/PolicyReadings.h"

namespace cadrels {
namespace {

// A forced boolean written into a setting; false when the policy is silent.
bool ApplyForcedFlag(const char* key, bool& setting)
{
    const int value = PolicyBool(key);
    if (value == PolicyNotSet) {
        return false;
    }
    setting = value == 1;
    return true;
}

}  // namespace

void App::ApplyPolicyOverrides()
{
    if (const int theme = PolicyTheme(); theme != PolicyNotSet) {
        settings_.theme = theme;
        ApplyTheme(theme);
    }
    Color colour = 0;
    if (PolicyColour("forceAccent", colour)) {
        settings_.accent = colour;
        SetAccent(colour);
    }
    if (PolicyColour("forceCadrelColor", colour)) {
        settings_.cadrelBg = colour;
        SetCadrelBackground(colour);
    }
    if (const std::string code = PolicyLanguageCode(); !code.empty()) {
        const int language = LanguageIndexFromCode(code);
        if (language >= 0) {
            SetUiLanguage(language);
            settings_.language = language;
        }
    }
    if (const int startup = PolicyBool("forceStartup"); startup != PolicyNotSet) {
        ApplyForcedStartup(startup == 1);
    }
    ApplyForcedFlag("forceDock", settings_.showDock);
    ApplyForcedFlag("forceSnap", settings_.snap);
    ApplyForcedFlag("forceDblClickHide", settings_.dblClickHide);
    if (const int grid = PolicyInt("forceGrid", 0, 256); grid != PolicyNotSet) {
        settings_.grid = grid;
    }
    ApplyForcedFlag("forceBackup", settings_.backupEnabled);
    ApplyForcedFlag("forceBackupCloud", settings_.backupCloud);
    if (const std::string folder = PolicyString("forceBackupFolder"); !folder.empty()) {
        std::wstring resolved = ResolveFolderKeyword(Utf8ToWide(folder));
        if (!resolved.empty()) {
            settings_.backupFolder = std::move(resolved);
        }
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
    if (const std::optional<double> opacity = PolicyForcedOpacity()) {
        for (CadrelRecord& record : page.cadrels) {
            record.opacity = *opacity;
        }
        Save();
    }
    if (const int viewMode = PolicyViewMode(); viewMode != PolicyNotSet) {
        for (CadrelRecord& record : page.cadrels) {
            record.viewMode = viewMode;
        }
        Save();
    }
    // Every view's zoom: a user who switches views must not find another one.
    if (const std::optional<double> zoom = PolicyForcedZoom()) {
        for (CadrelRecord& record : page.cadrels) {
            record.density.fill(static_cast<float>(*zoom));
        }
        Save();
    }
}

std::wstring App::BrandName() const
{
    return cadrels::BrandName();
}

}  // namespace cadrels
