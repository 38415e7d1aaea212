// The live cadrels of the active page: building them from their records,
// finding them, copying their state back into the records, placing them for
// the display, and merging one into another.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "cadrel/CadrelPlacement.h"
#include "i18n/StringTable.h"
#include "model/LayoutFile.h"
#include "policy/Policy.h"
#include "policy/PolicyReadings.h"

#include <algorithm>

namespace cadrels {

Workspace& App::ActivePage()
{
    return settings_.workspaces[static_cast<size_t>(settings_.activeWorkspace)];
}

Cadrel* App::FindCadrel(HWND cadrelWindow) const
{
    if (cadrelWindow == nullptr) {
        return nullptr;
    }
    for (const auto& cadrel : cadrels_) {
        if (cadrel->Window() == cadrelWindow) {
            return cadrel.get();
        }
    }
    return nullptr;
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

std::vector<RECT> App::OtherCadrelRects(const Cadrel* self) const
{
    std::vector<RECT> rects;
    for (const auto& cadrel : cadrels_) {
        if (cadrel.get() != self && cadrel->Window() != nullptr && IsWindowVisible(cadrel->Window())) {
            RECT rect{};
            GetWindowRect(cadrel->Window(), &rect);
            rects.push_back(rect);
        }
    }
    return rects;
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
    auto cadrel = std::make_unique<Cadrel>(graphics_, window_);
    if (!cadrel->Create(instance_, record, std::move(tabs), record.active, rect.left, rect.top, rect.Width(),
                        rect.Height())) {
        // The record stays in the page and is tried again at the next rebuild.
        cadrel->Destroy();
        return false;
    }
    cadrel->SetOpacity(record.opacity, false);
    cadrel->SetTint(record.tint, false);
    cadrel->SetAccent(record.caccent, false);
    cadrel->SetPinned(record.pinned, false);
    cadrel->SetLocked(record.locked, false);
    cadrel->SetClassifyMode(record.classifyMode, false);
    cadrel->SetUnfoldDirection(record.expandDir, false);
    cadrel->SetSortRule(record.rule, false);
    cadrel->SetSort(record.sortBy, record.sortDesc, false);
    cadrel->SetViewMode(record.viewMode, false);
    cadrel->SetZooms(record.density);
    cadrel->SetSnapping(settings_.snap, settings_.grid);
    cadrel->SetPageFrozen(ActivePage().layoutLocked);
    const Cadrel* self = cadrel.get();
    cadrel->SetNeighbourRectsProvider([this, self] { return OtherCadrelRects(self); });
    cadrel->SetLockQuery([this] { return CadrelsLocked(); });
    cadrel->SetIconCache(iconCache_.get());
    cadrel->SetZoomLockQuery(
        [] { return IsSectionHiddenOrLocked(1) || PolicyInt("forceZoom", 60, 200) != PolicyNotSet; });
    cadrel->SetTornTabMailbox(&tornTabs_);
    cadrel->SetDropHandler([this](const Cadrel& target, const std::vector<std::wstring>& paths, bool move,
                                  const std::wstring& folder) { return MoveIntoCadrelFolder(target, paths, move, folder); });
    cadrel->SetOperationGuard([this] { return operation_.Begin(); });
    cadrel->SetHostingContext(hostedApps_.get(), [this] { return AllHostedWindows(); });
    cadrel->SetMenuServices(MenuServices());
    if (record.pinned ? geometry.rolled : rollUnpinned) {
        cadrel->SetRolled(true, false, false);
    }
    cadrel->FinishBuilding();
    cadrels_.push_back(std::move(cadrel));
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
    DebugLog(L"Cadrels de la page construites : %u.", static_cast<unsigned>(cadrels_.size()));
    // Hosting tabs find their applications' windows again, or start them.
    RestartHostReanchor();
}

void App::DestroyAllCadrels()
{
    mergeHighlight_ = nullptr;
    movedWindow_ = nullptr;
    // Windows hosted by a page that goes are left minimized, not thrown forward.
    for (auto& cadrel : cadrels_) {
        cadrel->SetTearingDown();
        cadrel->Destroy();
    }
    cadrels_.clear();
    UpdateHostWatch();
}

void App::CopyCadrelGeometry()
{
    // While the display is being reconfigured the windows may be in transit.
    if (reconfigPending_ || settings_.workspaces.empty()) {
        return;
    }
    auto& geometries = ActivePage().layouts[displayKey_];
    for (const auto& cadrel : cadrels_) {
        if (cadrel->Window() == nullptr) {
            continue;
        }
        const RECT full = cadrel->FullRect();
        if (const std::optional<CadrelGeom> geometry =
                GeometryForWindow(monitors_, ToPixelRect(full), cadrel->Rolled())) {
            geometries[cadrel->Id()] = *geometry;
        }
    }
}

void App::PlaceCadrelsForDisplay()
{
    auto& geometries = ActivePage().layouts[displayKey_];
    for (const auto& cadrel : cadrels_) {
        auto found = geometries.find(cadrel->Id());
        if (found == geometries.end()) {
            const std::optional<CadrelGeom> derived =
                GeometryForWindow(monitors_, ToPixelRect(cadrel->FullRect()), cadrel->Rolled());
            found = geometries.emplace(cadrel->Id(), derived ? *derived : CascadePlacement(monitors_, cascadeCount_++))
                        .first;
        }
        if (monitors_.empty()) {
            continue;
        }
        const PixelRect rect = WindowRectForGeometry(found->second, monitors_);
        cadrel->SetBoundsRespectingRoll(rect.left, rect.top, rect.Width(), rect.Height());
    }
}

void App::RethemeCadrels()
{
    for (const auto& cadrel : cadrels_) {
        cadrel->Retheme();
    }
}

void App::RebuildCadrelGraphics()
{
    for (const auto& cadrel : cadrels_) {
        cadrel->RebuildGraphics();
    }
}

void App::OnIconsRefresh()
{
    iconsRefreshPending_ = false;
    for (const auto& cadrel : cadrels_) {
        cadrel->Draw();
    }
    if (dock_) {
        dock_->Render();
    }
}

void App::SyncRecordFromCadrel(HWND cadrelWindow)
{
    if (const Cadrel* cadrel = FindCadrel(cadrelWindow)) {
        if (CadrelRecord* record = FindRecord(cadrel->Id())) {
            cadrel->CopyPropertiesTo(*record);
        }
    }
    Save();
}

void App::SyncTabsFromCadrel(HWND cadrelWindow)
{
    if (const Cadrel* cadrel = FindCadrel(cadrelWindow)) {
        if (CadrelRecord* record = FindRecord(cadrel->Id())) {
            record->tabs.assign(cadrel->Tabs().begin(), cadrel->Tabs().end());
            record->active = cadrel->ActiveTab();
        }
    }
    Save();
}

Cadrel* App::CadrelTitleBarAt(POINT screenPoint, HWND excluded) const
{
    for (const auto& cadrel : cadrels_) {
        if (cadrel->Window() != excluded && cadrel->IsOverTitleBar(screenPoint)) {
            return cadrel.get();
        }
    }
    return nullptr;
}

void App::OnCadrelDragging(HWND cadrelWindow, LPARAM packedPoint)
{
    if (operation_.Running()) {
        return;
    }
    Cadrel* moved = FindCadrel(cadrelWindow);
    HWND highlight = nullptr;
    if (moved != nullptr && CadrelTitleBarAt(UnpackScreenPoint(packedPoint), cadrelWindow) != nullptr) {
        highlight = cadrelWindow;
    }
    if (highlight == mergeHighlight_) {
        return;
    }
    if (Cadrel* previous = FindCadrel(mergeHighlight_)) {
        previous->SetMergeHighlight(false);
    }
    if (moved != nullptr && highlight != nullptr) {
        moved->SetMergeHighlight(true);
    }
    mergeHighlight_ = highlight;
}

void App::OnCadrelDropped(HWND cadrelWindow, LPARAM packedPoint)
{
    if (operation_.Running()) {
        return;
    }
    if (Cadrel* highlighted = FindCadrel(mergeHighlight_)) {
        highlighted->SetMergeHighlight(false);
    }
    mergeHighlight_ = nullptr;
    Cadrel* moved = FindCadrel(cadrelWindow);
    if (moved == nullptr) {
        return;
    }
    if (Cadrel* target = CadrelTitleBarAt(UnpackScreenPoint(packedPoint), cadrelWindow)) {
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
    RestartHostReanchor();

    const std::string sourceId = source->Id();
    if (mergeHighlight_ == source->Window()) {
        mergeHighlight_ = nullptr;
    }
    auto owned = std::find_if(cadrels_.begin(), cadrels_.end(), [&](const auto& c) { return c.get() == source; });
    if (owned != cadrels_.end()) {
        (*owned)->Destroy();
        cadrels_.erase(owned);
    }
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
    for (const std::unique_ptr<Cadrel>& cadrel : cadrels_) {
        cadrel->SetHidden(hidden_);
    }
    DebugLog(L"Cadrels %ls.", hidden_ ? L"masquees" : L"affichees");
}

}  // namespace cadrels
