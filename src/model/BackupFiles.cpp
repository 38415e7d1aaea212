#include "model/BackupFiles.h"

#include "base/DebugLog.h"
#include "base/UniqueHandle.h"
#include "model/AtomicFile.h"
#include "model/FolderTree.h"
#include "model/PathText.h"
#include "model/Snapshots.h"

#include <windows.h>

#include <atomic>
#include <cwchar>

namespace cadrels {
namespace {

std::atomic<BackupReadBackFunction> readBack{nullptr};

std::uint64_t FileTimeValue(const FILETIME& time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

BackupStamp StampOf(const SYSTEMTIME& time)
{
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

std::wstring LastWriteAsLocalOrderKey(std::uint64_t lastWrite)
{
    const FILETIME utc{static_cast<DWORD>(lastWrite), static_cast<DWORD>(lastWrite >> 32)};
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
        return {};
    }
    return BackupOrderKey(StampOf(local));
}

bool EndsWithJson(const std::wstring& fileName)
{
    constexpr std::wstring_view Extension = BackupFileExtension;
    return fileName.size() > Extension.size() &&
           EqualsIgnoringAsciiCase(std::wstring_view(fileName).substr(fileName.size() - Extension.size()), Extension);
}

bool ParseDocument(const std::string& bytes, JsonValue& root)
{
    return ParseJson(bytes, root) && root.IsObject();
}

bool ReadBack(const std::wstring& path, std::string& bytes)
{
    if (const BackupReadBackFunction replaced = readBack.load()) {
        return replaced(path, bytes);
    }
    return ReadWholeFile(path, bytes);
}

// The newest readable backup's document, for the duplicate check.
bool NewestDocument(const std::vector<BackupEntry>& newestFirst, JsonValue& document, std::wstring& path)
{
    for (const BackupEntry& entry : newestFirst) {
        if (!entry.readable) {
            continue;
        }
        std::string bytes;
        if (ReadWholeFile(entry.path, bytes) && ParseDocument(bytes, document)) {
            path = entry.path;
            return true;
        }
    }
    return false;
}

}  // namespace

BackupTime BackupTimeNow()
{
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    FILETIME fileTime{};
    SystemTimeToFileTime(&utc, &fileTime);
    SYSTEMTIME local{};
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        GetLocalTime(&local);
    }
    // FILETIME counts 100 ns from 1601; 11 644 473 600 s lie between the epochs.
    const auto unixSeconds = static_cast<std::int64_t>(FileTimeValue(fileTime) / 10000000ull) - 11644473600ll;
    return {unixSeconds, StampOf(local)};
}

std::vector<BackupEntry> ListBackups(const std::wstring& folder)
{
    std::vector<BackupEntry> entries;
    if (folder.empty()) {
        return entries;
    }
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = std::wstring(BackupFilePrefix) + L"*" + BackupFileExtension;
    const UniqueFind find(FindFirstFileExW(ChildPath(folder, pattern).c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0));
    if (!find) {
        return entries;
    }
    do {
        const std::wstring fileName = found.cFileName;
        // With short names the pattern also finds "….json.bak" by its 8.3 name.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !EndsWithJson(fileName) ||
            !StartsWithIgnoringAsciiCase(fileName, BackupFilePrefix)) {
            continue;
        }
        const std::wstring path = ChildPath(folder, fileName);
        const std::uint64_t lastWrite = FileTimeValue(found.ftLastWriteTime);
        std::string bytes;
        JsonValue root;
        const bool parsed = ReadWholeFile(path, bytes) && ParseJson(bytes, root);
        entries.push_back(BackupEntryFromDocument(parsed ? &root : nullptr, path, fileName, lastWrite));
    } while (FindNextFileW(find.Get(), &found));
    OrderBackupsNewestFirst(entries, LastWriteAsLocalOrderKey);
    return entries;
}

BackupWriteResult WriteBackupAt(const Settings& settings, const std::wstring& folder, int keep,
                                const BackupStamp& stamp)
{
    BackupWriteResult result;
    if (folder.empty() || !CreateFolderTree(folder)) {
        DebugLog(L"Sauvegarde : dossier inaccessible : %ls", folder.c_str());
        return result;
    }
    const JsonValue document = BackupDocument(settings, stamp);
    JsonValue newest;
    std::wstring newestPath;
    if (NewestDocument(ListBackups(folder), newest, newestPath) && SameArrangement(document, newest)) {
        result.outcome = BackupWriteOutcome::Unchanged;
        result.path = newestPath;
        return result;
    }
    const std::wstring path = ChildPath(folder, BackupFileName(stamp));
    const std::string text = SerializeJson(document, 2);
    if (!WriteFileAtomically(path, text)) {
        DebugLog(L"Sauvegarde : ecriture impossible (%lu) : %ls", GetLastError(), path.c_str());
        return result;
    }
    result.path = path;
    // A share that accepted the write may still hand back something else (a
    // full disk behind a cache, a filter driver): only a copy that reads back
    // as written may replace the older ones.
    std::string written;
    JsonValue reread;
    if (!ReadBack(path, written) || written != text || !ParseDocument(written, reread)) {
        DebugLog(L"Sauvegarde ecrite mais illisible ; aucune ancienne supprimee : %ls", path.c_str());
        result.outcome = BackupWriteOutcome::NotReadBack;
        return result;
    }
    result.outcome = BackupWriteOutcome::Written;
    for (const std::wstring& old : BackupsBeyondRetention(ListBackups(folder), keep)) {
        // The newest by name is the one just written: never among these.
        if (EqualsIgnoringAsciiCase(old, path)) {
            continue;
        }
        if (DeleteBackupFile(old)) {
            ++result.pruned;
        } else {
            DebugLog(L"Sauvegarde ancienne non supprimee (%lu) : %ls", GetLastError(), old.c_str());
        }
    }
    return result;
}

std::wstring WriteBackup(const Settings& settings, const std::wstring& folder, int keep)
{
    const BackupWriteResult result = WriteBackupAt(settings, folder, keep, BackupTimeNow().local);
    return result.Succeeded() ? result.path : std::wstring();
}

BackupEntry ReadBackupEntry(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const std::uint64_t lastWrite =
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ? FileTimeValue(data.ftLastWriteTime) : 0;
    std::string bytes;
    JsonValue root;
    const bool parsed = ReadWholeFile(path, bytes) && ParseJson(bytes, root);
    return BackupEntryFromDocument(parsed ? &root : nullptr, path, std::wstring(LastPathComponent(path)), lastWrite);
}

bool RenameBackupFile(const std::wstring& path, const std::wstring& newName)
{
    return RenameSnapshotFile(path, newName);
}

bool DeleteBackupFile(const std::wstring& path)
{
    if (!DeleteFileW(path.c_str())) {
        return false;
    }
    // A renamed backup left its previous version beside it.
    DeleteFileW((path + L".bak").c_str());
    return true;
}

void SetBackupReadBackForTesting(BackupReadBackFunction function)
{
    readBack.store(function);
}

}  // namespace cadrels
