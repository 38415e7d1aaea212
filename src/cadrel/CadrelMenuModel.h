// The cadrel menu as plain values: which entries the cadrel's state and the
// policy allow, with their marks, texts and command ids. Building it needs
// no window, so every rule (the locked menu, the opacity marks, the hosting
// list's limits) is checked directly.
#pragma once

#include "model/Records.h"
#include "settings/DarkMenuItem.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cadrels {

// Command ids of the cadrel menu.
enum CadrelMenuCommand : int {
    CadrelCmdRenameTab = 1,
    CadrelCmdRefresh = 2,
    CadrelCmdClose = 3,
    CadrelCmdQuit = 4,
    CadrelCmdPin = 5,
    CadrelCmdLock = 6,
    CadrelCmdUnfoldDown = 7,
    CadrelCmdUnfoldUp = 8,
    CadrelCmdSettings = 9,
    CadrelCmdUnfoldLeft = 10,
    CadrelCmdUnfoldRight = 11,
    CadrelCmdTabPresetFirst = 20,  // 20..24: empty, Desktop, Downloads, Documents, folder
    CadrelCmdTabPresetLast = 24,
    CadrelCmdCloseTab = 25,
    CadrelCmdReleaseHosted = 27,
    CadrelCmdRehostLast = 28,
    CadrelCmdFileSearch = 30,
    CadrelCmdEmptyCadrel = 51,
    CadrelCmdNewCadrelFirst = 52,  // 52..55: Desktop, Downloads, Documents, folder
    CadrelCmdNewCadrelLast = 55,
    CadrelCmdShapeFirst = 56,  // 56..61: the six shapes
    CadrelCmdShapeLast = 61,
    CadrelCmdClassifyNone = 62,
    CadrelCmdClassifyType = 63,
    CadrelCmdClassifyMonth = 64,
    CadrelCmdArrangeNow = 65,
    CadrelCmdOpacityFirst = 70,  // 70..79
    CadrelCmdOpacityLast = 79,
    CadrelCmdRuleEnabled = 90,
    CadrelCmdRuleSortNow = 91,
    CadrelCmdRuleNamePattern = 92,
    CadrelCmdRuleOlderThan = 93,
    CadrelCmdRulePresetFirst = 100,  // 100..107, 107 asks for the extensions
    CadrelCmdRulePresetLast = 107,
    CadrelCmdRuleLinkFirst = 110,  // 110..113
    CadrelCmdRuleLinkLast = 113,
    CadrelCmdSortByFirst = 120,  // 120..123
    CadrelCmdSortByLast = 123,
    CadrelCmdSortDescending = 124,
    CadrelCmdThemeFirst = 130,  // 130..132
    CadrelCmdThemeLast = 132,
    CadrelCmdUndo = 200,
    CadrelCmdRedo = 201,
    CadrelCmdViewFirst = 210,  // 210..212
    CadrelCmdViewLast = 212,
    CadrelCmdResetZoom = 213,
    CadrelCmdTabIcon = 240,
    CadrelCmdRemoveTabIcon = 241,
    CadrelCmdHostFirst = 280,  // 280 + position in the candidate list
    CadrelCmdHostLast = 280 + 39,
    CadrelCmdLanguageFirst = 300,  // 300..318
    CadrelCmdLanguageLast = 318,
};

inline constexpr int OpacityPercents[10] = {15, 20, 30, 40, 50, 60, 70, 80, 90, 100};
inline constexpr size_t MaxHostCandidates = 40;
inline constexpr size_t MaxHostTitleLength = 48;

// What the application tells the menu: the undo stack, the shortcuts, the
// preferences and what the administration policy allows.
struct CadrelMenuFacts {
    std::wstring undoText;  // empty: nothing to undo
    std::wstring redoText;
    bool canUndo = false;
    bool canRedo = false;
    std::wstring undoHotkey;  // empty when the shortcut has no text
    std::wstring redoHotkey;
    std::wstring searchHotkey;
    int theme = 0;
    int language = 0;
    bool cadrelsLocked = false;
    bool quitLocked = false;
    bool appearanceHidden = false;  // settings section 1 hidden or locked
    bool sortingHidden = false;     // section 4
    bool languageHidden = false;    // section 5
    bool opacityForced = false;
    bool viewForced = false;
    bool themeForced = false;
    bool languageForced = false;
    bool activeTabHosts = false;  // the active tab shows another application's window
    bool canRehost = false;       // the window last released from this cadrel can be hosted again
    std::uintptr_t rehostWindow = 0;  // that window
};

// The cadrel's own state as the menu shows it.
struct CadrelMenuState {
    int tabCount = 1;
    bool locked = false;
    bool pinned = false;
    int unfoldDirection = 0;
    int classifyMode = 0;
    double opacity = 0.62;
    int viewMode = 0;
    int sortBy = 0;
    bool sortDescending = false;
    bool hasEmblem = false;
    SortRule rule;
    // The titles of the hosting submenu, already limited and cut.
    std::vector<std::wstring> hostTitles;
};

std::vector<DarkMenuItem> BuildCadrelMenu(const CadrelMenuState& state, const CadrelMenuFacts& facts);

// Whether the opacity entry of `percent` is marked for the opacity: the
// percentages differ by less than 4.
bool OpacityEntryMarked(int percent, double opacity);

// A window title as the hosting submenu lists it: whole up to 48 characters,
// else its first 47 and "…".
std::wstring HostMenuTitle(const std::wstring& title);

// A top-level window as the hosting submenu sees it, in z-order.
struct HostWindowFacts {
    std::uintptr_t window = 0;
    std::wstring title;  // as GetWindowTextW gave it
    bool candidate = false;  // an ordinary application window
    bool hostedElsewhere = false;  // another live cadrel hosts it
};

// The windows the submenu offers, in order: ordinary windows with a title,
// at most 40 of them collected, then those hosted by another cadrel left out.
std::vector<HostWindowFacts> HostCandidates(const std::vector<HostWindowFacts>& windows);

// The leading decimal integer of an "older than" answer; 0 when there is
// none, and a negative number counts as 0.
int DaysFromText(const std::wstring& text);

}  // namespace cadrels
