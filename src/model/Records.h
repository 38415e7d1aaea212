// The records of the user's arrangement and preferences: plain copyable values
// whose defaults are the defaults of the layout file. Live windows never own
// them; a live cadrel is built from a record and copied back into it on save.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace cadrels {

// Colors are COLORREF values (red in the low byte); 0 means "theme default".
using Color = std::uint32_t;

// How many display keys the settings remember by recency.
inline constexpr size_t MaxRecentDisplays = 16;

struct CadrelGeom {
    std::string monitor;  // monitor identifier (UTF-8)
    double x = 0.1;       // fractions of that monitor's work area
    double y = 0.1;
    double w = 0.25;
    double h = 0.4;
    bool rolled = false;

    friend bool operator==(const CadrelGeom&, const CadrelGeom&) = default;
};

struct RuleCondition {
    enum Kind { Extensions = 0, NamePattern = 1, SizeMiB = 2, MinAgeDays = 3, ShortcutKind = 4 };
    int k = 0;
    int op = 0;
    std::wstring t;
    std::int64_t n = 0;

    friend bool operator==(const RuleCondition&, const RuleCondition&) = default;
};

struct SortRule {
    bool enabled = false;
    std::wstring exts;
    std::wstring name;
    int olderDays = 0;
    int link = 0;  // 0 none, 1 program, 2 folder, 3 web link
    int priority = 0;
    std::vector<std::vector<RuleCondition>> groups;  // replaces the simple form when present

    friend bool operator==(const SortRule&, const SortRule&) = default;
};

struct CadrelTab {
    std::wstring title;
    std::wstring folder;
    std::vector<std::wstring> pinned;
    std::wstring emblem;
    std::wstring hostedExe;
    std::wstring hostedAumid;
    std::wstring hostedTitle;
    bool titleAuto = false;

    friend bool operator==(const CadrelTab&, const CadrelTab&) = default;
};

// What a cadrel's record says about the cadrel itself, apart from its tabs:
// a live cadrel holds exactly this.
struct CadrelProperties {
    double opacity = 0.62;
    Color tint = 0;
    Color caccent = 0;
    bool pinned = false;
    bool locked = false;
    int classifyMode = 0;  // 0 none, 1 by type, 2 by month
    int expandDir = 0;     // 0 down, 1 up, 2 left, 3 right
    int sortBy = 0;        // 0 name, 1 type, 2 date, 3 size
    bool sortDesc = false;
    int viewMode = 0;      // 0 icon grid, 1 compact list, 2 large tiles
    std::array<float, 3> density = {1.0f, 1.0f, 1.0f};
    SortRule rule;

    friend bool operator==(const CadrelProperties&, const CadrelProperties&) = default;
};

struct CadrelRecord : CadrelProperties {
    std::string id;
    int active = 0;
    std::vector<CadrelTab> tabs;

    friend bool operator==(const CadrelRecord&, const CadrelRecord&) = default;
};

// Display key -> cadrel id -> geometry.
using PageLayouts = std::map<std::string, std::map<std::string, CadrelGeom>>;

struct Workspace {
    std::string id;
    std::wstring name;
    bool layoutLocked = false;
    std::vector<CadrelRecord> cadrels;
    PageLayouts layouts;

    friend bool operator==(const Workspace&, const Workspace&) = default;
};

struct HotkeyBinding {
    int modifiers = 0;   // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_WIN 8
    int virtualKey = 0;  // 0: the action has no shortcut

    friend bool operator==(const HotkeyBinding&, const HotkeyBinding&) = default;
};

enum HotkeyAction {
    HotkeyUndo = 0,
    HotkeyRedo,
    HotkeyFileSearch,
    HotkeyToggleHidden,
    HotkeyNewEmptyCadrel,
    HotkeyLauncher,
    HotkeySortNow,
    HotkeySettings,
    HotkeyNextPage,
    HotkeyPreviousPage,
    HotkeyActionCount
};

struct SnapAppEntry {
    std::wstring exe;
    int layout = 0;
    int region = 0;
    bool anchored = false;

    friend bool operator==(const SnapAppEntry&, const SnapAppEntry&) = default;
};

struct Settings {
    int version = 2;
    int language = 0;
    int theme = 0;  // 0 system, 1 dark, 2 light
    bool snap = true;
    int grid = 0;
    Color accent = 0;
    Color cadrelBg = 0;
    bool dblClickHide = true;
    bool showDock = false;
    bool containersClaimed = false;
    std::vector<std::wstring> dock;
    std::map<std::wstring, std::wstring> dockIcons;
    int activeWorkspace = 0;
    std::vector<std::wstring> watchFolders;
    std::map<int, HotkeyBinding> hotkeys;  // action index -> binding
    bool backupEnabled = false;
    std::wstring backupFolder;
    int backupFreq = 1;  // 0 every change, 1 daily, 2 weekly
    int backupKeep = 10;
    double backupLast = 0;  // seconds since 1970 UTC
    bool backupCloud = false;
    std::vector<SnapAppEntry> snapApps;
    // Display keys the arrangement was last saved under, most recent first:
    // a display configuration without geometry borrows from the newest.
    std::vector<std::string> recentDisplays;  // at most MaxRecentDisplays
    std::vector<Workspace> workspaces;

    friend bool operator==(const Settings&, const Settings&) = default;
};

}  // namespace cadrels
