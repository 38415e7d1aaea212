#include "app/HotkeyBindings.h"

namespace cadrels {

bool IsHotkeyAction(int action)
{
    return action >= 0 && action < HotkeyActionCount;
}

TextId HotkeyLabelId(int action)
{
    return IsHotkeyAction(action) ? HotkeyDefaults[static_cast<size_t>(action)].labelId : TextId{};
}

HotkeyBinding EffectiveHotkey(const HotkeyBindings& bindings, int action)
{
    if (!IsHotkeyAction(action)) {
        return {};
    }
    if (const auto found = bindings.find(action); found != bindings.end()) {
        return found->second;
    }
    const HotkeyDefault& builtIn = HotkeyDefaults[static_cast<size_t>(action)];
    return HotkeyBinding{builtIn.modifiers, builtIn.virtualKey};
}

bool IsUsableCombination(const HotkeyBinding& combination)
{
    return combination.virtualKey >= 1 && combination.virtualKey <= 0xFE &&
           (combination.modifiers & ~HotkeyModifierMask) == 0;
}

std::vector<int> AssignHotkey(HotkeyBindings& bindings, int action, HotkeyBinding combination)
{
    std::vector<int> cleared;
    if (!IsHotkeyAction(action)) {
        return cleared;
    }
    if (combination.virtualKey == 0) {
        // "None" whatever modifiers came with it: the file keeps one spelling.
        bindings[action] = HotkeyBinding{};
        return cleared;
    }
    if (!IsUsableCombination(combination)) {
        return cleared;
    }
    for (int other = 0; other < HotkeyActionCount; ++other) {
        if (other != action && EffectiveHotkey(bindings, other) == combination) {
            bindings[other] = HotkeyBinding{};
            cleared.push_back(other);
        }
    }
    bindings[action] = combination;
    return cleared;
}

std::vector<int> ResolveHotkeyConflicts(HotkeyBindings& bindings)
{
    std::vector<int> cleared;
    // Explicit bindings claim their combinations first, then the defaults;
    // within each round the lower action comes first.
    std::vector<HotkeyBinding> claimed;
    auto isClaimed = [&claimed](const HotkeyBinding& combination) {
        for (const HotkeyBinding& taken : claimed) {
            if (taken == combination) {
                return true;
            }
        }
        return false;
    };
    for (const bool explicitRound : {true, false}) {
        for (int action = 0; action < HotkeyActionCount; ++action) {
            if ((bindings.count(action) != 0) != explicitRound) {
                continue;
            }
            const HotkeyBinding combination = EffectiveHotkey(bindings, action);
            if (combination.virtualKey == 0) {
                continue;
            }
            if (isClaimed(combination)) {
                bindings[action] = HotkeyBinding{};
                cleared.push_back(action);
            } else {
                claimed.push_back(combination);
            }
        }
    }
    return cleared;
}

std::vector<HotkeyRegistration> PlanHotkeyRegistrations(const HotkeyBindings& bindings)
{
    std::vector<HotkeyRegistration> plan;
    for (int action = 0; action < HotkeyActionCount; ++action) {
        const HotkeyBinding combination = EffectiveHotkey(bindings, action);
        if (IsUsableCombination(combination)) {
            plan.push_back(HotkeyRegistration{action, HotkeyIdBase + action,
                                              combination.modifiers | HotkeyModNoRepeat, combination.virtualKey});
        }
    }
    return plan;
}

bool TakenHotkeys::MarkTaken(int action)
{
    if (!IsHotkeyAction(action)) {
        return false;
    }
    const std::uint32_t bit = 1u << action;
    const bool first = (bits_ & bit) == 0;
    bits_ |= bit;
    return first;
}

bool TakenHotkeys::IsTaken(int action) const
{
    return IsHotkeyAction(action) && (bits_ & (1u << action)) != 0;
}

std::vector<int> TakenHotkeys::Actions() const
{
    std::vector<int> actions;
    for (int action = 0; action < HotkeyActionCount; ++action) {
        if (IsTaken(action)) {
            actions.push_back(action);
        }
    }
    return actions;
}

bool IsExtendedNavigationKey(int virtualKey)
{
    return (virtualKey >= 0x21 && virtualKey <= 0x28) || virtualKey == 0x2D || virtualKey == 0x2E;
}

std::int32_t KeyNameLParam(std::uint32_t scanCode, int virtualKey)
{
    std::uint32_t lParam = (scanCode & 0xFFu) << 16;
    if (IsExtendedNavigationKey(virtualKey)) {
        lParam |= 1u << 24;
    }
    return static_cast<std::int32_t>(lParam);
}

std::wstring ComposeHotkeyText(int modifiers, int virtualKey, std::wstring_view keyName)
{
    if (virtualKey == 0) {
        return {};
    }
    std::wstring text;
    if ((modifiers & HotkeyModControl) != 0) {
        text += L"Ctrl+";
    }
    if ((modifiers & HotkeyModAlt) != 0) {
        text += L"Alt+";
    }
    if ((modifiers & HotkeyModShift) != 0) {
        text += L"Maj+";
    }
    if ((modifiers & HotkeyModWin) != 0) {
        text += L"Win+";
    }
    if (keyName.empty()) {
        text.push_back(static_cast<wchar_t>(virtualKey));
    } else {
        text += keyName;
    }
    return text;
}

}  // namespace cadrels
