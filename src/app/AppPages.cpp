// Pages: creating, renaming, deleting and switching them, and rebuilding what
// the active page shows.
#include "app/App.h"

#include "app/ShellVerbs.h"
#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "cadrel/CadrelPlacement.h"
#include "i18n/StringTable.h"
#include "model/ContainerFolders.h"
#include "model/DefaultCadrels.h"
#include "model/NewId.h"
#include "model/Pages.h"
#include "model/Theme.h"

#include <utility>

namespace cadrels {
void App::NewPage(const std::wstring& name)
{
    if (operation_.Running()) {
        DebugLog(L"Nouvelle page refusee : une operation est en cours.");
        return;
    }
    Save();
    Workspace page;
    page.id = NewId();
    page.name = name.empty() ? std::wstring(Tr(TextId::Page)) : name;
    AddEmptyCadrel(page, displayKey_, cadrels_.NextCascade(monitors_));
    settings_.workspaces.push_back(std::move(page));
    settings_.activeWorkspace = static_cast<int>(settings_.workspaces.size()) - 1;
    ReloadCadrels();
    DebugLog(L"Page ajoutee : %d.", settings_.activeWorkspace);
}

void App::RenamePage(int index, const std::wstring& name)
{
    if (index < 0 || index >= static_cast<int>(settings_.workspaces.size()) || name.empty()) {
        return;
    }
    settings_.workspaces[static_cast<size_t>(index)].name = name;
    Save();
    DebugLog(L"Page renommee : %d.", index);
}

void App::DeletePage(int index)
{
    const int pages = static_cast<int>(settings_.workspaces.size());
    if (operation_.Running() || pages < 2 || index < 0 || index >= pages) {
        DebugLog(L"Suppression de la page %d refusee.", index);
        return;
    }
    TakeAutoSnapshot(Tr(TextId::DeletePage));
    if (RemovePage(settings_, index) == PageRemoval::RemovedActive) {
        ReloadCadrels();
    } else {
        Save();
    }
    DebugLog(L"Page supprimee : %d, page affichee : %d.", index, settings_.activeWorkspace);
}

void App::SwitchPage(int index)
{
    const int pages = static_cast<int>(settings_.workspaces.size());
    if (operation_.Running()) {
        DebugLog(L"Changement de page refuse : une operation est en cours.");
        return;
    }
    if (index < 0 || index >= pages || index == settings_.activeWorkspace) {
        return;
    }
    Save();
    settings_.activeWorkspace = index;
    ReloadCadrels();
    DebugLog(L"Page affichee : %d.", index);
}

void App::PlaceCadrelsWithoutGeometry(Workspace& page)
{
    auto& geometries = page.layouts[displayKey_];
    for (const CadrelRecord& record : page.cadrels) {
        if (geometries.find(record.id) == geometries.end()) {
            const std::optional<CadrelGeom> seen =
                GeometryFromOtherDisplay(page.layouts, record.id, displayKey_, monitors_, settings_.recentDisplays);
            geometries[record.id] = seen ? *seen : cadrels_.NextCascade(monitors_);
        }
    }
}

void App::ReloadCadrels(bool sortAfterwards)
{
    // Rebuilding destroys every cadrel, perhaps the one whose drop or close is
    // running under us; the caller asks again later.
    if (operation_.Running()) {
        DebugLog(L"Rechargement des cadrels refuse : une operation est en cours.");
        return;
    }
    DestroyAllCadrels();
    // The new page's cadrels are shown whatever the old ones were.
    if (std::exchange(hidden_, false)) {
        DebugLog(L"Cadrels affichees : la page change.");
    }
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
    if (sortAfterwards) {
        PostMessageW(window_, WM_APP_SORT_SOON, 0, 0);
    }
}

}  // namespace cadrels
