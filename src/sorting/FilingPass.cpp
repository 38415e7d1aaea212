#include "sorting/FilingPass.h"

#include "base/UniqueHandle.h"
#include "fileops/WatchFolders.h"
#include "model/FolderTree.h"
#include "model/PathText.h"
#include "sorting/FileClasses.h"
#include "sorting/FileReadiness.h"

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

std::vector<ListedFile> ListMovableEntries(const std::wstring& folder)
{
    std::vector<ListedFile> files;
    if (folder.empty()) {
        return files;
    }
    WIN32_FIND_DATAW data{};
    UniqueFind find(FindFirstFileExW(ChildPath(folder, L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return files;
    }
    do {
        if (IsMovableEntry(data.cFileName, data.dwFileAttributes)) {
            FileStat stat;
            stat.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            stat.lastWrite = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                             data.ftLastWriteTime.dwLowDateTime;
            files.push_back(ListedFile{ChildPath(folder, data.cFileName), stat});
        }
    } while (FindNextFileW(find.Get(), &data));
    return files;
}

std::vector<std::wstring> ListMovableFiles(const std::wstring& folder)
{
    std::vector<std::wstring> paths;
    for (ListedFile& file : ListMovableEntries(folder)) {
        paths.push_back(std::move(file.path));
    }
    return paths;
}

namespace {

// Another program is still writing the file: it cannot be opened for
// reading without letting others write.
bool HeldOpenForWriting(const std::wstring& path)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file && GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

FilingResult FileFolder(const std::wstring& folder, const std::vector<FilingCandidate>& candidates, FileFacts& facts,
                        const MoveEngineFactory& engines, std::uint64_t now, const HoldBack& holdBack)
{
    if (folder.empty() || candidates.empty()) {
        return {};
    }
    const std::vector<ListedFile> files = ListMovableEntries(folder);
    if (files.empty()) {
        return {};
    }
    std::unique_ptr<MoveEngine> engine = engines(MoveOptions{true, false});
    if (!engine) {
        return {};
    }
    bool queued = false;
    for (const ListedFile& listed : files) {
        if (holdBack && holdBack(listed.path, listed.stat)) {
            continue;
        }
        if (!IsReadyToFile(LastPathComponent(listed.path), listed.stat, now) || HeldOpenForWriting(listed.path)) {
            continue;
        }
        // The listing's size and dates serve every rule: no second read.
        FileFactsCache file(listed.path, facts);
        file.Seed(listed.stat);
        const int chosen = FirstMatchingCandidate(candidates, file, now);
        if (chosen >= 0) {
            queued = engine->Queue(listed.path, candidates[static_cast<size_t>(chosen)].destination, {}) || queued;
        }
    }
    return Perform(*engine, queued);
}

FilingResult MoveIntoClassifiedFolder(const std::vector<std::wstring>& paths, const std::wstring& folder, int mode,
                                      FileFacts& facts, const MoveEngineFactory& engines, bool copy)
{
    if (folder.empty() || paths.empty()) {
        return {};
    }
    std::unique_ptr<MoveEngine> engine = engines(MoveOptions{false, true, copy});
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
