// What a cadrel asks of the application that made it: the policy's locks,
// moving dropped files, the "operation running" state, where a torn-off tab
// goes, its neighbours for snapping, what hosting shares between cadrels,
// what the menus show and request, and the icons. One object answers all of
// it for the cadrel's whole life; it outlives every cadrel it made.
#pragma once

#include "cadrel/CadrelMenuModel.h"
#include "fileops/OperationState.h"
#include "fileops/UndoEntry.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace cadrels {

class Cadrel;
class HostedAppsStore;
class IconCache;
struct TornTab;

class CadrelHost {
public:
    // Whether the administration policy forbids moving and resizing cadrels.
    virtual bool PolicyLocksCadrels() const = 0;
    // Whether the policy forbids changing the zoom (Ctrl with the wheel).
    virtual bool PolicyLocksZoom() const = 0;
    // Moves or copies dropped files into `folder` of `target`; how many arrived.
    virtual int DropIntoFolder(const Cadrel& target, const std::vector<std::wstring>& paths, bool move,
                               const std::wstring& folder) = 0;
    // Held while a modal loop of the cadrel runs (a menu, a drag, a rename).
    virtual OperationState::Scope BeginOperation() = 0;
    // Whether such a loop, a prompt or a file operation runs now anywhere.
    virtual bool OperationRunning() const = 0;
    // A tab dragged off a title bar, to become a cadrel of its own or join one.
    virtual void TabTornOff(std::unique_ptr<TornTab> tab) = 0;
    // The other visible cadrels' window rectangles, which moves snap to.
    virtual std::vector<RECT> NeighbourRects(const Cadrel& self) const = 0;

    // The executables this user hosted, the only ones started unasked; null
    // when hosting remembers none.
    virtual HostedAppsStore* HostedApps() = 0;
    // The windows every live cadrel hosts.
    virtual std::vector<HWND> HostedEverywhere() const = 0;

    // The undo stack's texts, the shortcuts, theme and language.
    virtual CadrelMenuFacts FactsForMenus() const = 0;
    // Whether another live cadrel hosts the window.
    virtual bool HostedElsewhere(HWND window) const = 0;
    virtual void HostInActiveTab(Cadrel& cadrel, HWND window) = 0;
    virtual void ReleaseFromActiveTab(Cadrel& cadrel) = 0;
    virtual void ArrangeCadrelNow(HWND cadrelWindow) = 0;
    // A finished rename, for the undo stack.
    virtual void RecordMoves(UndoEntry entry) = 0;

    // Where item icons and image emblems come from; null draws placeholders.
    virtual IconCache* IconsForCadrels() = 0;

protected:
    ~CadrelHost() = default;
};

}  // namespace cadrels
