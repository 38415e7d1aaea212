#include "model/SettingsSchema.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace cadrels {
namespace {

constexpr SettingRange IntRange{INT_MIN, INT_MAX};
constexpr SettingRange NotNegative{0, INT_MAX};

constexpr SettingChoice ThemeChoices[] = {{0, TextId::ThemeSystem}, {1, TextId::ThemeDark}, {2, TextId::ThemeLight}};
constexpr SettingChoice GridChoices[] = {
    {0, TextId::GridNone}, {16, std::nullopt}, {24, std::nullopt}, {32, std::nullopt}};
constexpr SettingChoice BackupFrequencies[] = {{0, TextId::EveryChange}, {1, TextId::Daily}, {2, TextId::Weekly}};
constexpr SettingChoice ClassifyModes[] = {
    {0, TextId::ClassifyNone}, {1, TextId::ClassifyByType}, {2, TextId::ClassifyByMonth}};
constexpr SettingChoice UnfoldDirections[] = {
    {0, TextId::Downward}, {1, TextId::Upward}, {2, TextId::Leftward}, {3, TextId::Rightward}};
constexpr SettingChoice SortKeys[] = {
    {0, TextId::SortByName}, {1, TextId::SortByType}, {2, TextId::SortByDate}, {3, TextId::SortBySize}};
constexpr SettingChoice ViewModes[] = {{0, TextId::IconGrid}, {1, TextId::CompactList}, {2, TextId::LargeTiles}};

constexpr SettingPolicy Forced(std::string_view key, PolicyReading reading, int low = 0, int high = 0)
{
    return SettingPolicy{key, reading, low, high};
}

using enum FlagRead;
using enum OutOfRange;
using enum PolicyReading;

// Theme, language, class and view values other than those offered are kept as
// stored: the code that uses them treats an unknown one as the first choice.
const GlobalSetting GlobalTable[] = {
    {.key = "language",
     .member = &Settings::language,
     .range = {0, 18},
     .policy = Forced("forceLanguage", LanguageCode),
     .label = TextId::Language},
    {.key = "theme",
     .member = &Settings::theme,
     .range = {0, 2},
     .choices = ThemeChoices,
     .policy = Forced("forceTheme", ThemeWord),
     .label = TextId::Theme},
    {.key = "snap",
     .member = &Settings::snap,
     .flagRead = AcceptsBoolean,
     .policy = Forced("forceSnap", Boolean),
     .label = TextId::Snapping},
    {.key = "grid",
     .member = &Settings::grid,
     .range = NotNegative,
     .outOfRange = Clamped,
     .choices = GridChoices,
     .policy = Forced("forceGrid", Integer, 0, 256),
     .label = TextId::Grid},
    {.key = "accent",
     .member = &Settings::accent,
     .policy = Forced("forceAccent", Colour),
     .label = TextId::AccentColor},
    {.key = "cadrelBg",
     .member = &Settings::cadrelBg,
     .policy = Forced("forceCadrelColor", Colour),
     .label = TextId::CadrelsColor},
    {.key = "dblClickHide",
     .member = &Settings::dblClickHide,
     .flagRead = AcceptsBoolean,
     .policy = Forced("forceDblClickHide", Boolean),
     .label = TextId::HideDesktopDoubleClick},
    {.key = "showDock",
     .member = &Settings::showDock,
     .flagRead = AcceptsBoolean,
     .policy = Forced("forceDock", Boolean),
     .label = TextId::Dock},
    {.key = "containersClaimed", .member = &Settings::containersClaimed, .flagRead = AcceptsBoolean},
    {.key = "dock"},
    {.key = "dockIcons"},
    // Checked against the page count once the pages are read.
    {.key = "activeWorkspace", .member = &Settings::activeWorkspace, .range = IntRange},
    {.key = "watchFolders"},
    {.key = "hotkeys"},
    {.key = "backupEnabled",
     .member = &Settings::backupEnabled,
     .flagRead = AcceptsBoolean,
     .policy = Forced("forceBackup", Boolean),
     .label = TextId::AutomaticBackup},
    {.key = "backupFolder",
     .member = &Settings::backupFolder,
     .written = WhenWritten::WhenNotEmpty,
     .policy = Forced("forceBackupFolder", Folder),
     .label = TextId::DestinationFolder},
    {.key = "backupFreq",
     .member = &Settings::backupFreq,
     .range = {0, 2},
     .outOfRange = Defaulted,
     .choices = BackupFrequencies,
     .label = TextId::Frequency},
    {.key = "backupKeep",
     .member = &Settings::backupKeep,
     .range = {1, 100},
     .outOfRange = Clamped,
     .label = TextId::BackupsKept},
    {.key = "backupLast", .member = &Settings::backupLast},
    {.key = "backupCloud",
     .member = &Settings::backupCloud,
     .flagRead = AcceptsBoolean,
     .policy = Forced("forceBackupCloud", Boolean),
     .label = TextId::CloudBackup},
    {.key = "snapApps"},
    {.key = "recentDisplays"},
    {.key = "workspaces"},
};

const CadrelSetting CadrelTable[] = {
    // A record whose id is empty is dropped.
    {.key = "id"},
    {.key = "opacity", .member = &CadrelRecord::opacity, .range = {0.15, 1.0},
     .policy = Forced("forceOpacity", Percent, 15, 100), .label = TextId::Opacity},
    {.key = "tint", .member = &CadrelRecord::tint, .label = TextId::CadrelColor},
    {.key = "caccent", .member = &CadrelRecord::caccent, .label = TextId::AccentColor},
    // Checked against the tab count once the tabs are read.
    {.key = "active", .member = &CadrelRecord::active, .range = IntRange},
    {.key = "pinned", .member = &CadrelRecord::pinned, .label = TextId::PinKeepOpen},
    {.key = "locked", .member = &CadrelRecord::locked, .label = TextId::LockDontMove},
    {.key = "classifyMode", .member = &CadrelRecord::classifyMode, .range = {0, 2}, .choices = ClassifyModes,
     .label = TextId::AutoSort},
    {.key = "expandDir", .member = &CadrelRecord::expandDir, .range = {0, 3}, .choices = UnfoldDirections,
     .label = TextId::UnfoldDirection, .olderFlagKey = "expandUp"},
    {.key = "sortBy", .member = &CadrelRecord::sortBy, .range = {0, 3}, .outOfRange = Defaulted, .choices = SortKeys,
     .label = TextId::SortBy},
    {.key = "sortDesc", .member = &CadrelRecord::sortDesc, .label = TextId::SortDescending},
    {.key = "viewMode", .member = &CadrelRecord::viewMode, .range = {0, 2}, .outOfRange = Defaulted,
     .choices = ViewModes, .policy = Forced("forceViewMode", ViewModeWord), .label = TextId::View},
    {.key = "density", .member = &CadrelRecord::density, .range = {0.6, 2.0}, .outOfRange = Clamped,
     .policy = Forced("forceZoom", Percent, 60, 200), .label = TextId::Zoom},
    {.key = "rule"},
    {.key = "tabs"},
};

template <typename Record>
const SettingEntry<Record>* Find(std::span<const SettingEntry<Record>> table, std::string_view key)
{
    const auto found = std::find_if(table.begin(), table.end(), [key](const auto& entry) { return entry.key == key; });
    return found == table.end() ? nullptr : &*found;
}

template <typename Record>
SettingValue Get(const SettingEntry<Record>& entry, const Record& record, size_t view)
{
    SettingValue value;
    std::visit(
        [&](auto member) {
            using Member = decltype(member);
            if constexpr (std::is_same_v<Member, std::wstring Record::*>) {
                value.text = record.*member;
            } else if constexpr (std::is_same_v<Member, std::array<float, 3> Record::*>) {
                value.number = (record.*member)[std::min<size_t>(view, 2)];
            } else if constexpr (!std::is_same_v<Member, std::monostate>) {
                value.number = static_cast<double>(record.*member);
            }
        },
        entry.member);
    return value;
}

template <typename Record>
void Set(const SettingEntry<Record>& entry, Record& record, const SettingValue& value)
{
    static const Record defaults{};
    std::visit(
        [&](auto member) {
            using Member = decltype(member);
            if constexpr (std::is_same_v<Member, bool Record::*>) {
                record.*member = !(value.number == 0.0);
            } else if constexpr (std::is_same_v<Member, int Record::*>) {
                const double number = TruncateToInt(value.number);
                const double kept = NumberInRange(entry.range, entry.outOfRange, number, defaults.*member);
                record.*member = static_cast<int>(kept);
            } else if constexpr (std::is_same_v<Member, Color Record::*>) {
                // The low 32 bits, as COLORREF values are stored.
                record.*member = static_cast<Color>(static_cast<unsigned long long>(TruncateToInt64(value.number)) &
                                                    0xFFFFFFFFu);
            } else if constexpr (std::is_same_v<Member, double Record::*>) {
                record.*member = NumberInRange(entry.range, entry.outOfRange, value.number, defaults.*member);
            } else if constexpr (std::is_same_v<Member, std::wstring Record::*>) {
                record.*member = value.text;
            } else if constexpr (std::is_same_v<Member, std::array<float, 3> Record::*>) {
                for (size_t view = 0; view < (record.*member).size(); ++view) {
                    const double fallback = (defaults.*member)[view];
                    (record.*member)[view] =
                        static_cast<float>(NumberInRange(entry.range, entry.outOfRange, value.number, fallback));
                }
            }
        },
        entry.member);
}

size_t CurrentView(const CadrelRecord& record)
{
    return record.viewMode < 0 ? 0 : static_cast<size_t>(record.viewMode);
}

}  // namespace

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
    return static_cast<int>(std::clamp<long long>(TruncateToInt64(number), INT_MIN, INT_MAX));
}

