// The program's batches of moves: replaying an undo entry's pairs, emptying a
// folder into another, filing items into a folder. Each goes through one
// move engine and reports exactly the moves that happened.
#pragma once

#include "fileops/MoveEngine.h"

#include <optional>
#include <string>
#include <vector>

namespace cadrels {

struct MoveReport {
    // True when the engine ran and every queued move happened.
    bool succeeded = false;
    // What happened, also when the batch failed part-way.
    std::vector<MovePair> moved;
};

// Moves each pair's `from` to its `to`, in order, creating missing target
// folders. Forward (redo) renames on collision; backward (undo) never
// replaces anything that has since appeared where a file used to be, and
// skips that pair. Pairs with an empty path or a target without a folder are
// skipped. Nothing to queue is a failure; an empty list a success.
MoveReport ExecuteMoves(const MoveEngineFactory& engines, const std::vector<MovePair>& pairs, bool forward);

// Moves everything directly inside `folder` into the existing folder
// `destination`, keeping names (renaming on collision), except the container
// marker file. Nothing to move is a success.
MoveReport MoveFolderContents(const MoveEngineFactory& engines, const std::wstring& folder,
                              const std::wstring& destination);

// Files the given items into the existing folder `destination`, keeping
// names (renaming on collision), as drops and sorting do.
MoveReport MoveIntoFolder(const MoveEngineFactory& engines, const std::vector<std::wstring>& sources,
                          const std::wstring& destination);

// Moves the folder `from` to the path `to` through the program's move
// engine, never replacing or merging: false when `to` is taken or the move
// did not happen. What model/ installs as its folder mover.
bool MoveFolderThroughEngine(const std::wstring& from, const std::wstring& to);

}  // namespace cadrels
