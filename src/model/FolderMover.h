// Container folders are moved by the program's one move engine, which lives
// in a layer above this one: it installs itself here at start-up, so that
// renaming and migrating containers follow the same rules as every other
// move (nothing replaced, every result checked on disk).
#pragma once

#include <functional>
#include <string>

namespace cadrels {

// Moves the folder `from` to the path `to`, which must not exist; true when
// the folder is there afterwards, else false with the reason in
// GetLastError().
using FolderMover = std::function<bool(const std::wstring& from, const std::wstring& to)>;

// Replaces the process's mover; an empty one moves nothing.
void SetFolderMover(FolderMover mover);

// Through the installed mover; false when none is installed.
bool MoveFolderThroughMover(const std::wstring& from, const std::wstring& to);

}  // namespace cadrels
