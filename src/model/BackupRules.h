// Backups of the arrangement: when one is due, how its file is named and
// stamped, how a folder of them is ordered and which ones the retention
// deletes. Plain values only: the folder walk and the writes are in
// BackupFiles.cpp.
#pragma once

#include "model/JsonValue.h"
#include "model/Records.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

inline constexpr wchar_t BackupFilePrefix[] = L"Cadrels-backup-";
inline constexpr wchar_t BackupFileExtension[] = L".json";

// A local date and time to the second.
struct BackupStamp {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const BackupStamp&, const BackupStamp&) = default;
};

// One reading of the clock: the schedule counts in seconds since 1970, the
// file name and the texts use the local time of the same instant.
struct BackupTime {
    std::int64_t unixSeconds = 0;
    BackupStamp local;
};

// 0 every change (two minutes apart at most once), 1 daily, 2 weekly; any
// other value is daily.
std::int64_t BackupIntervalSeconds(int frequency);

// Whether a save (`force` false) or "Back up now" (`force` true) makes a
// backup at `now`: never without a destination (folder or cloud); a save only
// while backups are on and once the interval since the last one has passed.
bool BackupIsDue(const Settings& settings, std::int64_t now, bool force);

// "Cadrels-backup-YYYYMMDD-hhmmss.json".
std::wstring BackupFileName(const BackupStamp& stamp);
// "YYYY-MM-DD hh:mm", the `name` and `created` members of a new backup.
std::wstring BackupTimeText(const BackupStamp& stamp);

// The instant a backup's file name or `created` text says, as fourteen
// digits "YYYYMMDDhhmmss" that order as the times do (a `created` text counts
// its minute's first second); nothing when the text is not of that shape or
// names a month, day, hour, minute or second that cannot exist.
std::optional<std::wstring> BackupOrderKeyFromFileName(std::wstring_view fileName);
std::optional<std::wstring> BackupOrderKeyFromCreated(std::wstring_view created);
std::wstring BackupOrderKey(const BackupStamp& stamp);

struct BackupEntry {
    std::wstring path;
    // The `name` member, or the file name when that is missing or empty.
    std::wstring name;
    // The `created` member, or empty.
    std::wstring created;
    // The file's last-write time as a 64-bit FILETIME value.
    std::uint64_t lastWrite = 0;
    // The file read and parsed into an object holding an arrangement.
    bool readable = false;

    friend bool operator==(const BackupEntry&, const BackupEntry&) = default;
};

// The entry of one file: `root` is null when the file could not be read or
// parsed.
BackupEntry BackupEntryFromDocument(const JsonValue* root, const std::wstring& path, const std::wstring& fileName,
                                    std::uint64_t lastWrite);

// Turns a last-write time into an order key (BackupOrderKey of its local time).
using LastWriteAsOrderKey = std::function<std::wstring(std::uint64_t lastWrite)>;

// Newest first by the time in the file name, else by `created`, else by the
// last-write time. Renaming a backup rewrites its file, so the last-write time
// says when it was renamed, not when it was made; it only stands in when
// neither text says, and breaks ties.
void OrderBackupsNewestFirst(std::vector<BackupEntry>& entries, const LastWriteAsOrderKey& lastWriteAsOrderKey);

// The paths retention deletes from a newest-first listing: everything after
// the newest max(1, keep) readable backups. A file that does not read counts
// for nothing, so the kept ones are always `keep` backups that can be restored
// when the folder holds that many.
std::vector<std::wstring> BackupsBeyondRetention(const std::vector<BackupEntry>& newestFirst, int keep);

// The settings document with `name`, `created` (both the stamp's text) and
// `auto` 1 appended.
JsonValue BackupDocument(const Settings& settings, const BackupStamp& stamp);

// Whether two backup documents hold the same arrangement: equal apart from the
// members a backup adds and `backupLast`, which every backup moves on.
bool SameArrangement(const JsonValue& a, const JsonValue& b);

}  // namespace cadrels
