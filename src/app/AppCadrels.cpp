// The live cadrels of the active page as the records see them: building them
// from their records, copying their state back into the records, and merging
// one into another.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "cadrel/CadrelPlacement.h"
#include "i18n/StringTable.h"
#include "model/LayoutFile.h"
#include "model/SettingsSchema.h"
#include "policy/Policy.h"
#include "policy/PolicyReadings.h"
#include "policy/PolicySettings.h"

#include <algorithm>

namespace cadrels {

Workspace& App::ActivePage()
{
    return settings_.workspaces[static_cast<size_t>(settings_.activeWorkspace)];
}

CadrelRecord* App::FindRecord(const std::string& id)
{
    for (CadrelRecord& record : ActivePage().cadrels) {
        if (record.id == id) {
            return &record;
        }
    }
    return nullptr;
}

bool App::CreateCadrelFromRecord(const CadrelRecord& record, const CadrelGeom& geometry, bool rollUnpinned)
{
    const PixelRect rect = WindowRectForGeometry(geometry, monitors_);
    std::vector<LiveTab> tabs;
    for (const CadrelTab& tab : record.tabs) {
        LiveTab live;
        static_cast<CadrelTab&>(live) = tab;
        tabs.push_back(std::move(live));
    }
    auto cadrel = std::make_unique<Cadrel>(graphics_, window_, static_cast<CadrelHost&>(*this));
    if (!cadrel->Create(instance_, record, std::move(tabs), record.active, rect.left, rect.top, rect.Width(),
                        rect.Height())) {
        // The record stays in the page and is tried again at the next rebuild.
        cadrel->Destroy();
        return false;
    }
    cadrel->SetSnapping(settings_.snap, settings_.grid);
    cadrel->SetPageFrozen(ActivePage().layoutLocked);
    if (record.pinned ? geometry.rolled : rollUnpinned) {
        cadrel->SetRolled(true, false, false);
    }
    cadrel->FinishBuilding();
    cadrels_.Add(std::move(cadrel));
    return true;
}

void App::BuildPageCadrels(bool rollUnpinned)
{
    Workspace& page = ActivePage();
    std::map<std::string, CadrelGeom>& geometries = page.layouts[displayKey_];
    for (const CadrelRecord& record : page.cadrels) {
        // The geometry was made sure of before; a record without one keeps the defaults.
        CreateCadrelFromRecord(record, geometries[record.id], rollUnpinned);
    }
    DebugLog(L"Cadrels de la page construites : %u.", static_cast<unsigned>(cadrels_.Count()));
    // Hosting tabs find their applications' windows again, or start them.
    hosting_.RestartReanchor();
}

void App::DestroyAllCadrels()
{
    hosting_.ForgetMovedWindow();
    cadrels_.DestroyAll();
    hosting_.UpdateWatch();
}

void App::OnIconsRefresh()
{
    schedule_.IconsRefreshStarted();
    cadrels_.Draw();
    if (dock_) {
        dock_->Render();
    }
}

void App::SyncRecordFromCadrel(HWND cadrelWindow)
{
    if (const Cadrel* cadrel = cadrels_.Find(cadrelWindow)) {
        if (CadrelRecord* record = FindRecord(cadrel->Id())) {
            cadrel->CopyPropertiesTo(*record);
        }
    }
    // Property changes come in bursts (a wheel turned notch by notch): one
    // write for the burst.
    schedule_.SaveSoon();
}

void App::SyncTabsFromCadrel(HWND cadrelWindow)
{
    if (const Cadrel* cadrel = cadrels_.Find(cadrelWindow)) {
        if (CadrelRecord* record = FindRecord(cadrel->Id())) {
            record->tabs.assign(cadrel->Tabs().begin(), cadrel->Tabs().end());
            record->active = cadrel->ActiveTab();
        }
    }
    schedule_.SaveSoon();
}

void App::OnCadrelDragging(HWND cadrelWindow, LPARAM packedPoint)
{
    if (operation_.Running()) {
        return;
    }
    cadrels_.TrackMergeDrag(cadrelWindow, UnpackScreenPoint(packedPoint));
}

void App::OnCadrelDropped(HWND cadrelWindow, LPARAM packedPoint)
{
    if (operation_.Running()) {
        return;
    }
    const auto [moved, target] = cadrels_.EndMergeDrag(cadrelWindow, UnpackScreenPoint(packedPoint));
    if (target != nullptr) {
        MergeCadrels(moved, target);
    }
}

void App::MergeCadrels(Cadrel* source, Cadrel* target)
{
    if (source == nullptr || target == nullptr || source == target) {
        return;
    }
    TakeAutoSnapshot(Tr(TextId::MergeCadrels));
    target->SetRolled(false, true, true);
    for (const LiveTab& tab : source->Tabs()) {
        target->AppendTab(tab);
    }
    SyncTabsFromCadrel(target->Window());
    // The source lets its hosted windows go; the target's new tabs take them back.
    hosting_.RestartReanchor();

    const std::string sourceId = source->Id();
    cadrels_.Remove(source);
    Workspace& page = ActivePage();
    std::erase_if(page.cadrels, [&](const CadrelRecord& record) { return record.id == sourceId; });
    for (auto& [key, geometries] : page.layouts) {
        geometries.erase(sourceId);
    }
    DebugLog(L"Cadrels fusionnees.");
    Save();
}

void App::ToggleHidden()
{
    hidden_ = !hidden_;
    cadrels_.SetHidden(hidden_);
    DebugLog(L"Cadrels %ls.", hidden_ ? L"masquees" : L"affichees");
}

}  // namespace cadrels