double NumberInRange(const SettingRange& range, OutOfRange rule, double number, double fallback)
{
    if (rule == OutOfRange::Kept || (number >= range.low && number <= range.high)) {
        return number;
    }
    return rule == OutOfRange::Clamped ? std::clamp(number, range.low, range.high) : fallback;
}

std::span<const GlobalSetting> GlobalSettings()
{
    return GlobalTable;
}

std::span<const CadrelSetting> CadrelSettings()
{
    return CadrelTable;
}

const GlobalSetting* FindGlobalSetting(std::string_view key)
{
    return Find(GlobalSettings(), key);
}

const CadrelSetting* FindCadrelSetting(std::string_view key)
{
    return Find(CadrelSettings(), key);
}

SettingValue SettingDefault(const GlobalSetting& entry)
{
    static const Settings defaults{};
    return Get(entry, defaults, 0);
}

SettingValue SettingDefault(const CadrelSetting& entry)
{
    static const CadrelRecord defaults{};
    return Get(entry, defaults, CurrentView(defaults));
}

SettingValue GetSetting(const GlobalSetting& entry, const Settings& settings)
{
    return Get(entry, settings, 0);
}

SettingValue GetSetting(const CadrelSetting& entry, const CadrelRecord& record)
{
    return Get(entry, record, CurrentView(record));
}

void SetSetting(const GlobalSetting& entry, Settings& settings, const SettingValue& value)
{
    Set(entry, settings, value);
}

void SetSetting(const CadrelSetting& entry, CadrelRecord& record, const SettingValue& value)
{
    Set(entry, record, value);
}

}  // namespace cadrels
