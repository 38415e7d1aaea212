// The global shortcuts as plain values: the built-in combinations, the user's
// overrides on top of them, what gets registered, the text of a combination,
// and which actions another program holds. No window and no registration
// here, so every rule is tested directly.
#pragma once

#include "i18n/TextId.h"
#include "model/Records.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

// The RegisterHotKey modifier flags, named here so that this file needs no
// Windows header.
inline constexpr int HotkeyModAlt = 0x1;
inline constexpr int HotkeyModControl = 0x2;
inline constexpr int HotkeyModShift = 0x4;
inline constexpr int HotkeyModWin = 0x8;
inline constexpr int HotkeyModifierMask = 0xF;
inline constexpr int HotkeyModNoRepeat = 0x4000;

// WM_HOTKEY ids: 100 + action index.
inline constexpr int HotkeyIdBase = 100;

using HotkeyBindings = std::map<int, HotkeyBinding>;

struct HotkeyDefault {
    TextId labelId;
    std::int32_t modifiers;
    std::int32_t virtualKey;  // 0: no shortcut
};

// In action order: the label the shortcuts list shows and the combination an
// action has until the user changes it.
inline constexpr std::array<HotkeyDefault, HotkeyActionCount> HotkeyDefaults{{
    {TextId::UndoShortcut, HotkeyModControl | HotkeyModAlt, 'Z'},
    {TextId::RedoShortcut, HotkeyModControl | HotkeyModAlt, 'Y'},
    {TextId::FileSearch, HotkeyModControl | HotkeyModShift, 0x20},  // the space bar
    {TextId::HideShowCadrels, 0, 0},
    {TextId::NewEmptyCadrel, 0, 0},
    {TextId::OpenLaunchpad, 0, 0},
    {TextId::SortNowShortcut, 0, 0},
    {TextId::OpenSettings, 0, 0},
    {TextId::NextPage, 0, 0},
    {TextId::PreviousPage, 0, 0},
}};

bool IsHotkeyAction(int action);
// The text of an action's label; id 0 outside the actions.
TextId HotkeyLabelId(int action);

// The user's binding when there is one (key 0 included: an explicit "none"),
// else the default; (0, 0) outside the actions.
HotkeyBinding EffectiveHotkey(const HotkeyBindings& bindings, int action);

// A combination RegisterHotKey can take: a key code of 1 to 254 and only the
// four modifier flags. Anything else read from a hand-edited file is treated
// as no shortcut rather than registered as garbage.
bool IsUsableCombination(const HotkeyBinding& combination);

// Stores `combination` for `action` (key 0 stores an explicit "none"). Every
// other action whose effective combination is the same one loses it (gets an
// explicit "none"), so that one combination never serves two actions. Returns
// those actions. An action outside 0..9, or a combination that is not usable
// and not "none", changes nothing and returns nothing.
std::vector<int> AssignHotkey(HotkeyBindings& bindings, int action, HotkeyBinding combination);

// The same rule for bindings read from a file: when two actions share a
// combination, the one the user bound explicitly keeps it over a default, and
// otherwise the lower action keeps it; the others get an explicit "none".
// Returns the actions that lost their combination.
std::vector<int> ResolveHotkeyConflicts(HotkeyBindings& bindings);

struct HotkeyRegistration {
    int action = 0;
    int id = 0;
    int modifiers = 0;  // with MOD_NOREPEAT: holding the keys does not repeat the action
    int virtualKey = 0;
};

// What RegisterHotKey is asked for, in action order: the actions with a
// usable effective combination.
std::vector<HotkeyRegistration> PlanHotkeyRegistrations(const HotkeyBindings& bindings);

// Actions whose combination another program held at the last registration.
class TakenHotkeys {
public:
    void Clear() { bits_ = 0; }
    // True the first time an action is marked since the last Clear: the
    // caller logs it once per registration.
    bool MarkTaken(int action);
    bool IsTaken(int action) const;
    std::vector<int> Actions() const;

private:
    std::uint32_t bits_ = 0;
};

// Page Up, Page Down, End, Home, the four arrows, Insert and Delete: without
// the extended bit their scan codes name the numeric-pad keys.
bool IsExtendedNavigationKey(int virtualKey);
// The lParam GetKeyNameTextW takes for a key with that scan code.
std::int32_t KeyNameLParam(std::uint32_t scanCode, int virtualKey);

// "Ctrl+", "Alt+", "Maj+", "Win+" in that order whatever the language, then
// the key's name, or the key code as one character when the system has no
// name for it. Key 0 gives the empty text.
std::wstring ComposeHotkeyText(int modifiers, int virtualKey, std::wstring_view keyName);

}  // namespace cadrels
