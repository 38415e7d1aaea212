// What the cadrels' menus learn from the application (the undo stack, the
// shortcuts, the preferences) and the requests they make of it directly.
#include "app/App.h"

#include "i18n/StringTable.h"

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
    services.hostedElsewhere = [this](HWND window) { return hosting_.IsHostedByAnyCadrel(window); };
    services.hostWindow = [this](Cadrel& cadrel, HWND window) { hosting_.HostWindowInActiveTab(cadrel.Window(), window); };
    services.releaseHosted = [this](Cadrel& cadrel) { hosting_.ReleaseHostedInActiveTab(cadrel); };
    services.arrangeNow = [this](HWND window) { ArrangeNow(window); };
    services.movesDone = [this](UndoEntry entry) { PostMovesDone(std::move(entry)); };
    return services;
}

}  // namespace cadrels
