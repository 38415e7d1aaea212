#include "policy/PolicySettings.h"

#include "i18n/StringTable.h"
#include "i18n/TextEncoding.h"
#include "policy/PolicyReadings.h"

namespace cadrels {
namespace {

std::optional<SettingValue> Number(int value)
{
    return value == PolicyNotSet ? std::nullopt : std::optional<SettingValue>(SettingValue{static_cast<double>(value)});
}

}  // namespace

std::optional<SettingValue> ForcedSetting(const PolicyDocument& policy, const SettingPolicy& rule)
{
    switch (rule.reading) {
    case PolicyReading::None:
        return std::nullopt;
    case PolicyReading::Boolean:
        return Number(policy.Bool(rule.key));
    case PolicyReading::Integer:
        return Number(policy.Int(rule.key, rule.low, rule.high));
    case PolicyReading::Percent: {
        const int percent = policy.Int(rule.key, rule.low, rule.high);
        return percent == PolicyNotSet ? std::nullopt : std::optional<SettingValue>(SettingValue{percent / 100.0});
    }
    case PolicyReading::Colour: {
        const std::optional<Color> colour = policy.Colour(rule.key);
        return colour ? std::optional<SettingValue>(SettingValue{static_cast<double>(*colour)}) : std::nullopt;
    }
    case PolicyReading::Folder: {
        const std::string folder = policy.String(rule.key);
        return folder.empty() ? std::nullopt : std::optional<SettingValue>(SettingValue{0, Utf8ToWide(folder)});
    }
    case PolicyReading::LanguageCode: {
        const std::string code = AsciiLowered(policy.String(rule.key));
        const int index = code.empty() ? -1 : LanguageIndexFromCode(code);
        return index < 0 ? std::nullopt : std::optional<SettingValue>(SettingValue{static_cast<double>(index)});
    }
    case PolicyReading::ThemeWord:
        return Number(PolicyThemeFromWord(ReadPolicyWord(policy.Root().Find(rule.key), false)));
    case PolicyReading::ViewModeWord:
        return Number(PolicyViewModeFromWord(ReadPolicyWord(policy.Root().Find(rule.key), false)));
    }
    return std::nullopt;
}

}  // namespace cadrels
