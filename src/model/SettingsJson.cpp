#include "model/SettingsJson.h"

#include "i18n/StringTable.h"
#include "i18n/TextEncoding.h"
#include "model/NewId.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <optional>

namespace cadrels {
namespace {

// ---- Reading: one helper per read rule ----------------------------------

// Integers truncate toward zero; values beyond the type are clamped rather
// than left to an undefined conversion.
long long TruncateToInt64(double number)
{
    if (std::isnan(number)) {
        return 0;
    }
    constexpr double Limit = 9223372036854774784.0;
    if (number >= Limit) {
        return LLONG_MAX;
    }
    if (number <= -Limit) {
        return LLONG_MIN;
    }
    return static_cast<long long>(number);
}

int TruncateToInt(double number)
{
    const long long wide = TruncateToInt64(number);
    return wide > INT_MAX ? INT_MAX : (wide < INT_MIN ? INT_MIN : static_cast<int>(wide));
}

int ReadInt(const JsonValue* value, int fallback)
{
    return value && value->IsNumber() ? TruncateToInt(value->NumberOr(0)) : fallback;
}

long long ReadInt64(const JsonValue* value, long long fallback)
{
    return value && value->IsNumber() ? TruncateToInt64(value->NumberOr(0)) : fallback;
}

double ReadDouble(const JsonValue* value, double fallback)
{
    return value ? value->NumberOr(fallback) : fallback;
}

Color ReadColor(const JsonValue* value, Color fallback)
{
    if (!value || !value->IsNumber()) {
        return fallback;
    }
    return static_cast<Color>(static_cast<unsigned long long>(TruncateToInt64(value->NumberOr(0))) & 0xFFFFFFFFu);
}

// Flags are numbers; some also take JSON booleans, for the others a boolean
// (or any non-number) reads as false.
bool ReadFlag(const JsonValue* value, bool fallback)
{
    return value ? value->BoolOr(fallback) : fallback;
}

bool ReadNumberFlag(const JsonValue* value, bool fallback)
{
    if (!value) {
        return fallback;
    }
    return value->IsNumber() && !(value->NumberOr(0) == 0.0);
}

std::wstring ReadText(const JsonValue* value)
{
    return value ? Utf8ToWide(value->StringOr({})) : std::wstring();
}

std::string ReadId(const JsonValue* value)
{
    return value ? std::string(value->StringOr({})) : std::string();
}

// Arrays of strings: non-strings and empty strings are skipped.
std::vector<std::wstring> ReadTextList(const JsonValue* value)
{
    std::vector<std::wstring> list;
    if (!value) {
        return list;
    }
    for (const JsonValue& element : value->Elements()) {
        if (element.IsString() && !element.StringOr({}).empty()) {
            list.push_back(Utf8ToWide(element.StringOr({})));
        }
    }
    return list;
}

CadrelGeom ReadGeometry(const JsonValue& object)
{
    CadrelGeom geometry;
    geometry.monitor = ReadId(object.Find("monitor"));
    geometry.x = ReadDouble(object.Find("x"), geometry.x);
    geometry.y = ReadDouble(object.Find("y"), geometry.y);
    geometry.w = ReadDouble(object.Find("w"), geometry.w);
    geometry.h = ReadDouble(object.Find("h"), geometry.h);
    geometry.rolled = ReadNumberFlag(object.Find("rolled"), false);
    return geometry;
}

PageLayouts ReadLayouts(const JsonValue* value)
{
    PageLayouts layouts;
    if (!value) {
        return layouts;
    }
    for (const auto& [key, byCadrel] : value->Members()) {
        if (!byCadrel.IsObject()) {
            continue;
        }
        auto& geometries = layouts[key];
        for (const auto& [cadrelId, geometry] : byCadrel.Members()) {
            if (geometry.IsObject()) {
                geometries[cadrelId] = ReadGeometry(geometry);
            }
        }
    }
    return layouts;
}

RuleCondition ReadCondition(const JsonValue& object)
{
    RuleCondition condition;
    condition.k = ReadInt(object.Find("k"), 0);
    condition.op = ReadInt(object.Find("op"), 0);
    condition.t = ReadText(object.Find("t"));
    condition.n = ReadInt64(object.Find("n"), 0);
    return condition;
}

SortRule ReadRule(const JsonValue& object)
{
    SortRule rule;
    rule.enabled = ReadNumberFlag(object.Find("enabled"), false);
    rule.exts = ReadText(object.Find("exts"));
    rule.name = ReadText(object.Find("name"));
    rule.olderDays = std::max(0, ReadInt(object.Find("olderDays"), 0));
    rule.link = ReadInt(object.Find("link"), 0);
    rule.priority = ReadInt(object.Find("priority"), 0);
    if (const JsonValue* groups = object.Find("groups")) {
        for (const JsonValue& group : groups->Elements()) {
            if (!group.IsArray()) {
                continue;
            }
            std::vector<RuleCondition>& conditions = rule.groups.emplace_back();
            for (const JsonValue& condition : group.Elements()) {
                if (condition.IsObject()) {
                    conditions.push_back(ReadCondition(condition));
                }
            }
        }
    }
    return rule;
}

CadrelTab ReadTab(const JsonValue& object)
{
    CadrelTab tab;
    tab.title = ReadText(object.Find("title"));
    tab.folder = ReadText(object.Find("folder"));
    tab.pinned = ReadTextList(object.Find("pinned"));
    tab.emblem = ReadText(object.Find("emblem"));
    tab.hostedExe = ReadText(object.Find("hostedExe"));
    tab.hostedAumid = ReadText(object.Find("hostedAumid"));
    tab.hostedTitle = ReadText(object.Find("hostedTitle"));
    tab.titleAuto = ReadNumberFlag(object.Find("titleAuto"), false);
    return tab;
}

int InRangeOr(int value, int low, int high, int fallback)
{
    return value < low || value > high ? fallback : value;
}

// Empty when the record must be dropped (no id, or a tab list without tabs).
std::optional<CadrelRecord> ReadCadrel(const JsonValue& object)
{
    CadrelRecord record;
    record.id = ReadId(object.Find("id"));
    if (record.id.empty()) {
        return std::nullopt;
    }
    record.opacity = ReadDouble(object.Find("opacity"), record.opacity);
    record.tint = ReadColor(object.Find("tint"), 0);
    record.caccent = ReadColor(object.Find("caccent"), 0);
    record.pinned = ReadNumberFlag(object.Find("pinned"), false);
    record.locked = ReadNumberFlag(object.Find("locked"), false);
    record.classifyMode = ReadInt(object.Find("classifyMode"), 0);
    if (const JsonValue* direction = object.Find("expandDir")) {
        record.expandDir = ReadInt(direction, 0);
    } else {
        record.expandDir = ReadFlag(object.Find("expandUp"), false) ? 1 : 0;
    }
    record.sortBy = InRangeOr(ReadInt(object.Find("sortBy"), 0), 0, 3, 0);
    record.sortDesc = ReadNumberFlag(object.Find("sortDesc"), false);
    record.viewMode = InRangeOr(ReadInt(object.Find("viewMode"), 0), 0, 2, 0);
    if (const JsonValue* density = object.Find("density")) {
        const auto& zooms = density->Elements();
        for (size_t i = 0; i < zooms.size() && i < record.density.size(); ++i) {
            const double zoom = zooms[i].NumberOr(1.0);
            record.density[i] = static_cast<float>(std::clamp(zoom, 0.6, 2.0));
        }
    }
    if (const JsonValue* rule = object.Find("rule"); rule && rule->IsObject()) {
        record.rule = ReadRule(*rule);
    }
    const JsonValue* tabs = object.Find("tabs");
    if (tabs && tabs->IsArray()) {
        for (const JsonValue& tab : tabs->Elements()) {
            if (tab.IsObject()) {
                record.tabs.push_back(ReadTab(tab));
            }
        }
        if (record.tabs.empty()) {
            return std::nullopt;
        }
    } else {
        // Records written before tabs existed carry their one folder themselves.
        CadrelTab tab;
        tab.title = ReadText(object.Find("title"));
        tab.folder = ReadText(object.Find("folder"));
        record.tabs.push_back(std::move(tab));
    }
    const int active = ReadInt(object.Find("active"), 0);
    record.active = active < 0 || active >= static_cast<int>(record.tabs.size()) ? 0 : active;
    return record;
}

std::vector<CadrelRecord> ReadCadrels(const JsonValue* value)
{
    std::vector<CadrelRecord> records;
    if (!value) {
        return records;
    }
    for (const JsonValue& element : value->Elements()) {
        if (!element.IsObject()) {
            continue;
        }
        if (auto record = ReadCadrel(element)) {
            records.push_back(std::move(*record));
        }
    }
    return records;
}

Workspace ReadPage(const JsonValue& object)
{
    Workspace page;
    page.id = ReadId(object.Find("id"));
    if (page.id.empty()) {
        page.id = NewId();
    }
    page.name = ReadText(object.Find("name"));
    page.layoutLocked = ReadFlag(object.Find("layoutLocked"), false);
    page.cadrels = ReadCadrels(object.Find("cadrels"));
    page.layouts = ReadLayouts(object.Find("layouts"));
    return page;
}

Workspace NewDesktopPage()
{
    Workspace page;
    page.id = NewId();
    page.name = Tr(TextId::Desktop);
    return page;
}

void ReadPreferences(const JsonValue& root, Settings& s)
{
    s.language = ReadInt(root.Find("language"), s.language);
    s.theme = ReadInt(root.Find("theme"), s.theme);
    s.snap = ReadFlag(root.Find("snap"), s.snap);
    s.grid = std::max(0, ReadInt(root.Find("grid"), s.grid));
    s.accent = ReadColor(root.Find("accent"), s.accent);
    s.cadrelBg = ReadColor(root.Find("cadrelBg"), s.cadrelBg);
    s.dblClickHide = ReadFlag(root.Find("dblClickHide"), s.dblClickHide);
    s.showDock = ReadFlag(root.Find("showDock"), s.showDock);
    s.containersClaimed = ReadFlag(root.Find("containersClaimed"), s.containersClaimed);
    s.dock = ReadTextList(root.Find("dock"));
    if (const JsonValue* icons = root.Find("dockIcons")) {
        for (const auto& [name, icon] : icons->Members()) {
            const std::string_view key = icon.StringOr({});
            if (!name.empty() && !key.empty()) {
                s.dockIcons[Utf8ToWide(name)] = Utf8ToWide(key);
            }
        }
    }
    s.activeWorkspace = ReadInt(root.Find("activeWorkspace"), s.activeWorkspace);
    s.watchFolders = ReadTextList(root.Find("watchFolders"));
    if (const JsonValue* recent = root.Find("recentDisplays")) {
        for (const JsonValue& key : recent->Elements()) {
            if (key.IsString() && !key.StringOr("").empty() && s.recentDisplays.size() < MaxRecentDisplays) {
                s.recentDisplays.emplace_back(key.StringOr(""));
            }
        }
    }
    if (const JsonValue* hotkeys = root.Find("hotkeys")) {
        for (const JsonValue& binding : hotkeys->Elements()) {
            const JsonValue* action = binding.Find("a");
            if (!binding.IsObject() || !action) {
                continue;
            }
            s.hotkeys[ReadInt(action, 0)] = HotkeyBinding{ReadInt(binding.Find("m"), 0), ReadInt(binding.Find("v"), 0)};
        }
    }
    s.backupEnabled = ReadFlag(root.Find("backupEnabled"), s.backupEnabled);
    s.backupFolder = ReadText(root.Find("backupFolder"));
    s.backupFreq = InRangeOr(ReadInt(root.Find("backupFreq"), 1), 0, 2, 1);
    const JsonValue* keep = root.Find("backupKeep");
    s.backupKeep = keep && keep->IsNumber() ? std::clamp(ReadInt(keep, 10), 1, 100) : 10;
    s.backupLast = ReadDouble(root.Find("backupLast"), 0);
    s.backupCloud = ReadFlag(root.Find("backupCloud"), s.backupCloud);
    if (const JsonValue* apps = root.Find("snapApps")) {
        for (const JsonValue& app : apps->Elements()) {
            const std::wstring exe = app.IsObject() ? ReadText(app.Find("exe")) : std::wstring();
            if (exe.empty()) {
                continue;
            }
            s.snapApps.push_back(SnapAppEntry{exe, ReadInt(app.Find("layout"), 0), ReadInt(app.Find("region"), 0),
                                              ReadNumberFlag(app.Find("anchored"), false)});
        }
    }
}

// ---- Writing -------------------------------------------------------------

JsonValue Text(const std::wstring& text)
{
    return JsonValue(WideToUtf8(text));
}

JsonValue Flag(bool value)
{
    return JsonValue(value ? 1 : 0);
}

JsonValue TextList(const std::vector<std::wstring>& list)
{
    JsonValue array = JsonValue::MakeArray();
    for (const std::wstring& text : list) {
        array.Push(Text(text));
    }
    return array;
}

// The double a user would have typed for this float ("0.6", not 0.6000000238).
double ShortestDouble(float value)
{
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    double result = value;
    std::from_chars(buffer, written.ptr, result);
    return result;
}

JsonValue GeometryToJson(const CadrelGeom& geometry)
{
    JsonValue object = JsonValue::MakeObject();
    object.Append("monitor", JsonValue(geometry.monitor));
    object.Append("x", geometry.x);
    object.Append("y", geometry.y);
    object.Append("w", geometry.w);
    object.Append("h", geometry.h);
    object.Append("rolled", Flag(geometry.rolled));
    return object;
}

JsonValue RuleToJson(const SortRule& rule)
{
    JsonValue object = JsonValue::MakeObject();
    object.Append("enabled", Flag(rule.enabled));
    object.Append("exts", Text(rule.exts));
    object.Append("name", Text(rule.name));
    object.Append("olderDays", rule.olderDays);
    object.Append("link", rule.link);
    if (rule.priority != 0) {
        object.Append("priority", rule.priority);
    }
    if (!rule.groups.empty()) {
        JsonValue groups = JsonValue::MakeArray();
        for (const auto& group : rule.groups) {
            JsonValue conditions = JsonValue::MakeArray();
            for (const RuleCondition& condition : group) {
                JsonValue item = JsonValue::MakeObject();
                item.Append("k", condition.k);
                if (condition.op != 0) {
                    item.Append("op", condition.op);
                }
                if (!condition.t.empty()) {
                    item.Append("t", Text(condition.t));
                }
                if (condition.n != 0) {
                    item.Append("n", static_cast<long long>(condition.n));
                }
                conditions.Push(std::move(item));
            }
            groups.Push(std::move(conditions));
        }
        object.Append("groups", std::move(groups));
    }
    return object;
}

JsonValue TabToJson(const CadrelTab& tab)
{
    JsonValue object = JsonValue::MakeObject();
    object.Append("title", Text(tab.title));
    object.Append("folder", Text(tab.folder));
    if (!tab.pinned.empty()) {
        object.Append("pinned", TextList(tab.pinned));
    }
    auto optionalText = [&](const char* key, const std::wstring& text) {
        if (!text.empty()) {
            object.Append(key, Text(text));
        }
    };
    optionalText("emblem", tab.emblem);
    optionalText("hostedExe", tab.hostedExe);
    optionalText("hostedAumid", tab.hostedAumid);
    optionalText("hostedTitle", tab.hostedTitle);
    if (tab.titleAuto) {
        object.Append("titleAuto", Flag(true));
    }
    return object;
}

JsonValue CadrelToJson(const CadrelRecord& record)
{
    JsonValue object = JsonValue::MakeObject();
    object.Append("id", JsonValue(record.id));
    object.Append("opacity", record.opacity);
    object.Append("tint", record.tint);
    object.Append("caccent", record.caccent);
    object.Append("active", record.active);
    object.Append("pinned", Flag(record.pinned));
    object.Append("locked", Flag(record.locked));
    object.Append("classifyMode", record.classifyMode);
    object.Append("expandDir", record.expandDir);
    object.Append("sortBy", record.sortBy);
    object.Append("sortDesc", Flag(record.sortDesc));
    object.Append("viewMode", record.viewMode);
    JsonValue density = JsonValue::MakeArray();
    for (float zoom : record.density) {
        density.Push(ShortestDouble(zoom));
    }
    object.Append("density", std::move(density));
    object.Append("rule", RuleToJson(record.rule));
    JsonValue tabs = JsonValue::MakeArray();
    for (const CadrelTab& tab : record.tabs) {
        tabs.Push(TabToJson(tab));
    }
    object.Append("tabs", std::move(tabs));
    return object;
}

JsonValue PageToJson(const Workspace& page)
{
    JsonValue object = JsonValue::MakeObject();
    object.Append("id", JsonValue(page.id));
    object.Append("name", Text(page.name));
    object.Append("layoutLocked", Flag(page.layoutLocked));
    JsonValue cadrels = JsonValue::MakeArray();
    for (const CadrelRecord& record : page.cadrels) {
        cadrels.Push(CadrelToJson(record));
    }
    object.Append("cadrels", std::move(cadrels));
    JsonValue layouts = JsonValue::MakeObject();
    for (const auto& [key, geometries] : page.layouts) {
        JsonValue byCadrel = JsonValue::MakeObject();
        for (const auto& [cadrelId, geometry] : geometries) {
            byCadrel.Append(cadrelId, GeometryToJson(geometry));
        }
        layouts.Append(key, std::move(byCadrel));
    }
    object.Append("layouts", std::move(layouts));
    return object;
}

}  // namespace

JsonValue SettingsToJson(const Settings& s)
{
    JsonValue root = JsonValue::MakeObject();
    root.Append("version", 2);
    root.Append("language", s.language);
    root.Append("theme", s.theme);
    root.Append("snap", Flag(s.snap));
    root.Append("grid", s.grid);
    root.Append("accent", s.accent);
    root.Append("cadrelBg", s.cadrelBg);
    root.Append("dblClickHide", Flag(s.dblClickHide));
    root.Append("showDock", Flag(s.showDock));
    root.Append("containersClaimed", Flag(s.containersClaimed));
    root.Append("dock", TextList(s.dock));
    if (!s.dockIcons.empty()) {
        JsonValue icons = JsonValue::MakeObject();
        for (const auto& [item, icon] : s.dockIcons) {
            icons.Append(WideToUtf8(item), Text(icon));
        }
        root.Append("dockIcons", std::move(icons));
    }
    root.Append("activeWorkspace", s.activeWorkspace);
    if (!s.watchFolders.empty()) {
        root.Append("watchFolders", TextList(s.watchFolders));
    }
    if (!s.hotkeys.empty()) {
        JsonValue hotkeys = JsonValue::MakeArray();
        for (const auto& [action, binding] : s.hotkeys) {
            JsonValue item = JsonValue::MakeObject();
            item.Append("a", action);
            item.Append("m", binding.modifiers);
            item.Append("v", binding.virtualKey);
            hotkeys.Push(std::move(item));
        }
        root.Append("hotkeys", std::move(hotkeys));
    }
    root.Append("backupEnabled", Flag(s.backupEnabled));
    if (!s.backupFolder.empty()) {
        root.Append("backupFolder", Text(s.backupFolder));
    }
    root.Append("backupFreq", s.backupFreq);
    root.Append("backupKeep", s.backupKeep);
    root.Append("backupLast", s.backupLast);
    root.Append("backupCloud", Flag(s.backupCloud));
    if (!s.snapApps.empty()) {
        JsonValue apps = JsonValue::MakeArray();
        for (const SnapAppEntry& app : s.snapApps) {
            JsonValue item = JsonValue::MakeObject();
            item.Append("exe", Text(app.exe));
            item.Append("layout", app.layout);
            item.Append("region", app.region);
            item.Append("anchored", Flag(app.anchored));
            apps.Push(std::move(item));
        }
        root.Append("snapApps", std::move(apps));
    }
    if (!s.recentDisplays.empty()) {
        JsonValue recent = JsonValue::MakeArray();
        for (const std::string& key : s.recentDisplays) {
            recent.Push(JsonValue(key));
        }
        root.Append("recentDisplays", std::move(recent));
    }
    JsonValue pages = JsonValue::MakeArray();
    for (const Workspace& page : s.workspaces) {
        pages.Push(PageToJson(page));
    }
    root.Append("workspaces", std::move(pages));
    return root;
}

bool SettingsFromJson(const JsonValue& root, Settings& out, bool& pagesFound)
{
    if (!root.IsObject()) {
        return false;
    }
    Settings s;
    ReadPreferences(root, s);
    if (const JsonValue* pages = root.Find("workspaces")) {
        for (const JsonValue& page : pages->Elements()) {
            if (page.IsObject()) {
                s.workspaces.push_back(ReadPage(page));
            }
        }
    }
    const bool fromWorkspaces = !s.workspaces.empty();
    const JsonValue* legacyCadrels = root.Find("cadrels");
    if (!fromWorkspaces && legacyCadrels && legacyCadrels->IsArray()) {
        // The single-page form of files written before pages existed.
        Workspace page = NewDesktopPage();
        page.cadrels = ReadCadrels(legacyCadrels);
        page.layouts = ReadLayouts(root.Find("layouts"));
        s.workspaces.push_back(std::move(page));
    }
    pagesFound = !s.workspaces.empty();
    if (!pagesFound) {
        s.workspaces.push_back(NewDesktopPage());
    }
    if (!fromWorkspaces) {
        s.activeWorkspace = 0;
    }
    if (s.activeWorkspace < 0 || s.activeWorkspace >= static_cast<int>(s.workspaces.size())) {
        s.activeWorkspace = 0;
    }
    s.version = 2;
    out = std::move(s);
    return true;
}

}  // namespace cadrels
