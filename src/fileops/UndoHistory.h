// The undo and redo stacks, newest last, and the rules for how entries
// travel between them.
#pragma once

#include "fileops/UndoEntry.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace cadrels {

class UndoHistory {
public:
    static constexpr size_t MaxUndoEntries = 50;

    // A new user action: an entry without moves is dropped (false) and
    // nothing changes; otherwise the redo stack is cleared and the oldest
    // undo entry falls off beyond the limit.
    bool Push(UndoEntry entry);

    // The entry an undo would reverse: the newest one, when it is undoable.
    // A kind-1 entry on top therefore blocks the entries below it.
    const UndoEntry* NextUndo() const;
    // The entry a redo would repeat (the undoable flag is not consulted).
    const UndoEntry* NextRedo() const;

    std::optional<UndoEntry> TakeForUndo();
    std::optional<UndoEntry> TakeForRedo();

    // After an undo the entry goes on the redo stack; after a redo back on
    // top of the undo stack, keeping the redo stack and without the trim.
    // An entry left without moves (nothing could be moved) is dropped.
    void FinishUndo(UndoEntry entry);
    void FinishRedo(UndoEntry entry);

    const std::vector<UndoEntry>& UndoStack() const { return undo_; }
    const std::vector<UndoEntry>& RedoStack() const { return redo_; }

private:
    std::vector<UndoEntry> undo_;
    std::vector<UndoEntry> redo_;
};

}  // namespace cadrels
