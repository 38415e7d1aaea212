// What the cadrels' menus learn from the application (the undo stack, the
// shortcuts, the preferences) and the requests they make of it directly.
#include "app/App.h"

#include "base/DebugLog.h"
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
    // Nothing is hosted until application hosting exists.
    facts.activeTabHosts = false;
    facts.canRehost = false;
    return facts;
}

CadrelMenuServices App::MenuServices()
{
    CadrelMenuServices services;
    services.facts = [this] { return MenuFacts(); };
    services.hostedElsewhere = [](HWND) { return false; };
    services.hostWindow = [this](Cadrel& cadrel, HWND window) { HostWindowInActiveTab(cadrel, window); };
    services.releaseHosted = [this](Cadrel& cadrel) { ReleaseHostedInActiveTab(cadrel); };
    services.arrangeNow = [this](HWND window) { ArrangeNow(window); };
    services.movesDone = [this](UndoEntry entry) { PostMovesDone(std::move(entry)); };
    return services;
}

void App::HostWindowInActiveTab(Cadrel& cadrel, HWND window)
{
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    DebugLog(L"Cadrel %hs : hebergement de \"%ls\" pas encore disponible.", cadrel.Id().c_str(), title);
}

void App::ReleaseHostedInActiveTab(Cadrel& cadrel)
{
    DebugLog(L"Cadrel %hs : liberation de la fenetre hebergee pas encore disponible.", cadrel.Id().c_str());
}

}  // namespace cadrels
