// Undo and redo: takes an entry off one stack, moves its files back or
// forward again, and puts it on the other stack with the moves that really
// happened this time.
#pragma once

#include "fileops/MoveEngine.h"
#include "fileops/OperationState.h"
#include "fileops/UndoHistory.h"

#include <optional>

namespace cadrels {

class UndoManager {
public:
    UndoManager(OperationState& operation, MoveEngineFactory engines)
        : operation_(operation), engines_(std::move(engines))
    {
    }

    // Pushes a new user action, remembering what each moved item is now,
    // so that undo and redo move it only while it still is that item.
    bool Push(UndoEntry entry);

    UndoHistory& History() { return history_; }
    const UndoHistory& History() const { return history_; }

    // Refused while another file operation, drag or prompt runs (the shell
    // pumps messages, and an undo arriving then would move files under the
    // running batch), and when there is nothing to undo or redo.
    // Undo gives the entry it finished, with the moves that went back (none
    // when nothing could): the redo stack cannot tell, since an action
    // pushed while the undo pumped messages clears it. Redo is true when an
    // entry changed stacks.
    std::optional<UndoEntry> Undo();
    bool Redo();

    // Pairs of the last undo or redo that were left alone because the item
    // at their place is no longer the one that moved (it moved away and
    // another took its name, or it was replaced), as the entry names them.
    const std::vector<MovePair>& Skipped() const { return skipped_; }

private:
    bool Replay(UndoEntry& entry, bool forward);

    OperationState& operation_;
    MoveEngineFactory engines_;
    UndoHistory history_;
    std::vector<MovePair> skipped_;
};

}  // namespace cadrels
