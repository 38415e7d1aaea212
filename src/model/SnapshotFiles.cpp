// The snapshots folder on disk: listing, retention, renaming and deleting.
#include "model/Snapshots.h"

#include "base/DebugLog.h"
#include "base/UniqueHandle.h"
#include "i18n/TextEncoding.h"
#include "model/AtomicFile.h"
#include "model/PathText.h"

#include <windows.h>

#include <cwchar>

namespace cadrels {
namespace {

std::uint64_t FileTimeValue(const FILETIME& time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// A file written without a `created` member is placed by its write time, in
// the local time `created` would have recorded.
std::wstring LastWriteAsLocalTimeText(std::uint64_t lastWrite)
{
    FILETIME utc{static_cast<DWORD>(lastWrite), static_cast<DWORD>(lastWrite >> 32)};
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
        return {};
    }
    wchar_t text[32];
    swprintf(text, 32, L"%04d-%02d-%02d %02d:%02d", local.wYear, local.wMonth, local.wDay, local.wHour,
             local.wMinute);
    return text;
}

bool HasExtension(const std::wstring& fileName, std::wstring_view extension)
{
    return fileName.size() > extension.size() &&
           _wcsicmp(fileName.c_str() + fileName.size() - extension.size(), std::wstring(extension).c_str()) == 0;
}

// Plain files of the folder whose names end with the extension, with their
// last-write times and sizes. The search pattern alone would do on a volume without
// short names; with them "*.tmp" also finds "notes.tmpl" by its "NOTES~1.TMP".
template <typename Visit>
void ForEachFile(const std::wstring& folder, std::wstring_view extension, Visit visit)
{
    if (folder.empty()) {
        return;
    }
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = L"*" + std::wstring(extension);
    const UniqueFind find(FindFirstFileExW(ChildPath(folder, pattern).c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0));
    if (!find) {
        return;
    }
    do {
        const std::wstring fileName = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && HasExtension(fileName, extension)) {
            const std::uint64_t size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            visit(fileName, FileTimeValue(found.ftLastWriteTime), size);
        }
    } while (FindNextFileW(find.Get(), &found));
}

}  // namespace

std::vector<SnapshotEntry> ListSnapshots()
{
    return ListSnapshotsIn(SnapshotsFolderPath());
}

std::vector<SnapshotEntry> ListSnapshotsIn(const std::wstring& folder)
{
    std::vector<SnapshotEntry> entries;
    ForEachFile(folder, L".json", [&](const std::wstring& fileName, std::uint64_t lastWrite, std::uint64_t size) {
        const std::wstring path = ChildPath(folder, fileName);
        if (size > MaxListedSnapshotBytes) {
            entries.push_back(SnapshotEntryByName(path, fileName, lastWrite));
            return;
        }
        std::string bytes;
        JsonValue root;
        if (!ReadWholeFile(path, bytes) || !ParseJson(bytes, root)) {
            return;
        }
        if (std::optional<SnapshotEntry> entry = SnapshotEntryFromDocument(root, path, fileName, lastWrite)) {
            entries.push_back(std::move(*entry));
        }
    });
    OrderSnapshotsNewestFirst(entries, LastWriteAsLocalTimeText);
    return entries;
}

int PruneSnapshots(int keep)
{
    return PruneSnapshotsIn(SnapshotsFolderPath(), keep);
}

int PruneSnapshotsIn(const std::wstring& folder, int keep)
{
    int deleted = 0;
    for (const std::wstring& path : SnapshotsBeyondRetention(ListSnapshotsIn(folder), keep)) {
        if (DeleteFileW(path.c_str())) {
            ++deleted;
        } else {
            DebugLog(L"Instantane ancien non supprime (%lu) : %ls", GetLastError(), path.c_str());
        }
    }
    std::vector<std::wstring> stray;
    ForEachFile(folder, L".tmp", [&](const std::wstring& fileName, std::uint64_t, std::uint64_t) {
        stray.push_back(ChildPath(folder, fileName));
    });
    for (const std::wstring& path : stray) {
        if (DeleteFileW(path.c_str())) {
            ++deleted;
        }
    }
    return deleted;
}

bool RenameSnapshotFile(const std::wstring& path, const std::wstring& newName)
{
    std::string bytes;
    JsonValue document;
    if (!ReadWholeFile(path, bytes) || !ParseJson(bytes, document) ||
        !SetSnapshotName(document, WideToUtf8(newName))) {
        return false;
    }
    return WriteFileAtomically(path, SerializeJson(document, 2));
}

bool DeleteSnapshotFile(const std::wstring& path)
{
    return DeleteFileW(path.c_str()) != FALSE;
}

}  // namespace cadrels
