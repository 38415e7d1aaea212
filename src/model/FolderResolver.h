// How the model finds the user's known folders; tests hand in their own to
// reproduce a folder that does not resolve.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace cadrels {

// A known folder's path, or empty when it does not resolve.
using FolderResolver = std::function<std::wstring(const GUID& id)>;

// The signed-in user's known folder as it is (never created).
std::wstring ResolveKnownFolder(const GUID& id);

}  // namespace cadrels
