// Variables the process must not pass on to what it launches.
#pragma once

#include <string>
#include <vector>

namespace cadrels {

// Names in a double-NUL-terminated environment block that start with "VSCODE_"
// or "CHROME_CRASHPAD" (case-sensitive), in block order. Entries whose "=" is
// missing or first are skipped (they are the per-drive current directories).
std::vector<std::wstring> InheritedVariablesToRemove(const wchar_t* environmentBlock);

// Deletes the editor and crash-reporter variables an IDE or browser may have
// passed in, so launched items and installers never inherit them.
void ScrubEnvironment();

}  // namespace cadrels
