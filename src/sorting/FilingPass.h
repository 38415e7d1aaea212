// The moves that put files into cadrel folders: filing a folder by the rules
// of the cadrels taking part, and filing paths into a cadrel's folder by type
// or by month. Both go through one move engine, whose Moved() list becomes the
// undo entry.
#pragma once

#include "fileops/FileMoves.h"
#include "sorting/SortRules.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cadrels {

struct ListedFile {
    std::wstring path;
    FileStat stat;
};

// The entries directly inside `folder` that a pass may move (IsMovableEntry),
// in listing order, with the size and times the listing gives for free.
std::vector<ListedFile> ListMovableEntries(const std::wstring& folder);
// The same, as full paths only.
std::vector<std::wstring> ListMovableFiles(const std::wstring& folder);

struct FilingResult {
    // At least one move was queued (and the engine was run).
    bool queued = false;
    MoveReport report;
};

// Offers each movable file of `folder` to the candidates in order and moves
// it into the first matching candidate's destination, renaming on collision.
// The size and dates come from the listing itself; a file that vanished
// since is refused by the engine when it is queued.
// `candidates` are already chosen and ordered; `now` as RuleMatches takes it.
// A file for which `holdBack` (when given) says true stays where it is.
using HoldBack = std::function<bool(const std::wstring& path, const FileStat& stat)>;
FilingResult FileFolder(const std::wstring& folder, const std::vector<FilingCandidate>& candidates, FileFacts& facts,
                        const MoveEngineFactory& engines, std::uint64_t now, const HoldBack& holdBack = {});

// Moves each path into `folder`, or into its ClassifyBucket subfolder when
// `mode` classifies and the path is a file. A path already in its destination
// stays; a destination folder is made with its parents on first use, and a
// path whose destination cannot be made stays. Never replaces a file. With
// `copy` the paths are copied there instead and stay where they were.
FilingResult MoveIntoClassifiedFolder(const std::vector<std::wstring>& paths, const std::wstring& folder, int mode,
                                      FileFacts& facts, const MoveEngineFactory& engines, bool copy = false);

}  // namespace cadrels
