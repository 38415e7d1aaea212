// What the cadrels learn from the application (the policy's locks, the undo
// stack, the shortcuts, the preferences, what hosting shares) and the
// requests they make of it directly.
#include "app/App.h"

#include "base/AppMessages.h"
#include "i18n/StringTable.h"
#include "policy/PolicyReadings.h"

namespace cadrels {

CadrelMenuFacts App::MenuFacts() const
{
    CadrelMenuFacts facts;
    facts.canUndo = undoUi_.canUndo;
    facts.canRedo = undoUi_.canRedo;
    // Empty texts stand for "nothing to undo" in the current language.
    facts.undoText = undoUi_.canUndo ? undoUi_.undoText : std::wstring();
    facts.redoText = undoUi_.canRedo ? undoUi_.redoText : std::wstring();
    facts.undoHotkey = HotkeyTextForAction(HotkeyUndo);
    facts.redoHotkey = HotkeyTextForAction(HotkeyRedo);
    facts.searchHotkey = HotkeyTextForAction(HotkeyFileSearch);
    facts.theme = settings_.theme;
    facts.language = UiLanguage();
    // What the cadrel hosts it knows itself.
    return facts;
}

bool App::PolicyLocksCadrels() const
{
    return CadrelsLocked();
}

bool App::PolicyLocksZoom() const
{
    return IsSectionHiddenOrLocked(SectionAppearance) || IsZoomForced();
}

int App::DropIntoFolder(const Cadrel& target, const std::vector<std::wstring>& paths, bool move,
                        const std::wstring& folder)
{
    return MoveIntoCadrelFolder(target, paths, move, folder);
}

OperationState::Scope App::BeginOperation()
{
    return operation_.Begin();
}

void App::TabTornOff(std::unique_ptr<TornTab> tab)
{
    cadrels_.TornTabs().Post(window_, WM_APP_TAB_TORN_OFF, std::move(tab));
}

std::vector<RECT> App::NeighbourRects(const Cadrel& self) const
{
    return cadrels_.OtherRects(&self);
}

HostedAppsStore* App::HostedApps()
{
    return hosting_.HostedApps();
}

std::vector<HWND> App::HostedEverywhere() const
{
    return hosting_.AllHostedWindows();
}

CadrelMenuFacts App::FactsForMenus() const
{
    return MenuFacts();
}

bool App::HostedElsewhere(HWND window) const
{
    return hosting_.IsHostedByAnyCadrel(window);
}

void App::HostInActiveTab(Cadrel& cadrel, HWND window)
{
    hosting_.HostWindowInActiveTab(cadrel.Window(), window);
}

void App::ReleaseFromActiveTab(Cadrel& cadrel)
{
    hosting_.ReleaseHostedInActiveTab(cadrel);
}

void App::ArrangeCadrelNow(HWND cadrelWindow)
{
    ArrangeNow(cadrelWindow);
}

void App::RecordMoves(UndoEntry entry)
{
    PostMovesDone(std::move(entry));
}

IconCache* App::IconsForCadrels()
{
    return iconCache_.get();
}

}  // namespace cadrels
