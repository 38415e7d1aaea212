// The cadrels an administrator imposes ("cadrels" of the policy), read into
// plain values. Texts stay UTF-8 as the file holds them; the merge converts.
#pragma once

#include "model/JsonValue.h"
#include "model/Records.h"

#include <optional>
#include <string>
#include <vector>

namespace cadrels {

struct PredefinedTab {
    std::string title;
    std::string folder;  // a path or a folder keyword, unresolved
    std::string emblem;
    std::string hostedExe;
    bool personal = false;

    friend bool operator==(const PredefinedTab&, const PredefinedTab&) = default;
};

struct PredefinedCadrel {
    std::vector<PredefinedTab> tabs;  // only the tabs that are taken over
    double x = 0.1;                   // fractions of the primary work area
    double y = 0.1;
    double w = 0.25;
    double h = 0.4;
    std::optional<double> opacityPercent;  // 15..100
    std::optional<Color> tint;
    std::optional<Color> accent;
    std::optional<int> viewMode;
    int expandDir = 0;
    std::optional<int> sortBy;
    bool sortDesc = false;
    bool pinned = false;
    bool locked = false;
    bool rolledUp = false;

    friend bool operator==(const PredefinedCadrel&, const PredefinedCadrel&) = default;
};

// Elements that are not objects, tabs with neither folder, personal flag nor
// hosted application, and cadrels left without a tab are skipped.
std::vector<PredefinedCadrel> ReadPredefinedCadrels(const JsonValue* cadrels);

}  // namespace cadrels
