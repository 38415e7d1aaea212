// The filing pass: files on the Desktop and in the watched folders go into
// the folder of the cadrel whose rule matches them.
#include "app/App.h"

#include "base/DebugLog.h"
#include "fileops/WatchFolders.h"
#include "i18n/StringTable.h"
#include "model/FolderResolver.h"
#include "model/Pages.h"
#include "sorting/FilingPass.h"
#include "sorting/ShellFileFacts.h"

#include <shlobj.h>

namespace cadrels {
namespace {

// The Desktop first, then each watched folder that still is a plain
// directory. A folder listed twice is sorted twice; the second run finds
// nothing left.
std::vector<std::wstring> SortFolders(const std::vector<std::wstring>& watchFolders)
{
    std::vector<std::wstring> folders;
    std::wstring desktop = ResolveKnownFolder(FOLDERID_Desktop);
    if (!desktop.empty()) {
        folders.push_back(std::move(desktop));
    }
    for (const std::wstring& folder : watchFolders) {
        if (!folder.empty() && IsWatchableDirectory(folder)) {
            folders.push_back(folder);
        }
    }
    return folders;
}

}  // namespace

void App::SortNow()
{
    if (!schedule_.SortMayRun(operation_.Running(), GetTickCount64())) {
        return;
    }
    if (shuttingDown_) {
        return;
    }
    int moved = 0;
    for (const std::wstring& folder : SortFolders(settings_.watchFolders)) {
        moved += FileFolder(folder);
    }
    DebugLog(L"Passe de rangement : %d fichier(s) range(s).", moved);
}

int App::FileFolder(const std::wstring& folder)
{
    // A folder that a cadrel displays, on this page or another, is never
    // emptied into other cadrels.
    if (folder.empty() || cadrels_.ShowsFolder(folder) ||
        OtherPageShowsFolder(settings_, settings_.activeWorkspace, folder, SameWatchFolder)) {
        return 0;
    }
    const std::vector<FilingCandidate> candidates = cadrels_.FilingCandidates(folder);
    if (candidates.empty()) {
        return 0;
    }
    ShellFileFacts facts;
    FilingResult result;
    {
        const OperationState::Scope running = operation_.Begin();
        result = cadrels::FileFolder(folder, candidates, facts, CreateMoveEngine, UtcNow(),
                                     [this](const std::wstring& path, const FileStat& stat) {
                                         return undoneFiles_.HoldsBack(path, stat.lastWrite);
                                     });
    }
    if (!result.queued) {
        return 0;
    }
    const int moved = static_cast<int>(result.report.moved.size());
    DebugLog(L"Rangement de %ls : %d fichier(s) deplace(s)%ls.", folder.c_str(), moved,
             result.report.succeeded ? L"" : L", d'autres sont restes en place");
    // A file that could not move stays where it was without a message; those
    // that did move are undoable all the same.
    if (moved > 0) {
        PushUndo(UndoEntry{UndoKindMoves, TrFormat(TextId::UndoAutoSort, moved), std::move(result.report.moved), true});
        RefreshUndoUi();
    }
    return moved;
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
