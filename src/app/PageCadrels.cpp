#include "app/PageCadrels.h"

#include "cadrel/CadrelPlacement.h"
#include "fileops/WatchFolders.h"

#include <algorithm>

namespace cadrels {

void PageCadrels::Add(std::unique_ptr<Cadrel> cadrel)
{
    cadrels_.push_back(std::move(cadrel));
}

void PageCadrels::Remove(const Cadrel* cadrel)
{
    auto owned = std::find_if(cadrels_.begin(), cadrels_.end(), [&](const auto& c) { return c.get() == cadrel; });
    if (owned == cadrels_.end()) {
        return;
    }
    if (mergeHighlight_ == (*owned)->Window()) {
        mergeHighlight_ = nullptr;
    }
    (*owned)->Destroy();
    cadrels_.erase(owned);
}

void PageCadrels::DestroyAll()
{
    mergeHighlight_ = nullptr;
    for (auto& cadrel : cadrels_) {
        cadrel->Hosting().SetTearingDown();
        cadrel->Destroy();
    }
    cadrels_.clear();
}

Cadrel* PageCadrels::Find(HWND cadrelWindow) const
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

Cadrel* PageCadrels::TitleBarAt(POINT screenPoint, HWND excluded) const
{
    for (const auto& cadrel : cadrels_) {
        if (cadrel->Window() != excluded && cadrel->IsOverTitleBar(screenPoint)) {
            return cadrel.get();
        }
    }
    return nullptr;
}

std::vector<RECT> PageCadrels::OtherRects(const Cadrel* self) const
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

void PageCadrels::TrackMergeDrag(HWND cadrelWindow, POINT screenPoint)
{
    Cadrel* moved = Find(cadrelWindow);
    HWND highlight = nullptr;
    if (moved != nullptr && TitleBarAt(screenPoint, cadrelWindow) != nullptr) {
        highlight = cadrelWindow;
    }
    if (highlight == mergeHighlight_) {
        return;
    }
    if (Cadrel* previous = Find(mergeHighlight_)) {
        previous->SetMergeHighlight(false);
    }
    if (moved != nullptr && highlight != nullptr) {
        moved->SetMergeHighlight(true);
    }
    mergeHighlight_ = highlight;
}

std::pair<Cadrel*, Cadrel*> PageCadrels::EndMergeDrag(HWND cadrelWindow, POINT screenPoint)
{
    if (Cadrel* highlighted = Find(mergeHighlight_)) {
        highlighted->SetMergeHighlight(false);
    }
    mergeHighlight_ = nullptr;
    Cadrel* moved = Find(cadrelWindow);
    if (moved == nullptr) {
        return {nullptr, nullptr};
    }
    Cadrel* target = TitleBarAt(screenPoint, cadrelWindow);
    return {target != nullptr ? moved : nullptr, target};
}

Cadrel* PageCadrels::TornTabReceiver(const TornTab& tab) const
{
    Cadrel* source = Find(tab.source);
    Cadrel* receiver = nullptr;
    if (tab.Hosts()) {
        for (const auto& cadrel : cadrels_) {
            RECT rect{};
            if (cadrel.get() != source && cadrel->Window() != nullptr && IsWindowVisible(cadrel->Window()) &&
                GetWindowRect(cadrel->Window(), &rect) && PtInRect(&rect, tab.releasePoint)) {
                receiver = cadrel.get();
                break;
            }
        }
    } else if (HWND under = WindowFromPoint(tab.releasePoint)) {
        Cadrel* found = Find(GetAncestor(under, GA_ROOT));
        receiver = found != source ? found : nullptr;
    }
    if (receiver == nullptr && tab.Hosts()) {
        // A hosting tab has nowhere to stand on its own: back to its source.
        receiver = source;
    }
    return receiver;
}

CadrelGeom PageCadrels::NextCascade(const std::vector<MonitorInfo>& monitors)
{
    return CascadePlacement(monitors, cascadeCount_++);
}

void PageCadrels::CopyGeometry(const std::vector<MonitorInfo>& monitors,
                               std::map<std::string, CadrelGeom>& geometries) const
{
    for (const auto& cadrel : cadrels_) {
        if (cadrel->Window() == nullptr) {
            continue;
        }
        const RECT full = cadrel->FullRect();
        if (const std::optional<CadrelGeom> geometry =
                GeometryForWindow(monitors, ToPixelRect(full), cadrel->Rolled())) {
            geometries[cadrel->Id()] = *geometry;
        }
    }
}

void PageCadrels::PlaceForDisplay(const std::vector<MonitorInfo>& monitors,
                                  std::map<std::string, CadrelGeom>& geometries)
{
    for (const auto& cadrel : cadrels_) {
        auto found = geometries.find(cadrel->Id());
        if (found == geometries.end()) {
            const std::optional<CadrelGeom> derived =
                GeometryForWindow(monitors, ToPixelRect(cadrel->FullRect()), cadrel->Rolled());
            found = geometries.emplace(cadrel->Id(), derived ? *derived : NextCascade(monitors)).first;
        }
        if (monitors.empty()) {
            continue;
        }
        const PixelRect rect = WindowRectForGeometry(found->second, monitors);
        cadrel->SetBoundsRespectingRoll(rect.left, rect.top, rect.Width(), rect.Height());
    }
}

bool PageCadrels::ShowsFolder(const std::wstring& folder) const
{
    for (const std::unique_ptr<Cadrel>& cadrel : cadrels_) {
        for (const LiveTab& tab : cadrel->Tabs()) {
            if (!tab.folder.empty() && SameWatchFolder(tab.folder, folder)) {
                return true;
            }
        }
    }
    return false;
}

std::vector<std::wstring> PageCadrels::ShownFolders() const
{
    std::vector<std::wstring> folders;
    for (const std::unique_ptr<Cadrel>& cadrel : cadrels_) {
        for (const LiveTab& tab : cadrel->Tabs()) {
            folders.push_back(tab.folder);
        }
    }
    return folders;
}

std::vector<FilingSource> PageCadrels::FilingSources() const
{
    std::vector<FilingSource> sources;
    for (const std::unique_ptr<Cadrel>& cadrel : cadrels_) {
        CadrelRecord properties;
        cadrel->CopyPropertiesTo(properties);
        const int active = cadrel->ActiveTab();
        if (!TakesPart(properties.rule) || active < 0 || active >= static_cast<int>(cadrel->Tabs().size())) {
            continue;
        }
        sources.push_back({properties.rule, cadrel->Tabs()[static_cast<size_t>(active)].folder});
    }
    return sources;
}

void PageCadrels::Retheme()
{
    for (const auto& cadrel : cadrels_) {
        cadrel->Retheme();
    }
}

void PageCadrels::RebuildGraphics()
{
    for (const auto& cadrel : cadrels_) {
        cadrel->RebuildGraphics();
    }
}

void PageCadrels::Draw()
{
    for (const auto& cadrel : cadrels_) {
        cadrel->Draw();
    }
}

void PageCadrels::SetHidden(bool hidden)
{
    for (const auto& cadrel : cadrels_) {
        cadrel->SetHidden(hidden);
    }
}

}  // namespace cadrels
