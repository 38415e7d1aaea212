#include "policy/PredefinedCadrels.h"

#include "policy/PolicyReadings.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace cadrels {
namespace {

constexpr std::array<PolicyWord, 9> ViewModeWords = {{
    {"icons", 0}, {"icones", 0}, {"0", 0},
    {"list", 1}, {"liste", 1}, {"1", 1},
    {"tiles", 2}, {"tuiles", 2}, {"2", 2},
}};

constexpr std::array<PolicyWord, 9> ExpandWords = {{
    {"up", 1}, {"haut", 1}, {"1", 1},
    {"left", 2}, {"gauche", 2}, {"2", 2},
    {"right", 3}, {"droite", 3}, {"3", 3},
}};

constexpr std::array<PolicyWord, 10> SortWords = {{
    {"name", 0}, {"nom", 0}, {"0", 0},
    {"type", 1}, {"1", 1},
    {"date", 2}, {"2", 2},
    {"size", 3}, {"taille", 3}, {"3", 3},
}};

// A number, NaN excepted (it would slip through any clamp), else the default.
double FractionOr(const JsonValue* value, double fallback, double min, double max)
{
    if (value == nullptr || !value->IsNumber() || std::isnan(value->NumberOr(0))) {
        return fallback;
    }
    return std::clamp(value->NumberOr(0), min, max);
}

std::optional<int> WordValue(const JsonValue* value, std::span<const PolicyWord> words)
{
    const int found = LookUpPolicyWord(ReadPolicyWord(value, true), words);
    return found == PolicyNotSet ? std::nullopt : std::optional<int>(found);
}

bool Flag(const JsonValue& object, std::string_view key)
{
    return ReadPolicyBoolean(object.Find(key)) == 1;
}

PredefinedTab ReadTab(const JsonValue& object)
{
    PredefinedTab tab;
    tab.title = ReadPolicyString(object.Find("title"));
    tab.folder = ReadPolicyString(object.Find("folder"));
    tab.emblem = ReadPolicyString(object.Find("emblem"));
    tab.hostedExe = ReadPolicyString(object.Find("hostedExe"));
    tab.personal = Flag(object, "personal");
    return tab;
}

bool IsTakenOver(const PredefinedTab& tab)
{
    return !tab.folder.empty() || tab.personal || !tab.hostedExe.empty();
}

}  // namespace

std::vector<PredefinedCadrel> ReadPredefinedCadrels(const JsonValue* cadrels)
{
    std::vector<PredefinedCadrel> result;
    if (cadrels == nullptr) {
        return result;
    }
    for (const JsonValue& object : cadrels->Elements()) {
        if (!object.IsObject()) {
            continue;
        }
        PredefinedCadrel cadrel;
        if (const JsonValue* tabs = object.Find("tabs")) {
            for (const JsonValue& tabObject : tabs->Elements()) {
                if (tabObject.IsObject()) {
                    cadrel.tabs.push_back(ReadTab(tabObject));
                }
            }
        } else {
            // The short form: the cadrel object is its own single tab.
            PredefinedTab tab;
            tab.title = ReadPolicyString(object.Find("title"));
            tab.folder = ReadPolicyString(object.Find("folder"));
            cadrel.tabs.push_back(std::move(tab));
        }
        std::erase_if(cadrel.tabs, [](const PredefinedTab& tab) { return !IsTakenOver(tab); });
        if (cadrel.tabs.empty()) {
            continue;
        }
        cadrel.x = FractionOr(object.Find("x"), 0.1, 0, 0.98);
        cadrel.y = FractionOr(object.Find("y"), 0.1, 0, 0.98);
        cadrel.w = FractionOr(object.Find("w"), 0.25, 0.05, 1);
        cadrel.h = FractionOr(object.Find("h"), 0.4, 0.05, 1);
        if (const JsonValue* opacity = object.Find("opacity"); opacity != nullptr && opacity->IsNumber() &&
                                                               !std::isnan(opacity->NumberOr(0))) {
            cadrel.opacityPercent = std::clamp(opacity->NumberOr(0), 15.0, 100.0);
        }
        cadrel.tint = ReadPolicyColour(object.Find("tint"));
        cadrel.accent = ReadPolicyColour(object.Find("accent"));
        cadrel.viewMode = WordValue(object.Find("viewMode"), ViewModeWords);
        cadrel.expandDir = WordValue(object.Find("expandDir"), ExpandWords).value_or(0);
        cadrel.sortBy = WordValue(object.Find("sortBy"), SortWords);
        cadrel.sortDesc = Flag(object, "sortDesc");
        cadrel.pinned = Flag(object, "pinned");
        cadrel.locked = Flag(object, "locked");
        cadrel.rolledUp = Flag(object, "rolledUp");
        result.push_back(std::move(cadrel));
    }
    return result;
}

}  // namespace cadrels
