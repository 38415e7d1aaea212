#include "model/SettingsJson.h"

#include "i18n/StringTable.h"
#include "i18n/TextEncoding.h"
#include "model/NewId.h"
#include "model/SettingsSchema.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <variant>

namespace cadrels {
namespace {

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

// A plain-valued member by its schema entry. A missing value, and a value of
// a type the rule does not read, leave the freshly defaulted field alone.
template <typename Record>
void ReadSetting(const SettingEntry<Record>& entry, const JsonValue& object, Record& record)
{
    const JsonValue* value = object.Find(entry.key);
    if (!value && !entry.olderFlagKey.empty()) {
        SetSetting(entry, record, SettingValue{ReadFlag(object.Find(entry.olderFlagKey), false) ? 1.0 : 0.0});
        return;
    }
    if (!value) {
        return;
    }
    std::visit(
        [&](auto member) {
            using Member = decltype(member);
            if constexpr (std::is_same_v<Member, bool Record::*>) {
                if (entry.flagRead == FlagRead::NumberOnly) {
                    record.*member = ReadNumberFlag(value, false);
                } else {
                    record.*member = ReadFlag(value, record.*member);
                }
            } else if constexpr (std::is_same_v<Member, std::wstring Record::*>) {
                record.*member = ReadText(value);
            } else if constexpr (std::is_same_v<Member, std::array<float, 3> Record::*>) {
                const auto& zooms = value->Elements();
                auto& stored = record.*member;
                for (size_t i = 0; i < zooms.size() && i < stored.size(); ++i) {
                    const double zoom = zooms[i].NumberOr(stored[i]);
                    stored[i] = static_cast<float>(NumberInRange(entry.range, entry.outOfRange, zoom, stored[i]));
                }
            } else if constexpr (std::is_same_v<Member, double Record::*>) {
                SetSetting(entry, record, SettingValue{value->NumberOr(record.*member)});
            } else if constexpr (!std::is_same_v<Member, std::monostate>) {
                if (value->IsNumber()) {
                    SetSetting(entry, record, SettingValue{value->NumberOr(0)});
                }
            }
        },
        entry.member);
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

// Empty when the record must be dropped (no id, or a tab list without tabs).
std::optional<CadrelRecord> ReadCadrel(const JsonValue& object)
{
    CadrelRecord record;
    record.id = ReadId(object.Find("id"));
    if (record.id.empty()) {
        return std::nullopt;
    }
    for (const CadrelSetting& entry : CadrelSettings()) {
        ReadSetting(entry, object, record);
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
    if (record.active < 0 || record.active >= static_cast<int>(record.tabs.size())) {
        record.active = 0;
    }
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
    for (const GlobalSetting& entry : GlobalSettings()) {
        ReadSetting(entry, root, s);
    }
    s.dock = ReadTextList(root.Find("dock"));
    if (const JsonValue* icons = root.Find("dockIcons")) {
        for (const auto& [name, icon] : icons->Members()) {
            const std::string_view key = icon.StringOr({});
            if (!name.empty() && !key.empty()) {
                s.dockIcons[Utf8ToWide(name)] = Utf8ToWide(key);
            }
        }
    }
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

template <typename Record>
void WriteSetting(const SettingEntry<Record>& entry, const Record& record, JsonValue& object)
{
    std::visit(
        [&](auto member) {
            using Member = decltype(member);
            if constexpr (std::is_same_v<Member, bool Record::*>) {
                object.Append(std::string(entry.key), Flag(record.*member));
            } else if constexpr (std::is_same_v<Member, std::wstring Record::*>) {
                if (entry.written == WhenWritten::Always || !(record.*member).empty()) {
                    object.Append(std::string(entry.key), Text(record.*member));
                }
            } else if constexpr (std::is_same_v<Member, std::array<float, 3> Record::*>) {
                JsonValue zooms = JsonValue::MakeArray();
                for (float zoom : record.*member) {
                    zooms.Push(ShortestDouble(zoom));
                }
                object.Append(std::string(entry.key), std::move(zooms));
            } else if constexpr (!std::is_same_v<Member, std::monostate>) {
                object.Append(std::string(entry.key), record.*member);
            }
        },
        entry.member);
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
    for (const CadrelSetting& entry : CadrelSettings()) {
        if (entry.key == "id") {
            object.Append("id", JsonValue(record.id));
        } else if (entry.key == "rule") {
            object.Append("rule", RuleToJson(record.rule));
        } else if (entry.key == "tabs") {
            JsonValue tabs = JsonValue::MakeArray();
            for (const CadrelTab& tab : record.tabs) {
                tabs.Push(TabToJson(tab));
            }
            object.Append("tabs", std::move(tabs));
        } else {
            WriteSetting(entry, record, object);
        }
    }
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

void WriteDock(const Settings& s, JsonValue& root)
{
    root.Append("dock", TextList(s.dock));
}

void WriteDockIcons(const Settings& s, JsonValue& root)
{
    if (s.dockIcons.empty()) {
        return;
    }
    JsonValue icons = JsonValue::MakeObject();
    for (const auto& [item, icon] : s.dockIcons) {
        icons.Append(WideToUtf8(item), Text(icon));
    }
    root.Append("dockIcons", std::move(icons));
}

void WriteWatchFolders(const Settings& s, JsonValue& root)
{
    if (!s.watchFolders.empty()) {
        root.Append("watchFolders", TextList(s.watchFolders));
    }
}

void WriteHotkeys(const Settings& s, JsonValue& root)
{
    if (s.hotkeys.empty()) {
        return;
    }
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

void WriteSnapApps(const Settings& s, JsonValue& root)
{
    if (s.snapApps.empty()) {
        return;
    }
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

void WriteRecentDisplays(const Settings& s, JsonValue& root)
{
    if (s.recentDisplays.empty()) {
        return;
    }
    JsonValue recent = JsonValue::MakeArray();
    for (const std::string& key : s.recentDisplays) {
        recent.Push(JsonValue(key));
    }
    root.Append("recentDisplays", std::move(recent));
}

void WritePages(const Settings& s, JsonValue& root)
{
    JsonValue pages = JsonValue::MakeArray();
    for (const Workspace& page : s.workspaces) {
        pages.Push(PageToJson(page));
    }
    root.Append("workspaces", std::move(pages));
}

// The root's members that are not plain values, at their places in the schema.
struct StructuredMember {
    std::string_view key;
    void (*write)(const Settings&, JsonValue&);
};

constexpr StructuredMember StructuredMembers[] = {
    {"dock", WriteDock},         {"dockIcons", WriteDockIcons},           {"watchFolders", WriteWatchFolders},
    {"hotkeys", WriteHotkeys},   {"snapApps", WriteSnapApps},             {"recentDisplays", WriteRecentDisplays},
    {"workspaces", WritePages},
};

}  // namespace

JsonValue SettingsToJson(const Settings& s)
{
    JsonValue root = JsonValue::MakeObject();
    root.Append("version", 2);
    for (const GlobalSetting& entry : GlobalSettings()) {
        if (!entry.IsStructured()) {
            WriteSetting(entry, s, root);
            continue;
        }
        const auto writer = std::find_if(std::begin(StructuredMembers), std::end(StructuredMembers),
                                         [&](const StructuredMember& member) { return member.key == entry.key; });
        if (writer != std::end(StructuredMembers)) {
            writer->write(s, root);
        }
    }
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
