#include "sorting/FilingPass.h"

#include "base/UniqueHandle.h"
#include "fileops/WatchFolders.h"
#include "model/FolderTree.h"
#include "model/PathText.h"
#include "sorting/FileClasses.h"

#include <windows.h>

#include <map>

namespace cadrels {
namespace {

FilingResult Perform(MoveEngine& engine, bool queued)
{
    FilingResult result;
    result.queued = queued;
    if (queued) {
        result.report.succeeded = SUCCEEDED(engine.Perform());
        result.report.moved = engine.Moved();
    }
    return result;
}

}  // namespace

std::vector<std::wstring> ListMovableFiles(const std::wstring& folder)
{
    std::vector<std::wstring> files;
    if (folder.empty()) {
        return files;
    }
    WIN32_FIND_DATAW data{};
    UniqueFind find(FindFirstFileExW(ChildPath(folder, L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                     nullptr, 0));
    if (!find) {
        return files;
    }
    do {
        if (IsMovableEntry(data.cFileName, data.dwFileAttributes)) {
            files.push_back(ChildPath(folder, data.cFileName));
        }
    } while (FindNextFileW(find.Get(), &data));
    return files;
}

FilingResult FileFolder(const std::wstring& folder, const std::vector<FilingCandidate>& candidates, FileFacts& facts,
                        const MoveEngineFactory& engines, std::uint64_t now, const HoldBack& holdBack)
{
    if (folder.empty() || candidates.empty()) {
        return {};
    }
    const std::vector<std::wstring> files = ListMovableFiles(folder);
    if (files.empty()) {
        return {};
    }
    std::unique_ptr<MoveEngine> engine = engines(MoveOptions{true, false});
    if (!engine) {
        return {};
    }
    bool queued = false;
    for (const std::wstring& path : files) {
        // The existence check is the file's one attribute read: the size and
        // age conditions reuse it.
        FileFactsCache file(path, facts);
        const std::optional<FileStat>& stat = file.Stat();
        if (!stat || (holdBack && holdBack(path, *stat))) {
            continue;
        }
        for (const FilingCandidate& candidate : candidates) {
            if (RuleMatches(candidate.rule, file, now)) {
                queued = engine->Queue(path, candidate.destination, {}) || queued;
                break;
            }
        }
    }
    return Perform(*engine, queued);
}

FilingResult MoveIntoClassifiedFolder(const std::vector<std::wstring>& paths, const std::wstring& folder, int mode,
                                      FileFacts& facts, const MoveEngineFactory& engines)
{
    if (folder.empty() || paths.empty()) {
        return {};
    }
    std::unique_ptr<MoveEngine> engine = engines(MoveOptions{false, true});
    if (!engine) {
        return {};
    }
    // Destination path -> whether it could be made.
    std::map<std::wstring, bool> destinations;
    bool queued = false;
    for (const std::wstring& path : paths) {
        std::wstring destination = folder;
        if (mode != ClassifyNone) {
            const std::optional<FileStat> stat = facts.Stat(path);
            if (!stat) {
                continue;
            }
            if (!stat->directory) {
                const std::wstring bucket = ClassifyBucket(path, mode, facts);
                if (!bucket.empty()) {
                    destination = ChildPath(folder, bucket);
                }
            }
        }
        if (SameWatchFolder(ParentFolderOf(path), destination)) {
            continue;
        }
        auto made = destinations.find(destination);
        if (made == destinations.end()) {
            made = destinations.emplace(destination, CreateFolderTree(destination)).first;
        }
        if (made->second) {
            queued = engine->Queue(path, destination, {}) || queued;
        }
    }
    return Perform(*engine, queued);
}

}  // namespace cadrels
