// Where the program keeps its own files.
#pragma once

#include <windows.h>

#include <string>

namespace cadrels {

// %LOCALAPPDATA%\Cadrels, created on first use; empty when it cannot be
// resolved or created (nothing is then loaded or saved).
std::wstring AppDataFolder();

// The known folder's path, optionally created; empty on failure.
std::wstring KnownFolder(const GUID& id, bool create);

}  // namespace cadrels
