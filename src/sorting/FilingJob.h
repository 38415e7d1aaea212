// One filing pass as a value handed to a worker: everything it needs from the
// live cadrels is copied when the pass starts, so the file-system work (which
// folders still exist, which is which, the moves themselves) never runs on
// the thread that draws, and a share that stopped answering holds up only
// the pass.
#pragma once

#include "fileops/UndoEntry.h"
#include "sorting/SortRules.h"
#include "sorting/UndoneFiles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cadrels {

// A cadrel whose rule takes part, with the folder it shows right now.
struct FilingSource {
    SortRule rule;
    std::wstring destination;
};

struct FilingJob {
    // The Desktop comes first; these follow, each once it is a plain folder.
    std::vector<std::wstring> watchFolders;
    // Every folder a cadrel shows, on this page or another: never emptied.
    std::vector<std::wstring> shownFolders;
    std::vector<FilingSource> sources;
    // Files an undo just put back stay where they are.
    UndoneFiles undone;
    std::uint64_t now = 0;
};

struct FiledFolder {
    std::wstring folder;
    std::vector<MovePair> moved;
    // Every queued move happened.
    bool succeeded = true;
};

// What the worker hands back to the main thread.
struct FilingOutcome {
    std::vector<FiledFolder> folders;
};

// Runs the pass on the calling thread (COM initialised there): the folders
// in which at least one move was queued, in pass order.
std::vector<FiledFolder> RunFilingJob(FilingJob& job);

}  // namespace cadrels
