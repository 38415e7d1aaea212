#include "model/LayoutFile.h"

#include "base/DebugLog.h"
#include "model/AppFolders.h"
#include "model/AtomicFile.h"
#include "model/FolderTree.h"
#include "model/JsonValue.h"
#include "model/SettingsJson.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

namespace cadrels {
namespace {

bool WrittenLater(const std::wstring& path, const std::wstring& than)
{
    WIN32_FILE_ATTRIBUTE_DATA a{};
    WIN32_FILE_ATTRIBUTE_DATA b{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a)) {
        return false;
    }
    if (!GetFileAttributesExW(than.c_str(), GetFileExInfoStandard, &b)) {
        return true;
    }
    return CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) > 0;
}

std::wstring LocalTimeStamp()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t text[32];
    swprintf(text, 32, L"%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
             now.wSecond);
    return text;
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// Keeps the newest copies of one file; the time stamp in the name sorts them.
void PruneCopies(const std::wstring& original, size_t keep)
{
    const std::vector<std::wstring> copies = FileNamesMatching(original + L".unreadable-*");
    for (size_t i = 0; i + keep < copies.size(); ++i) {
        DeleteFileW((FolderOf(original) + copies[i]).c_str());
    }
}

// "<stamp>", then "<stamp>-02", "-03"...: always after every copy of the same
// second still present, so name order stays the order the copies were made
// even after pruning removed the first ones.
std::wstring NextCopyName(const std::wstring& stamp)
{
    const std::wstring stampName = stamp.substr(FolderOf(stamp).size());
    int highest = 0;
    for (const std::wstring& name : FileNamesMatching(stamp + L"*")) {
        if (name == stampName) {
            highest = std::max(highest, 1);
        } else if (name.size() == stampName.size() + 3 && name.compare(0, stampName.size(), stampName) == 0 &&
                   name[stampName.size()] == L'-') {
            highest = std::max(highest, _wtoi(name.c_str() + stampName.size() + 1));
        }
    }
    if (highest == 0) {
        return stamp;
    }
    wchar_t suffix[8];
    swprintf(suffix, 8, L"-%02d", std::min(highest + 1, 99));
    return stamp + suffix;
}

}  // namespace

std::wstring LayoutPath()
{
    const std::wstring folder = AppDataFolder();
    return folder.empty() ? std::wstring() : folder + L"\\layout.json";
}

bool LoadSettingsFile(const std::wstring& path, Settings& settings, bool& pagesFound)
{
    std::string bytes;
    if (path.empty() || !ReadWholeFile(path, bytes)) {
        return false;
    }
    JsonValue root;
    if (!ParseJson(bytes, root)) {
        return false;
    }
    return SettingsFromJson(root, settings, pagesFound);
}

std::string SerializeSettings(const Settings& settings)
{
    return SerializeJson(SettingsToJson(settings), 2);
}

LayoutFile::LayoutFile(std::wstring path) : path_(std::move(path)) {}

bool LayoutFile::Load(Settings& settings)
{
    if (path_.empty()) {
        return false;
    }
    bool mainPages = false;
    const bool mainLoaded = LoadSettingsFile(path_, settings, mainPages);
    if (!mainLoaded) {
        SetAsideIfPresent(path_);
    }
    // A .tmp left behind was flushed before its replace did not finish (a
    // crash, or a replace that failed after moving the old file to .bak):
    // when it reads whole and is newer than the file, it is the last save.
    const std::wstring tmp = path_ + L".tmp";
    Settings fromTmp;
    bool tmpPages = false;
    if (LoadSettingsFile(tmp, fromTmp, tmpPages) && tmpPages &&
        (!mainLoaded || !mainPages || WrittenLater(tmp, path_))) {
        DebugLog(L"Disposition : la copie .tmp est la plus recente, reprise depuis elle");
        settings = std::move(fromTmp);
        return true;
    }
    if (mainLoaded && mainPages) {
        return true;
    }
    const std::wstring bak = path_ + L".bak";
    Settings backup;
    bool backupPages = false;
    const bool backupLoaded = LoadSettingsFile(bak, backup, backupPages);
    if (!backupLoaded) {
        SetAsideIfPresent(bak);
    }
    if (backupLoaded && backupPages) {
        DebugLog(L"Disposition principale illisible/vide : restauration depuis .bak");
        settings = std::move(backup);
        return true;
    }
    return mainLoaded;
}

void LayoutFile::SetAsideIfPresent(const std::wstring& path)
{
    if (IsAbsent(path)) {
        return;
    }
    pendingSetAside_.push_back(path);
    SetAsidePending();
}

bool LayoutFile::SetAsidePending()
{
    while (!pendingSetAside_.empty()) {
        const std::wstring& original = pendingSetAside_.front();
        if (IsAbsent(original)) {
            pendingSetAside_.erase(pendingSetAside_.begin());
            continue;
        }
        const std::wstring copy = NextCopyName(original + L".unreadable-" + LocalTimeStamp());
        if (!CopyFileW(original.c_str(), copy.c_str(), TRUE)) {
            DebugLog(L"Disposition illisible : copie de cote impossible pour %ls (err %lu), sauvegarde suspendue",
                     original.c_str(), GetLastError());
            return false;
        }
        DebugLog(L"Disposition illisible mise de cote : %ls -> %ls", original.c_str(), copy.c_str());
        setAside_.push_back(copy);
        PruneCopies(original, KeptUnreadableCopies);
        pendingSetAside_.erase(pendingSetAside_.begin());
    }
    return true;
}

bool LayoutFile::Save(const Settings& settings)
{
    if (path_.empty()) {
        return false;
    }
    // An unusable file is only ever overwritten once a copy of it exists.
    if (!SetAsidePending()) {
        return false;
    }
    return WriteFileAtomically(path_, SerializeSettings(settings));
}

namespace {

LayoutFile& ProcessLayoutFile()
{
    static LayoutFile file(LayoutPath());
    return file;
}

}  // namespace

bool LoadLayout(Settings& settings)
{
    return ProcessLayoutFile().Load(settings);
}

bool SaveLayout(const Settings& settings)
{
    return ProcessLayoutFile().Save(settings);
}

}  // namespace cadrels
