// The notification icon, its menu, and the welcome prompt.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/WindowClass.h"
#include "app/TrayMenu.h"
#include "i18n/StringTable.h"
#include "settings/DarkMenu.h"
#include "settings/DarkPrompt.h"

namespace cadrels {

void App::OnTrayIcon(UINT mouseMessage)
{
    if (mouseMessage == WM_RBUTTONUP) {
        ShowTrayMenu();
    }
}

void App::ShowTrayMenu()
{
    if (shuttingDown_) {
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    const UndoHistory& history = undo_.History();
    std::optional<std::wstring> undo;
    std::optional<std::wstring> redo;
    if (const UndoEntry* entry = history.NextUndo()) {
        undo = entry->description;
    }
    if (const UndoEntry* entry = history.NextRedo()) {
        redo = entry->description;
    }
    const std::vector<DarkMenuItem> items = TrayMenuItems(undo, redo, hidden_);
    int command = 0;
    {
        // The menu pumps messages. An undo shortcut pressed meanwhile would
        // undo the entry the menu names, and choosing Undo afterwards would
        // then undo the one below it, which nobody saw.
        const OperationState::Scope menuOpen = operation_.Begin();
        command = ShowDarkMenu(window_, items, cursor.x, cursor.y, static_cast<int>(WindowDpi(window_)));
    }
    switch (command) {
    case TrayCommandUndo:
        Undo();
        break;
    case TrayCommandRedo:
        Redo();
        break;
    case TrayCommandToggleHidden:
        ToggleHidden();
        break;
    default:
        break;
    }
}

void App::OnTaskbarCreated()
{
    // Explorer restarted and forgot every icon: without this one the program
    // would have no way in left.
    tray_.Add(window_, WM_APP_TRAYICON, instance_, TrayTooltip(BrandName()));
}

void App::ShowWelcome()
{
    // The prompt's loop dispatches messages: a second request while it is
    // open must not stack a second guide on the first.
    if (shuttingDown_ || welcomeOpen_) {
        return;
    }
    welcomeOpen_ = true;
    const MonitorInfo* primary = PrimaryMonitor(monitors_);
    const int dpi = primary ? static_cast<int>(primary->dpi) : 96;
    // No operation state here: the guide changes nothing, and the installer's
    // request to quit, which waits while an operation runs, must not wait
    // for a guide nobody answers.
    ShowChoicePrompt(nullptr, Tr(TextId::WelcomeText), {Tr(TextId::OpenFullGuide), Tr(TextId::GetStarted)}, dpi);
    welcomeOpen_ = false;
}

}  // namespace cadrels
