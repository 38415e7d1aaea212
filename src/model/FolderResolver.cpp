#include "model/FolderResolver.h"

#include "model/AppFolders.h"

namespace cadrels {

std::wstring ResolveKnownFolder(const GUID& id)
{
    return KnownFolder(id, false);
}

}  // namespace cadrels
