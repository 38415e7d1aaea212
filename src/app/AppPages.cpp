// Pages: switching between them and rebuilding what the active page shows.
#include "app/App.h"

#include "app/ShellVerbs.h"
#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "cadrel/CadrelPlacement.h"
#include "i18n/StringTable.h"
#include "model/ContainerFolders.h"
#include "model/Theme.h"

namespace cadrels {

void App::SwitchPage(int index)
{
    const int pages = static_cast<int>(settings_.workspaces.size());
    if (operation_.Running() || index < 0 || index >= pages || index == settings_.activeWorkspace) {
        return;
    }
    Save();
    settings_.activeWorkspace = index;
    ReloadCadrels();
}

void App::PlaceCadrelsWithoutGeometry(Workspace& page)
{
    auto& geometries = page.layouts[displayKey_];
    for (const CadrelRecord& record : page.cadrels) {
        if (geometries.find(record.id) == geometries.end()) {
            const std::optional<CadrelGeom> seen =
                GeometryFromOtherDisplay(page.layouts, record.id, displayKey_, monitors_, settings_.recentDisplays);
            geometries[record.id] = seen ? *seen : CascadePlacement(monitors_, cascadeCount_++);
        }
    }
}

void App::ReloadCadrels()
{
    // Rebuilding destroys every cadrel, perhaps the one whose drop or close is
    // running under us; the caller asks again later.
    if (operation_.Running()) {
        DebugLog(L"Rechargement des cadrels refuse : une operation est en cours.");
        return;
    }
    DestroyAllCadrels();
    hidden_ = false;
    SetUiLanguage(settings_.language);
    ApplyTheme(settings_.theme);
    SetAccent(settings_.accent);
    SetCadrelBackground(settings_.cadrelBg);
    tray_.SetTooltip(TrayTooltip(BrandName()));
    WriteShellVerbs();

    Workspace& page = settings_.workspaces[static_cast<size_t>(settings_.activeWorkspace)];
    PlaceCadrelsWithoutGeometry(page);
    for (const CadrelRecord& record : page.cadrels) {
        for (const CadrelTab& tab : record.tabs) {
            EnsureContainer(tab.folder);
        }
    }
    BuildPageCadrels(true);
    Save();
    PostMessageW(window_, WM_APP_SORT_SOON, 0, 0);
}

}  // namespace cadrels
