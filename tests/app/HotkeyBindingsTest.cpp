// The shortcut rules without windows: defaults and overrides, one
// combination for one action, what is registered, taken actions and texts.
#include "app/HotkeyBindings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrels {
namespace {

constexpr int CtrlAlt = HotkeyModControl | HotkeyModAlt;
constexpr HotkeyBinding CtrlAltZ{CtrlAlt, 'Z'};
constexpr HotkeyBinding CtrlAltY{CtrlAlt, 'Y'};
constexpr HotkeyBinding CtrlShiftSpace{HotkeyModControl | HotkeyModShift, 0x20};
constexpr HotkeyBinding None{};

TEST(HotkeyBindings, DefaultsGiveUndoRedoAndSearchTheirCombinationsAndTheOthersNone)
{
    const HotkeyBindings none;
    EXPECT_EQ(EffectiveHotkey(none, HotkeyUndo), CtrlAltZ);
    EXPECT_EQ(EffectiveHotkey(none, HotkeyRedo), CtrlAltY);
    EXPECT_EQ(EffectiveHotkey(none, HotkeyFileSearch), CtrlShiftSpace);
    for (int action = HotkeyToggleHidden; action < HotkeyActionCount; ++action) {
        EXPECT_EQ(EffectiveHotkey(none, action), None) << "action " << action;
    }
    const std::vector<int> labels{86, 87, 88, 89, 90, 91, 92, 93, 94, 95};
    for (int action = 0; action < HotkeyActionCount; ++action) {
        EXPECT_EQ(static_cast<int>(HotkeyLabelId(action)), labels[static_cast<size_t>(action)]);
    }
    for (const int outside : {-1, 10, 100}) {
        EXPECT_EQ(EffectiveHotkey(HotkeyBindings{{outside, CtrlAltZ}}, outside), None) << outside;
        EXPECT_EQ(static_cast<int>(HotkeyLabelId(outside)), 0);
    }
}

TEST(HotkeyBindings, ABindingOverridesItsDefaultAndKeyZeroClearsIt)
{
    const HotkeyBindings bindings{{HotkeyUndo, None}, {HotkeyRedo, HotkeyBinding{HotkeyModWin, 'R'}},
                                  {HotkeySortNow, HotkeyBinding{CtrlAlt, 'S'}}};
    EXPECT_EQ(EffectiveHotkey(bindings, HotkeyUndo), None) << "an explicit none is not the default";
    EXPECT_EQ(EffectiveHotkey(bindings, HotkeyRedo), (HotkeyBinding{HotkeyModWin, 'R'}));
    EXPECT_EQ(EffectiveHotkey(bindings, HotkeyFileSearch), CtrlShiftSpace);
    EXPECT_EQ(EffectiveHotkey(bindings, HotkeySortNow), (HotkeyBinding{CtrlAlt, 'S'}));
}

TEST(HotkeyBindings, AssigningACombinationTakesItFromEveryOtherActionDefaultOrNot)
{
    HotkeyBindings bindings{{HotkeyNextPage, HotkeyBinding{CtrlAlt, 'P'}}};
    EXPECT_EQ(AssignHotkey(bindings, HotkeySortNow, CtrlAltZ), std::vector<int>{HotkeyUndo});
    EXPECT_EQ(EffectiveHotkey(bindings, HotkeyUndo), None);
    EXPECT_EQ(EffectiveHotkey(bindings, HotkeySortNow), CtrlAltZ);
    EXPECT_EQ(bindings.at(HotkeyUndo), None) << "stored, so the default does not come back";

    EXPECT_EQ(AssignHotkey(bindings, HotkeyPreviousPage, HotkeyBinding{CtrlAlt, 'P'}),
              std::vector<int>{HotkeyNextPage});
    EXPECT_EQ(EffectiveHotkey(bindings, HotkeyNextPage), None);

    // The same modifiers with another key, or another modifier with the key,
    // is another combination.
    EXPECT_TRUE(AssignHotkey(bindings, HotkeySettings, HotkeyBinding{HotkeyModControl, 'Y'}).empty());
    EXPECT_EQ(EffectiveHotkey(bindings, HotkeyRedo), CtrlAltY);

    // Giving an action its own combination again clears nobody.
    EXPECT_TRUE(AssignHotkey(bindings, HotkeySortNow, CtrlAltZ).empty());
    EXPECT_EQ(EffectiveHotkey(bindings, HotkeySortNow), CtrlAltZ);
}

TEST(HotkeyBindings, ClearingStoresNoneAndNeverClearsAnotherAction)
{
    HotkeyBindings bindings;
    EXPECT_TRUE(AssignHotkey(bindings, HotkeyUndo, HotkeyBinding{CtrlAlt, 0}).empty());
    EXPECT_EQ(bindings.at(HotkeyUndo), None) << "the modifiers of a cleared shortcut are not kept";
    // Several actions without a shortcut share (0, 0) without taking it from each other.
    EXPECT_TRUE(AssignHotkey(bindings, HotkeyRedo, None).empty());
    EXPECT_EQ(EffectiveHotkey(bindings, HotkeyFileSearch), CtrlShiftSpace);
    EXPECT_EQ(bindings.size(), 2u);
}

TEST(HotkeyBindings, AssignRefusesActionsOutsideTheTenAndCombinationsWindowsCannotRegister)
{
    HotkeyBindings bindings;
    struct Case {
        int action;
        HotkeyBinding combination;
    };
    const Case refused[] = {
        {-1, CtrlAltY}, {10, CtrlAltY}, {HotkeySortNow, HotkeyBinding{CtrlAlt, 0x100}},
        {HotkeySortNow, HotkeyBinding{CtrlAlt, -5}}, {HotkeySortNow, HotkeyBinding{CtrlAlt | 0x10, 'Y'}},
        {HotkeySortNow, HotkeyBinding{CtrlAlt | HotkeyModNoRepeat, 'Y'}},
    };
    for (const Case& c : refused) {
        EXPECT_TRUE(AssignHotkey(bindings, c.action, c.combination).empty());
        EXPECT_TRUE(bindings.empty()) << c.action << " " << c.combination.modifiers << " " << c.combination.virtualKey;
    }
    EXPECT_EQ(EffectiveHotkey(bindings, HotkeyRedo), CtrlAltY) << "a refused assignment takes nothing away";
}

TEST(HotkeyBindings, ConflictsReadFromAFileKeepTheExplicitBindingThenTheLowerAction)
{
    struct Case {
        HotkeyBindings bindings;
        std::vector<int> cleared;
        HotkeyBindings expected;
    };
    const Case cases[] = {
        // Sorting was given undo's default by hand: the user's choice wins.
        {{{HotkeySortNow, CtrlAltZ}}, {HotkeyUndo}, {{HotkeySortNow, CtrlAltZ}, {HotkeyUndo, None}}},
        // Two explicit bindings: the lower action keeps it.
        {{{HotkeySettings, HotkeyBinding{CtrlAlt, 'O'}}, {HotkeyLauncher, HotkeyBinding{CtrlAlt, 'O'}}},
         {HotkeySettings},
         {{HotkeySettings, None}, {HotkeyLauncher, HotkeyBinding{CtrlAlt, 'O'}}}},
        // No conflict and several nones: nothing changes.
        {{{HotkeyUndo, None}, {HotkeyRedo, None}, {HotkeySortNow, HotkeyBinding{CtrlAlt, 'S'}}},
         {},
         {{HotkeyUndo, None}, {HotkeyRedo, None}, {HotkeySortNow, HotkeyBinding{CtrlAlt, 'S'}}}},
        // Three on one combination, one of them by default.
        {{{HotkeyNextPage, CtrlAltY}, {HotkeyPreviousPage, CtrlAltY}},
         {HotkeyPreviousPage, HotkeyRedo},
         {{HotkeyNextPage, CtrlAltY}, {HotkeyPreviousPage, None}, {HotkeyRedo, None}}},
    };
    for (const Case& c : cases) {
        HotkeyBindings bindings = c.bindings;
        EXPECT_EQ(ResolveHotkeyConflicts(bindings), c.cleared);
        EXPECT_EQ(bindings, c.expected);
        EXPECT_TRUE(ResolveHotkeyConflicts(bindings).empty()) << "resolving twice changes nothing more";
    }
}

TEST(HotkeyBindings, RegistrationAsksForEveryUsableCombinationWithoutRepeat)
{
    const HotkeyBindings bindings{{HotkeyRedo, None},
                                  {HotkeyToggleHidden, HotkeyBinding{CtrlAlt, 'H'}},
                                  {HotkeyPreviousPage, HotkeyBinding{HotkeyModShift | HotkeyModWin, 0x22}},
                                  {HotkeySettings, HotkeyBinding{0x30, 'O'}},
                                  {HotkeyLauncher, HotkeyBinding{0, 0x1FF}}};
    const std::vector<HotkeyRegistration> plan = PlanHotkeyRegistrations(bindings);
    ASSERT_EQ(plan.size(), 4u);
    const int noRepeat = HotkeyModNoRepeat;
    EXPECT_EQ(plan[0].action, HotkeyUndo);
    EXPECT_EQ(plan[0].id, 100);
    EXPECT_EQ(plan[0].modifiers, CtrlAlt | noRepeat);
    EXPECT_EQ(plan[0].virtualKey, 'Z');
    EXPECT_EQ(plan[1].id, 102);
    EXPECT_EQ(plan[1].virtualKey, 0x20);
    EXPECT_EQ(plan[2].id, 103);
    EXPECT_EQ(plan[2].modifiers, CtrlAlt | noRepeat);
    EXPECT_EQ(plan[3].id, 109);
    EXPECT_EQ(plan[3].modifiers, HotkeyModShift | HotkeyModWin | noRepeat);
    EXPECT_EQ(plan[3].virtualKey, 0x22);
}

TEST(HotkeyBindings, TakenActionsAreMarkedOncePerRegistration)
{
    TakenHotkeys taken;
    EXPECT_TRUE(taken.Actions().empty());
    EXPECT_TRUE(taken.MarkTaken(HotkeyFileSearch));
    EXPECT_FALSE(taken.MarkTaken(HotkeyFileSearch)) << "logged once";
    EXPECT_TRUE(taken.MarkTaken(HotkeyPreviousPage));
    EXPECT_FALSE(taken.MarkTaken(-1));
    EXPECT_FALSE(taken.MarkTaken(10));
    EXPECT_TRUE(taken.IsTaken(HotkeyFileSearch));
    EXPECT_TRUE(taken.IsTaken(HotkeyPreviousPage));
    EXPECT_FALSE(taken.IsTaken(HotkeyUndo));
    EXPECT_FALSE(taken.IsTaken(10));
    EXPECT_EQ(taken.Actions(), (std::vector<int>{HotkeyFileSearch, HotkeyPreviousPage}));
    taken.Clear();
    EXPECT_TRUE(taken.Actions().empty());
    EXPECT_TRUE(taken.MarkTaken(HotkeyFileSearch)) << "a new registration logs it again";
}

TEST(HotkeyBindings, NavigationKeysAskForTheExtendedKeyName)
{
    for (int key = 0x21; key <= 0x28; ++key) {
        EXPECT_TRUE(IsExtendedNavigationKey(key)) << key;
        EXPECT_EQ(KeyNameLParam(0x51, key), 0x51 << 16 | 1 << 24) << key;
    }
    for (const int key : {0x2D, 0x2E}) {
        EXPECT_TRUE(IsExtendedNavigationKey(key)) << key;
    }
    for (const int key : {0x20, 0x29, 0x2C, 0x2F, int{'Z'}, 0x60, 0x63}) {
        EXPECT_FALSE(IsExtendedNavigationKey(key)) << key;
        EXPECT_EQ(KeyNameLParam(0x2C, key), 0x2C << 16) << key;
    }
}

TEST(HotkeyBindings, TextPutsTheModifiersInOneOrderThenTheKeyName)
{
    struct Case {
        int modifiers;
        int key;
        std::wstring name;
        std::wstring expected;
    };
    const Case cases[] = {
        {CtrlAlt, 'Z', L"Z", L"Ctrl+Alt+Z"},
        {HotkeyModWin | HotkeyModShift, 0x22, L"Page Down", L"Maj+Win+Page Down"},
        {HotkeyModShift | HotkeyModControl, 0x20, L"Espace", L"Ctrl+Maj+Espace"},
        {HotkeyModWin | HotkeyModShift | HotkeyModAlt | HotkeyModControl, 'K', L"K", L"Ctrl+Alt+Maj+Win+K"},
        {0, 0x78, L"F9", L"F9"},
        {HotkeyModAlt, 'Q', L"", L"Alt+Q"},                  // no name: the key code as a character
        {HotkeyModAlt, 0xE8, L"", std::wstring(L"Alt+") + wchar_t{0xE8}},
        {CtrlAlt, 0, L"Z", L""},                                // no key, no text
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ComposeHotkeyText(c.modifiers, c.key, c.name), c.expected) << c.modifiers << " " << c.key;
    }
}

}  // namespace
}  // namespace cadrels
