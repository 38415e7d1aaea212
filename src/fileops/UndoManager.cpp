#include "fileops/UndoManager.h"

#include "base/DebugLog.h"
#include "fileops/FileMoves.h"

namespace cadrels {

bool UndoManager::Replay(UndoEntry& entry, bool forward)
{
    if (entry.kind != UndoKindMoves) {
        return true;
    }
    std::vector<MovePair> pairs;
    pairs.reserve(entry.moves.size());
    for (const MovePair& move : entry.moves) {
        pairs.push_back(forward ? move : MovePair{move.to, move.from});
    }
    const MoveReport report = ExecuteMoves(engines_, pairs, forward);
    // The entry now says what really happened: a pair skipped because its old
    // place was taken stays where it is, and a redo that renamed on collision
    // names the new file, so the next undo or redo moves the right files.
    std::vector<MovePair> happened;
    happened.reserve(report.moved.size());
    for (const MovePair& move : report.moved) {
        happened.push_back(forward ? move : MovePair{move.to, move.from});
    }
    DebugLog(L"%s : %d deplacement(s) sur %d.", forward ? L"Retablissement" : L"Annulation",
             static_cast<int>(happened.size()), static_cast<int>(pairs.size()));
    entry.moves = std::move(happened);
    return report.succeeded;
}

bool UndoManager::Undo()
{
    if (operation_.Running()) {
        DebugLog(L"Annulation refusee : une operation sur les fichiers est en cours.");
        return false;
    }
    std::optional<UndoEntry> entry = history_.TakeForUndo();
    if (!entry) {
        return false;
    }
    {
        const OperationState::Scope running = operation_.Begin();
        Replay(*entry, false);
    }
    history_.FinishUndo(std::move(*entry));
    return true;
}

bool UndoManager::Redo()
{
    if (operation_.Running()) {
        DebugLog(L"Retablissement refuse : une operation sur les fichiers est en cours.");
        return false;
    }
    std::optional<UndoEntry> entry = history_.TakeForRedo();
    if (!entry) {
        return false;
    }
    {
        const OperationState::Scope running = operation_.Begin();
        Replay(*entry, true);
    }
    history_.FinishRedo(std::move(*entry));
    return true;
}

}  // namespace cadrels
