// Data objects of files: the shell's own for files of one folder, as
// Explorer hands out when files are dragged from it, and the paths a
// dropped one carries.
#pragma once

#include <objidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace cadrels {

// Paths that cannot be parsed are left out; null when none is left.
Microsoft::WRL::ComPtr<IDataObject> ShellDataObjectForPaths(const std::vector<std::wstring>& paths);

// The one format drops of files come in: CF_HDROP in global memory.
FORMATETC FileDropFormat();
// The paths of a drop of files in their order; empty when it carries none.
std::vector<std::wstring> DroppedPaths(IDataObject* data);

}  // namespace cadrels
