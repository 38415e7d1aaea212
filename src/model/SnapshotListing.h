// Which files of the snapshots folder are listed, in what order, and which
// automatic ones the retention deletes. Plain values only: the folder walk and
// the file changes are in SnapshotFiles.cpp.
#pragma once

#include "model/JsonValue.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

struct SnapshotEntry {
    std::wstring path;
    // The file's `name` member, or the file name when that is missing or empty.
    std::wstring name;
    // The `created` member as written, or empty.
    std::wstring created;
    bool isAuto = false;
    // The file's last-write time as a 64-bit FILETIME value.
    std::uint64_t lastWrite = 0;

    friend bool operator==(const SnapshotEntry&, const SnapshotEntry&) = default;
};

// The entry of a parsed file, or nothing when the document holds no
// arrangement (the root is not an object with `workspaces` or `cadrels`).
std::optional<SnapshotEntry> SnapshotEntryFromDocument(const JsonValue& root, const std::wstring& path,
                                                       const std::wstring& fileName, std::uint64_t lastWrite);

// Files up to this size are read and parsed to be listed; a larger one is
// listed by its file name alone, so a folder of big files cannot make the
// listing take gigabytes (a snapshot of a large arrangement is tens of KiB).
inline constexpr std::uint64_t MaxListedSnapshotBytes = 4u * 1024u * 1024u;

// The entry of a file too large to read for the listing: its file name, no
// creation time, and never automatic, so retention never deletes what it has
// not read.
SnapshotEntry SnapshotEntryByName(const std::wstring& path, const std::wstring& fileName, std::uint64_t lastWrite);

// "YYYY-MM-DD hh:mm" with a month, day, hour and minute that can exist.
bool IsSnapshotTimeText(std::wstring_view text);

// Turns a last-write time into local time written as `created` is.
using LastWriteAsTimeText = std::function<std::wstring(std::uint64_t lastWrite)>;

// Newest first by creation time. Renaming a snapshot rewrites its file, so the
// last-write time says when it was renamed, not when it was taken; it only
// stands in for a missing or malformed `created` and breaks ties (`created`
// counts whole minutes).
void OrderSnapshotsNewestFirst(std::vector<SnapshotEntry>& entries, const LastWriteAsTimeText& lastWriteAsTimeText);

// The automatic entries after the `keep` newest (a negative `keep` counts as
// 0), in the given order; manual entries are never among them.
std::vector<std::wstring> SnapshotsBeyondRetention(const std::vector<SnapshotEntry>& newestFirst, int keep);

// Replaces the value of the first `name` member, or appends one; false when
// the document is not an object.
bool SetSnapshotName(JsonValue& document, std::string_view utf8Name);

}  // namespace cadrels
