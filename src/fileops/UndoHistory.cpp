#include "fileops/UndoHistory.h"

#include <utility>

namespace cadrels {

bool UndoHistory::Push(UndoEntry entry)
{
    if (entry.moves.empty()) {
        return false;
    }
    redo_.clear();
    undo_.push_back(std::move(entry));
    if (undo_.size() > MaxUndoEntries) {
        undo_.erase(undo_.begin());
    }
    return true;
}

const UndoEntry* UndoHistory::NextUndo() const
{
    if (undo_.empty() || !undo_.back().undoable) {
        return nullptr;
    }
    return &undo_.back();
}

const UndoEntry* UndoHistory::NextRedo() const
{
    return redo_.empty() ? nullptr : &redo_.back();
}

std::optional<UndoEntry> UndoHistory::TakeForUndo()
{
    if (NextUndo() == nullptr) {
        return std::nullopt;
    }
    UndoEntry entry = std::move(undo_.back());
    undo_.pop_back();
    return entry;
}

std::optional<UndoEntry> UndoHistory::TakeForRedo()
{
    if (redo_.empty()) {
        return std::nullopt;
    }
    UndoEntry entry = std::move(redo_.back());
    redo_.pop_back();
    return entry;
}

void UndoHistory::FinishUndo(UndoEntry entry)
{
    if (!entry.moves.empty()) {
        redo_.push_back(std::move(entry));
    }
}

void UndoHistory::FinishRedo(UndoEntry entry)
{
    if (!entry.moves.empty()) {
        undo_.push_back(std::move(entry));
    }
}

}  // namespace cadrels
