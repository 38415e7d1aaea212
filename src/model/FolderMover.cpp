#include "model/FolderMover.h"

#include <utility>

namespace cadrels {
namespace {

FolderMover& InstalledMover()
{
    static FolderMover mover;
    return mover;
}

}  // namespace

void SetFolderMover(FolderMover mover)
{
    InstalledMover() = std::move(mover);
}

bool MoveFolderThroughMover(const std::wstring& from, const std::wstring& to)
{
    const FolderMover& mover = InstalledMover();
    return mover && mover(from, to);
}

}  // namespace cadrels
