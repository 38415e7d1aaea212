// The Run value that starts the program when the user signs in.
#pragma once

#include <optional>

namespace cadrels {

bool IsStartWithWindows();
// Writes the value for the running program, or deletes it. Silent when the
// Run key cannot be opened: the setting then simply does not stick.
void SetStartWithWindows(bool enabled);

// The policy's "forceStartup" at start-up: the value is written or deleted
// only when it differs from what the policy asks.
void ApplyForcedStartup(std::optional<bool> forced);

}  // namespace cadrels
