#include "fileops/FileMoves.h"

#include "base/UniqueHandle.h"
#include "model/ContainerFolders.h"
#include "model/FileSystemNames.h"
#include "model/FolderTree.h"
#include "model/PathText.h"

#include <set>

namespace cadrels {
namespace {

struct TargetParts {
    std::wstring folder;
    std::wstring name;
};

std::optional<TargetParts> SplitTarget(const std::wstring& target)
{
    const size_t slash = target.rfind(L'\\');
    if (slash == std::wstring::npos || slash + 1 >= target.size()) {
        return std::nullopt;
    }
    TargetParts parts{target.substr(0, slash), target.substr(slash + 1)};
    // "C:" alone names the drive's current directory, not its root.
    if (!parts.folder.empty() && parts.folder.back() == L':') {
        parts.folder += L'\\';
    }
    return parts;
}

MoveReport Run(MoveEngine& engine, size_t queued)
{
    MoveReport report;
    if (queued == 0) {
        return report;
    }
    report.succeeded = SUCCEEDED(engine.Perform());
    report.moved = engine.Moved();
    return report;
}

MoveReport MoveKeepingNames(const MoveEngineFactory& engines, const std::vector<std::wstring>& sources,
                            const std::wstring& destination)
{
    if (sources.empty()) {
        return MoveReport{true, {}};
    }
    if (!IsDirectory(destination)) {
        return {};
    }
    std::unique_ptr<MoveEngine> engine = engines(MoveOptions{true, true});
    if (!engine) {
        return {};
    }
    size_t queued = 0;
    for (const std::wstring& source : sources) {
        if (engine->Queue(source, destination, {})) {
            ++queued;
        }
    }
    return Run(*engine, queued);
}

}  // namespace

MoveReport ExecuteMoves(const MoveEngineFactory& engines, const std::vector<MovePair>& pairs, bool forward)
{
    if (pairs.empty()) {
        return MoveReport{true, {}};
    }
    std::unique_ptr<MoveEngine> engine = engines(MoveOptions{forward, false});
    if (!engine) {
        return {};
    }
    std::set<std::wstring> readyFolders;
    size_t queued = 0;
    for (const MovePair& pair : pairs) {
        if (pair.from.empty() || pair.to.empty()) {
            continue;
        }
        const std::optional<TargetParts> target = SplitTarget(pair.to);
        if (!target) {
            continue;
        }
        // Undo never replaces a file that has since appeared where the old
        // one stood; that one file stays where it went.
        if (!forward && GetFileAttributesW(pair.to.c_str()) != INVALID_FILE_ATTRIBUTES &&
            !SameFileSystemName(pair.to, pair.from)) {
            continue;
        }
        if (readyFolders.count(target->folder) == 0) {
            if (!CreateFolderTree(target->folder)) {
                continue;
            }
            readyFolders.insert(target->folder);
        }
        if (engine->Queue(pair.from, target->folder, target->name)) {
            ++queued;
        }
    }
    return Run(*engine, queued);
}

MoveReport MoveFolderContents(const MoveEngineFactory& engines, const std::wstring& folder,
                              const std::wstring& destination)
{
    if (folder.empty() || destination.empty()) {
        return {};
    }
    std::vector<std::wstring> sources;
    WIN32_FIND_DATAW data{};
    UniqueFind find(FindFirstFileW(ChildPath(folder, L"*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L".." && !EqualsIgnoringAsciiCase(name, ContainerMarkerName)) {
                sources.push_back(ChildPath(folder, name));
            }
        } while (FindNextFileW(find.Get(), &data));
    }
    return MoveKeepingNames(engines, sources, destination);
}

bool MoveFolderThroughEngine(const std::wstring& from, const std::wstring& to)
{
    const std::optional<TargetParts> target = SplitTarget(to);
    if (!target || from.empty()) {
        return false;
    }
    std::unique_ptr<MoveEngine> engine = CreateMoveEngine(MoveOptions{false, false});
    if (!engine || !engine->Queue(from, target->folder, target->name)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    // A folder copied whole to another volume whose source could not be
    // deleted completely is there all the same.
    const HRESULT hr = engine->Perform();
    const std::vector<MovePair>& moved = engine->Moved();
    if (moved.size() == 1 && SameFileSystemName(moved[0].to, to)) {
        return true;
    }
    SetLastError(FAILED(hr) && HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : ERROR_GEN_FAILURE);
    return false;
}

MoveReport MoveIntoFolder(const MoveEngineFactory& engines, const std::vector<std::wstring>& sources,
                          const std::wstring& destination)
{
    return MoveKeepingNames(engines, sources, destination);
}

}  // namespace cadrels
