// Lists a cadrel's folder on a thread of its own, so that a share that stops
// answering, a cloud provider fetching placeholders or a folder of ten
// thousand files never holds up the windows. The names come first; the
// sizes of the subfolders, which need a walk below each of them, follow in a
// second result. Each result carries the generation it was asked in: one
// that arrives after its cadrel moved to another folder is dropped.
#pragma once

#include "base/Mailbox.h"
#include "cadrel/FolderListing.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cadrels {

struct ListedFolder {
    std::uint64_t generation = 0;
    // false: the entries, subfolders without their sizes; true: only the
    // subfolders, each with its size.
    bool sizes = false;
    FolderListing listing;
};

class FolderLister {
public:
    FolderLister();
    FolderLister(const FolderLister&) = delete;
    FolderLister& operator=(const FolderLister&) = delete;

    // Lists `folder` and posts `message` (parameters 0) to `window` for each
    // result. A request for the folder whose listing is still running waits
    // for it and runs once after it, however many came meanwhile, so a busy
    // folder has one listing at a time; a request for another folder starts
    // at once and makes every earlier result stale.
    void Request(const std::wstring& folder, HWND window, UINT message);
    // Makes everything still running stale (the cadrel shows no folder).
    void Cancel();
    // The next result of the current generation, null when none is
    // waiting. Starts the request that waited for the one that ended.
    std::unique_ptr<ListedFolder> TakeCurrent();
    // A listing of the current folder was asked for and has not answered.
    bool Waiting() const { return running_ != 0 || queued_.has_value(); }
    const std::wstring& Folder() const { return folder_; }

    // Every listing started afterwards fails or slows down its enumeration
    // step as `fault` says. For tests and benchmarks only.
    static void SetFaultForTests(EnumerationFault fault);

private:
    struct Queued {
        HWND window = nullptr;
        UINT message = 0;
    };
    void Launch(HWND window, UINT message);

    std::shared_ptr<Mailbox<ListedFolder>> mailbox_;
    std::uint64_t generation_ = 0;
    std::wstring folder_;
    std::uint64_t running_ = 0;  // generation of the entries pass in flight, 0 without one
    std::optional<Queued> queued_;
};

// What a listing thread does, without the thread: the entries without
// subfolder sizes, then the subfolders with theirs under the shared budget.
FolderListing ListEntries(const std::wstring& folder, const EnumerationFault& fault);
FolderListing ListFolderSizes(const std::vector<CadrelItem>& entries, std::size_t budget);

}  // namespace cadrels
