// The filing pass: files on the Desktop and in the watched folders go into
// the folder of the cadrel whose rule matches them.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/ComApartment.h"
#include "base/DebugLog.h"
#include "i18n/StringTable.h"
#include "sorting/ShellFileFacts.h"

#include <system_error>

namespace cadrels {

void App::SortNow()
{
    if (!schedule_.SortMayRun(operation_.Running(), GetTickCount64())) {
        return;
    }
    if (shuttingDown_ || filingWorker_.joinable()) {
        return;
    }
    FilingJob job;
    job.watchFolders = settings_.watchFolders;
    job.shownFolders = cadrels_.ShownFolders();
    for (size_t page = 0; page < settings_.workspaces.size(); ++page) {
        if (static_cast<int>(page) == settings_.activeWorkspace) {
            continue;
        }
        for (const CadrelRecord& cadrel : settings_.workspaces[page].cadrels) {
            for (const CadrelTab& tab : cadrel.tabs) {
                job.shownFolders.push_back(tab.folder);
            }
        }
    }
    job.sources = cadrels_.FilingSources();
    job.undone = undoneFiles_;
    job.now = UtcNow();
    // The moves run on a worker; while it runs, whatever moves files or
    // destroys cadrels waits as it does for any other file operation.
    filingScope_.emplace(operation_.Begin());
    const HWND window = window_;
    std::shared_ptr<Mailbox<FilingOutcome>> outcomes = filingOutcomes_;
    try {
        filingWorker_ = std::thread([window, outcomes, job = std::move(job)]() mutable {
            const ComApartment apartment;
            auto outcome = std::make_unique<FilingOutcome>();
            outcome->folders = RunFilingJob(job);
            outcomes->Post(window, WM_APP_FILING_DONE, std::move(outcome));
        });
    } catch (const std::system_error&) {
        filingScope_.reset();
        DebugLog(L"Passe de rangement impossible a lancer.");
    }
}

void App::OnFilingDone()
{
    const std::unique_ptr<FilingOutcome> outcome = filingOutcomes_->Take();
    if (!outcome) {
        return;
    }
    if (filingWorker_.joinable()) {
        filingWorker_.join();
    }
    filingScope_.reset();
    int total = 0;
    for (FiledFolder& filed : outcome->folders) {
        const int moved = static_cast<int>(filed.moved.size());
        total += moved;
        DebugLog(L"Rangement de %ls : %d fichier(s) deplace(s)%ls.", filed.folder.c_str(), moved,
                 filed.succeeded ? L"" : L", d'autres sont restes en place");
        // A file that could not move stays where it was without a message;
        // those that did move are undoable all the same.
        if (moved > 0) {
            PushUndo(UndoEntry{UndoKindMoves, TrFormat(TextId::UndoAutoSort, moved), std::move(filed.moved), true});
            RefreshUndoUi();
        }
    }
    DebugLog(L"Passe de rangement : %d fichier(s) range(s).", total);
}

// At exit a pass that is moving files is let finish: a process that ends in
// the middle of a move across volumes leaves a partial copy behind.
void App::FinishFiling()
{
    if (filingWorker_.joinable()) {
        filingWorker_.join();
    }
    filingScope_.reset();
}

// Moving a file keeps its last-write time, so the file an undo put back is
// recognised by it until the user changes the file.
void App::RememberUndoneFiles(const UndoEntry& undone)
{
    ShellFileFacts facts;
    for (const MovePair& move : undone.moves) {
        if (const std::optional<FileStat> stat = facts.Stat(move.from); stat && !stat->directory) {
            undoneFiles_.Remember(move.from, stat->lastWrite);
        }
    }
}

}  // namespace cadrels
