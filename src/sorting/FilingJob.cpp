#include "sorting/FilingJob.h"

#include "fileops/MoveEngine.h"
#include "fileops/WatchFolders.h"
#include "model/FolderResolver.h"
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

bool Shown(const FilingJob& job, const std::wstring& folder)
{
    for (const std::wstring& shown : job.shownFolders) {
        if (!shown.empty() && SameWatchFolder(shown, folder)) {
            return true;
        }
    }
    return false;
}

std::vector<FilingCandidate> Candidates(const FilingJob& job, const std::wstring& folder)
{
    std::vector<FilingCandidate> candidates;
    for (const FilingSource& source : job.sources) {
        if (source.destination.empty() || SameWatchFolder(source.destination, folder) ||
            !IsWatchableDirectory(source.destination)) {
            continue;
        }
        candidates.push_back(MakeCandidate(source.rule, source.destination));
    }
    OrderCandidates(candidates);
    return candidates;
}

}  // namespace

std::vector<FiledFolder> RunFilingJob(FilingJob& job)
{
    std::vector<FiledFolder> filed;
    ShellFileFacts facts;
    for (const std::wstring& folder : SortFolders(job.watchFolders)) {
        if (Shown(job, folder)) {
            continue;
        }
        const std::vector<FilingCandidate> candidates = Candidates(job, folder);
        if (candidates.empty()) {
            continue;
        }
        FilingResult result =
            FileFolder(folder, candidates, facts, CreateMoveEngine, job.now,
                       [&job](const std::wstring& path, const FileStat& stat) {
                           return job.undone.HoldsBack(path, stat.lastWrite);
                       });
        if (result.queued) {
            filed.push_back({folder, std::move(result.report.moved), result.report.succeeded});
        }
    }
    return filed;
}

}  // namespace cadrels
