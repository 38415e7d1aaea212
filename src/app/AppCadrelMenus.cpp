// What the cadrels' menus learn from the application (the undo stack, the
// shortcuts, the preferences) and the requests they make of it directly.
#include "app/App.h"

#include "i18n/StringTable.h"

#include <algorithm>

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

CadrelMenuServices App::MenuServices()
{
    CadrelMenuServices services;
    services.facts = [this] { return MenuFacts(); };
    services.hostedElsewhere = [this](HWND window) { return IsHostedByAnyCadrel(window); };
    services.hostWindow = [this](Cadrel& cadrel, HWND window) { HostWindowInActiveTab(cadrel.Window(), window); };
    services.releaseHosted = [this](Cadrel& cadrel) { ReleaseHostedInActiveTab(cadrel); };
    services.arrangeNow = [this](HWND window) { ArrangeNow(window); };
    services.movesDone = [this](UndoEntry entry) { PostMovesDone(std::move(entry)); };
    return services;
}

bool App::IsHostedByAnyCadrel(HWND window) const
{
    const std::vector<HWND> hosted = AllHostedWindows();
    return std::find(hosted.begin(), hosted.end(), window) != hosted.end();
}

void App::ReleaseHostedInActiveTab(Cadrel& cadrel)
{
    cadrel.ReleaseHosted(cadrel.ActiveTab());
    UpdateHostWatch();
}

}  // namespace cadrels
