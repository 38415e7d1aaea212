// What tells one file from another that later took its name: the volume and
// the file's id on it, and for a file also its size and last-write time.
// Undo and redo move a file only while it still is the one that moved.
#pragma once

#include <cstdint>
#include <string>

namespace cadrels {

struct FileIdentity {
    bool known = false;
    bool isFolder = false;
    std::uint32_t volumeSerial = 0;
    std::uint64_t fileId = 0;
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
};

// Read from the disk; not known when the item cannot be opened.
FileIdentity ReadFileIdentity(const std::wstring& path);

// True when `now` is the item `remembered` describes. Nothing remembered
// matches anything; a folder is compared by volume and id only, since what
// it holds changes its time.
bool SameItem(const FileIdentity& remembered, const FileIdentity& now);

}  // namespace cadrels
