#include "fileops/UndoManager.h"

#include "base/DebugLog.h"
#include "fileops/FileMoves.h"

namespace cadrels {

namespace {

std::vector<FileIdentity> IdentitiesAt(const std::vector<MovePair>& moves)
{
    std::vector<FileIdentity> identities;
    identities.reserve(moves.size());
    for (const MovePair& move : moves) {
        identities.push_back(ReadFileIdentity(move.to));
    }
    return identities;
}

}  // namespace

bool UndoManager::Push(UndoEntry entry)
{
    if (entry.kind == UndoKindMoves) {
        entry.identities = IdentitiesAt(entry.moves);
    }
    return history_.Push(std::move(entry));
}

bool UndoManager::Replay(UndoEntry& entry, bool forward)
{
    skipped_.clear();
    if (entry.kind != UndoKindMoves) {
        return true;
    }
    const bool remembered = entry.identities.size() == entry.moves.size();
    std::vector<MovePair> pairs;
    pairs.reserve(entry.moves.size());
    for (size_t index = 0; index < entry.moves.size(); ++index) {
        const MovePair& move = entry.moves[index];
        // By name alone, a file that took the name since would be moved in
        // the item's place.
        if (remembered && !SameItem(entry.identities[index], ReadFileIdentity(forward ? move.from : move.to))) {
            skipped_.push_back(move);
            continue;
        }
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
    DebugLog(L"%s : %d deplacement(s) sur %d, %d element(s) qui ne sont plus ceux deplaces laisses en place.",
             forward ? L"Retablissement" : L"Annulation", static_cast<int>(happened.size()),
             static_cast<int>(entry.moves.size()), static_cast<int>(skipped_.size()));
    // Where each item is now: a move across volumes gives it a new id.
    entry.identities.clear();
    for (const MovePair& move : report.moved) {
        entry.identities.push_back(ReadFileIdentity(move.to));
    }
    entry.moves = std::move(happened);
    return report.succeeded && skipped_.empty();
}

std::optional<UndoEntry> UndoManager::Undo()
{
    if (operation_.Running()) {
        DebugLog(L"Annulation refusee : une operation sur les fichiers est en cours.");
        return std::nullopt;
    }
    std::optional<UndoEntry> entry = history_.TakeForUndo();
    if (!entry) {
        return std::nullopt;
    }
    {
        const OperationState::Scope running = operation_.Begin();
        Replay(*entry, false);
    }
    UndoEntry finished = *entry;
    history_.FinishUndo(std::move(*entry));
    return finished;
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
