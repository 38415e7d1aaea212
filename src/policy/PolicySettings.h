// The policy's forced values of the settings schema's entries: each entry
// names its policy key and how the file states it, so one look-up serves every
// forced setting. No Windows headers; the process-wide look-ups are defined
// beside the other process queries in Policy.cpp.
#pragma once

#include "model/SettingsSchema.h"
#include "policy/PolicyDocument.h"

#include <optional>

namespace cadrels {

// The forced value as the setting stores it (a percent as a fraction, a
// language code as its index, a colour as a COLORREF); empty when the policy
// does not set the key, sets it to something it cannot read, or names a
// language that does not exist. A folder comes back as the policy's text: the
// caller resolves its keyword.
std::optional<SettingValue> ForcedSetting(const PolicyDocument& policy, const SettingPolicy& rule);

// The same for the policy this process loaded (see Policy.h).
std::optional<SettingValue> PolicyForcedSetting(const SettingPolicy& rule);
bool IsSettingForced(const SettingPolicy& rule);

}  // namespace cadrels
