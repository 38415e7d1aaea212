// The live cadrels of the active page, in creation order, and what is done to
// them as a set: finding one by its window or title bar, the rectangles the
// others snap to, the "about to merge" highlight while one is dragged, where
// a torn-off tab lands, the cascade of new cadrels, their geometry for the
// display, which of them the filing pass serves, and the theme, device and
// visibility changes that reach them all.
#pragma once

#include "base/Mailbox.h"
#include "cadrel/Cadrel.h"
#include "model/MonitorInfo.h"
#include "model/Records.h"
#include "sorting/FilingJob.h"
#include "sorting/SortRules.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace cadrels {

class PageCadrels {
public:
    using List = std::vector<std::unique_ptr<Cadrel>>;

    PageCadrels() = default;
    PageCadrels(const PageCadrels&) = delete;
    PageCadrels& operator=(const PageCadrels&) = delete;

    const List& All() const { return cadrels_; }
    size_t Count() const { return cadrels_.size(); }

    void Add(std::unique_ptr<Cadrel> cadrel);
    // Destroys one cadrel of the page (merged into another, or closed).
    void Remove(const Cadrel* cadrel);
    // Windows hosted by a page that goes are left minimized, not thrown forward.
    void DestroyAll();

    Cadrel* Find(HWND cadrelWindow) const;
    Cadrel* TitleBarAt(POINT screenPoint, HWND excluded) const;
    // The visible cadrels but `self`, for snapping.
    std::vector<RECT> OtherRects(const Cadrel* self) const;

    // While a cadrel is dragged: the one whose title bar it is over shows
    // the highlight on the dragged one.
    void TrackMergeDrag(HWND cadrelWindow, POINT screenPoint);
    // The drag ended: the highlight goes; the cadrel dropped on another's
    // title bar and that other, or two nulls.
    std::pair<Cadrel*, Cadrel*> EndMergeDrag(HWND cadrelWindow, POINT screenPoint);

    // The cadrel that takes a tab torn off another, or null when it becomes
    // a cadrel of its own; a hosting tab that finds no other goes back.
    Cadrel* TornTabReceiver(const TornTab& tab) const;
    // Torn-off tabs wait here for WM_APP_TAB_TORN_OFF.
    Mailbox<TornTab>& TornTabs() { return tornTabs_; }

    // The cadrel whose close question is open, or none.
    HWND Closing() const { return closing_; }
    void SetClosing(HWND cadrelWindow) { closing_ = cadrelWindow; }

    // Each new cadrel placed by the cascade steps on from the last.
    CadrelGeom NextCascade(const std::vector<MonitorInfo>& monitors);

    // The page's geometry for one display configuration, from the windows
    // and back to them.
    void CopyGeometry(const std::vector<MonitorInfo>& monitors, std::map<std::string, CadrelGeom>& geometries) const;
    void PlaceForDisplay(const std::vector<MonitorInfo>& monitors, std::map<std::string, CadrelGeom>& geometries);

    // A folder a cadrel shows is never emptied into other cadrels.
    bool ShowsFolder(const std::wstring& folder) const;
    // Every tab folder of the page's cadrels, as the filing pass keeps them.
    std::vector<std::wstring> ShownFolders() const;
    // The cadrels whose rule takes part in filing, each with the folder it
    // shows now; which folders they take from is the pass's to decide.
    std::vector<FilingSource> FilingSources() const;

    void Retheme();
    void RebuildGraphics();
    void Draw();
    void SetHidden(bool hidden);

private:
    List cadrels_;
    HWND closing_ = nullptr;
    // The cadrel showing the "about to merge" highlight, or none.
    HWND mergeHighlight_ = nullptr;
    Mailbox<TornTab> tornTabs_;
    unsigned cascadeCount_ = 0;
};

}  // namespace cadrels
