// File moves, the undo and redo stacks, and what the menus say about them.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "cadrel/CadrelClosing.h"
#include "fileops/FileMoves.h"
#include "fileops/WatchFolders.h"
#include "i18n/StringTable.h"
#include "model/ContainerFolders.h"
#include "model/Pages.h"
#include "settings/DarkPrompt.h"

namespace cadrels {
bool App::ExecuteMoves(const std::vector<MovePair>& pairs, bool forward)
{
    const OperationState::Scope running = operation_.Begin();
    return cadrels::ExecuteMoves(CreateMoveEngine, pairs, forward).succeeded;
}

bool App::MoveFolderContents(const std::wstring& folder, const std::wstring& destination,
                             std::vector<MovePair>* recordedMoves)
{
    const OperationState::Scope running = operation_.Begin();
    MoveReport report = cadrels::MoveFolderContents(CreateMoveEngine, folder, destination);
    // Even after a failure part-way: the files that did move must be undoable.
    if (recordedMoves != nullptr) {
        recordedMoves->insert(recordedMoves->end(), report.moved.begin(), report.moved.end());
    }
    return report.succeeded;
}

void App::PushUndo(UndoEntry entry)
{
    undo_.Push(std::move(entry));
}

void App::PostMovesDone(UndoEntry entry)
{
    movesDone_.Post(window_, WM_APP_MOVES_DONE, std::make_unique<UndoEntry>(std::move(entry)));
}

// The message carries nothing: the batch waits in the mailbox, and a message
// from elsewhere finds it empty.
void App::OnMovesDone()
{
    if (std::unique_ptr<UndoEntry> entry = movesDone_.Take()) {
        PushUndo(std::move(*entry));
        RefreshUndoUi();
    }
}

void App::Undo()
{
    // The menus offer no undo while the arrangement is frozen; the hotkeys
    // and the notification's button ask the same question.
    if (shuttingDown_ || AreCadrelsLocked()) {
        return;
    }
    if (UndoWouldFillAFolderNobodyShows()) {
        return;
    }
    const std::optional<UndoEntry> undone = undo_.Undo();
    if (!undone) {
        return;
    }
    if (!undone->moves.empty()) {
        RememberUndoneFiles(*undone);
    }
    schedule_.PauseSortingAfterUndo(GetTickCount());
    RefreshUndoUi();
}

// Undoing the move to the Desktop of a closed cadrel's files would make its
// container again, without the marker, and fill it where no cadrel shows
// it: the files would vanish for the user. The undo is refused, and the
// entry stays, so that the user is told again rather than silently skipped.
bool App::UndoWouldFillAFolderNobodyShows()
{
    const UndoEntry* next = undo_.History().NextUndo();
    if (next == nullptr || next->kind != UndoKindMoves || operation_.Running()) {
        return false;
    }
    const std::vector<std::wstring> missing =
        ContainersNoCadrelShows(next->moves, ContainerRoot(), [this](const std::wstring& container) {
            return cadrels_.ShowsFolder(container) ||
                   OtherPageShowsFolder(settings_, settings_.activeWorkspace, container, SameWatchFolder);
        });
    if (missing.empty()) {
        return false;
    }
    DebugLog(L"Annulation refusee : aucune cadrel ne montre plus %ls, les fichiers restent ou ils sont.",
             missing.front().c_str());
    const OperationState::Scope telling = operation_.Begin();
    ShowChoicePrompt(nullptr, TrFormat(TextId::UndoRefusedClosedCadrel, missing.front().c_str()), {Tr(TextId::Ok)}, 0);
    return true;
}

void App::Redo()
{
    if (shuttingDown_ || AreCadrelsLocked() || !undo_.Redo()) {
        return;
    }
    // Filed again by the redo: nothing is left to hold back.
    if (!undo_.History().UndoStack().empty()) {
        for (const MovePair& move : undo_.History().UndoStack().back().moves) {
            undoneFiles_.Forget(move.from);
        }
    }
    schedule_.PauseSortingAfterUndo(GetTickCount());
    RefreshUndoUi();
}

void App::RefreshUndoUi()
{
    undoUi_ = MakeUndoMenuTexts(undo_.History());
    DebugLog(L"Annulation : %d entree(s) a annuler, %d a retablir.",
             static_cast<int>(undo_.History().UndoStack().size()),
             static_cast<int>(undo_.History().RedoStack().size()));
}

}  // namespace cadrels
