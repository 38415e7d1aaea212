// The shell's own data object for files of one folder, as Explorer hands
// out when files are dragged from it: other programs and the shell accept
// it as a drop of those files.
#pragma once

#include <objidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace cadrels {

// Paths that cannot be parsed are left out; null when none is left.
Microsoft::WRL::ComPtr<IDataObject> ShellDataObjectForPaths(const std::vector<std::wstring>& paths);

}  // namespace cadrels
