// Every member of the layout file's root object and of a cadrel record, in
// written order, one entry each. A plain-valued setting carries everything
// about it here: its JSON key, the field it lives in (which gives its type and,
// through the record's own initialiser, its default), how a stored value is
// read and kept in range, when it is written, the choices or range a settings
// screen offers, the policy key that can force it and the text id of its
// label. The reader, the writer, the policy's overrides and a settings screen
// all walk these tables. Members that are lists, maps or nested objects are
// entries of kind Structured: they only hold their place in the order, and
// SettingsJson reads and writes them by hand.
#pragma once

#include "i18n/TextId.h"
#include "model/Records.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace cadrels {

enum class SettingKind { Flag, Int, Colour, Double, Text, Zooms, Structured };

// What a stored number outside the entry's range becomes when it is read.
enum class OutOfRange { Kept, Clamped, Defaulted };

// Flags are written as 1 and 0; some also read JSON true/false, the others
// read anything but a non-zero number as false.
enum class FlagRead { NumberOnly, AcceptsBoolean };

enum class WhenWritten { Always, WhenNotEmpty };

struct SettingRange {
    double low = 0;
    double high = 0;
};

// One choice a settings screen offers; without a label it shows the value itself.
struct SettingChoice {
    int value;
    std::optional<TextId> label;
};

// How the policy file states a forced value. Percent is an integer percent
// read as a fraction; Folder is a path or folder keyword the caller resolves.
enum class PolicyReading { None, Boolean, Integer, Percent, Colour, Folder, LanguageCode, ThemeWord, ViewModeWord };

struct SettingPolicy {
    std::string_view key;
    PolicyReading reading = PolicyReading::None;
    int low = 0;  // Integer and Percent: the policy's own range
    int high = 0;

    bool Exists() const { return reading != PolicyReading::None; }
};

// A value of any plain kind: flags, integers, colours, doubles and zooms as
// `number`, texts as `text`. A zoom setting reads as the zoom of the record's
// current view and is set for every view, as the policy and the appearance
// tab's slider set it.
struct SettingValue {
    double number = 0;
    std::wstring text;

    friend bool operator==(const SettingValue&, const SettingValue&) = default;
};

template <typename Record>
struct SettingEntry {
    using Member = std::variant<std::monostate, bool Record::*, int Record::*, Color Record::*, double Record::*,
                                std::wstring Record::*, std::array<float, 3> Record::*>;

    std::string_view key;
    Member member;
    FlagRead flagRead = FlagRead::NumberOnly;
    SettingRange range{};  // valid values; empty for colours, texts and flags
    OutOfRange outOfRange = OutOfRange::Kept;
    WhenWritten written = WhenWritten::Always;
    std::span<const SettingChoice> choices{};
    SettingPolicy policy{};
    std::optional<TextId> label{};  // none: kept by the program itself, not shown as a setting
    // A flag this key replaced: when the key is missing, the older flag
    // gives 1 when true and 0 otherwise.
    std::string_view olderFlagKey{};

    SettingKind Kind() const { return static_cast<SettingKind>(KindByMember[member.index()]); }
    bool IsStructured() const { return member.index() == 0; }
    bool IsShown() const { return label.has_value() && !IsStructured(); }

private:
    static constexpr int KindByMember[] = {
        static_cast<int>(SettingKind::Structured), static_cast<int>(SettingKind::Flag),
        static_cast<int>(SettingKind::Int),        static_cast<int>(SettingKind::Colour),
        static_cast<int>(SettingKind::Double),     static_cast<int>(SettingKind::Text),
        static_cast<int>(SettingKind::Zooms)};
};

using GlobalSetting = SettingEntry<Settings>;
using CadrelSetting = SettingEntry<CadrelRecord>;

// The root object after "version" (which is always 2), and a cadrel record.
std::span<const GlobalSetting> GlobalSettings();
std::span<const CadrelSetting> CadrelSettings();

const GlobalSetting* FindGlobalSetting(std::string_view key);
const CadrelSetting* FindCadrelSetting(std::string_view key);

// The value a freshly constructed record holds.
SettingValue SettingDefault(const GlobalSetting& entry);
SettingValue SettingDefault(const CadrelSetting& entry);

SettingValue GetSetting(const GlobalSetting& entry, const Settings& settings);
SettingValue GetSetting(const CadrelSetting& entry, const CadrelRecord& record);

// A stored number as an integer: truncated toward zero, NaN as 0, values
// beyond the type clamped rather than left to an undefined conversion.
long long TruncateToInt64(double number);
int TruncateToInt(double number);

// `number` by the entry's range rule: kept, clamped into the range, or
// `fallback` (the default) when it lies outside.
double NumberInRange(const SettingRange& range, OutOfRange rule, double number, double fallback);

// Stores `value` after the entry's read rule (clamped or replaced by the
// default when it is out of range, as a stored value would be).
void SetSetting(const GlobalSetting& entry, Settings& settings, const SettingValue& value);
void SetSetting(const CadrelSetting& entry, CadrelRecord& record, const SettingValue& value);

}  // namespace cadrels
