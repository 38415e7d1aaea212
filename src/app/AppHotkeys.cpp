// The global shortcuts on the application window: registration, the user's
// changes, and their texts.
#include "app/App.h"

#include "app/HotkeyText.h"
#include "base/AppMessages.h"
#include "base/DebugLog.h"

namespace cadrels {

static_assert(HotkeyIdBase == HotkeyIdFirst && HotkeyIdLast == HotkeyIdFirst + HotkeyActionCount - 1);

void App::RegisterHotkeys()
{
    if (window_ == nullptr) {
        return;
    }
    UnregisterHotkeys();
    // A file edited by hand, or written before the rule existed, may give one
    // combination to two actions; only one of them could ever receive it.
    for (const int action : ResolveHotkeyConflicts(settings_.hotkeys)) {
        DebugLog(L"Raccourci de l'action %d retire : combinaison deja utilisee par une autre action.", action);
    }
    takenHotkeys_.Clear();
    for (const HotkeyRegistration& hotkey : PlanHotkeyRegistrations(settings_.hotkeys)) {
        if (RegisterHotKey(window_, hotkey.id, static_cast<UINT>(hotkey.modifiers),
                           static_cast<UINT>(hotkey.virtualKey))) {
            continue;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_HOTKEY_ALREADY_REGISTERED) {
            DebugLog(L"RegisterHotKey action %d refuse (erreur %lu).", hotkey.action, error);
        } else if (takenHotkeys_.MarkTaken(hotkey.action)) {
            // Another program holds it; the settings window shows it as taken.
            DebugLog(L"RegisterHotKey action %d indisponible (combinaison prise par une autre appli ?)",
                     hotkey.action);
        }
    }
}

void App::UnregisterHotkeys()
{
    if (window_ == nullptr) {
        return;
    }
    for (int id = HotkeyIdFirst; id <= HotkeyIdLast; ++id) {
        UnregisterHotKey(window_, id);
    }
}

HotkeyBinding App::EffectiveHotkey(int action) const
{
    return cadrels::EffectiveHotkey(settings_.hotkeys, action);
}

void App::SetHotkey(int action, int modifiers, int virtualKey)
{
    if (!IsHotkeyAction(action)) {
        return;
    }
    for (const int other : AssignHotkey(settings_.hotkeys, action, HotkeyBinding{modifiers, virtualKey})) {
        DebugLog(L"Raccourci de l'action %d retire : repris par l'action %d.", other, action);
    }
    Save();
    RegisterHotkeys();
}

std::wstring App::HotkeyTextForAction(int action) const
{
    const HotkeyBinding combination = EffectiveHotkey(action);
    if (!IsUsableCombination(combination)) {
        return {};
    }
    return HotkeyText(combination.modifiers, combination.virtualKey);
}

}  // namespace cadrels
