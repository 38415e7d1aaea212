// Snapshot files: complete copies of the settings and every page, kept in the
// snapshots folder of the application-data folder.
#pragma once

#include "model/JsonValue.h"
#include "model/Records.h"
#include "model/SnapshotListing.h"

#include <string>

namespace cadrels {

// AppDataFolder() + "\snapshots", not created; empty when the application-data
// folder cannot be had.
std::wstring SnapshotsFolderPath();
// The same, created on demand; empty on failure.
std::wstring SnapshotsFolder();

// Local time as a snapshot records it: "YYYY-MM-DD hh:mm".
std::wstring SnapshotTimeNow();

// "auto_" or "snap_", the display name made safe for a file name, "_", a new
// identifier and ".json".
std::wstring SnapshotFileName(const std::wstring& name, bool isAuto);

// The settings document with `name`, `created` and `auto` appended.
JsonValue SnapshotDocument(const Settings& settings, const std::wstring& name, const std::wstring& createdText,
                           bool isAuto);

bool WriteSnapshot(const Settings& settings, const std::wstring& name, const std::wstring& createdText,
                   bool isAuto);

// An automatic snapshot of the settings as they are, stamped now, written to
// the snapshots folder before an operation that removes part of the
// arrangement; true when it was written.
bool TakeAutomaticSnapshot(const Settings& settings, const std::wstring& name);

// Writes one snapshot into `folder` (created when missing); the file's path,
// or empty when nothing could be written.
std::wstring WriteSnapshotInFolder(const std::wstring& folder, const Settings& settings, const std::wstring& name,
                                   const std::wstring& createdText, bool isAuto);

// The usable snapshot files of the folder (also backups copied there), newest
// first; files that cannot be read or hold no arrangement are left out.
std::vector<SnapshotEntry> ListSnapshots();
std::vector<SnapshotEntry> ListSnapshotsIn(const std::wstring& folder);

// Deletes the automatic snapshots beyond the `keep` newest and the temporary
// files interrupted writes left; the number of files deleted.
int PruneSnapshots(int keep);
int PruneSnapshotsIn(const std::wstring& folder, int keep);

// Sets the display name of a snapshot or backup file; false when the file
// is not a JSON object or cannot be rewritten (it is then unchanged).
bool RenameSnapshotFile(const std::wstring& path, const std::wstring& newName);
bool DeleteSnapshotFile(const std::wstring& path);

}  // namespace cadrels
