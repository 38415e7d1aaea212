// The texts the menus and the settings window show for sorting rules: the
// extension presets of the simple form and the short summary of a condition.
#pragma once

#include "i18n/TextId.h"
#include "model/Records.h"

#include <array>
#include <string>
#include <string_view>

namespace cadrels {

struct ExtensionPreset {
    TextId labelId;        // the menu label
    const wchar_t* exts;   // the exact `exts` text; null for the custom entry
};

inline constexpr int CustomExtensionPreset = 7;
inline constexpr TextId ExtensionPresetPromptId = TextId::ExtensionsPrompt;

// Items 0 to 7 of the cadrel menu's extension choice.
const std::array<ExtensionPreset, 8>& ExtensionPresets();

// The item the menu marks as current: the preset whose text equals `exts`
// exactly, 0 for an empty text, else the custom entry.
int PresetIndexForExts(std::wstring_view exts);

// The operand of a condition as a few characters ("≥ 5 Mo", "30 j", "pdf").
std::wstring ConditionSummary(const RuleCondition& condition);

}  // namespace cadrels
