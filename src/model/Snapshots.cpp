#include "model/Snapshots.h"

#include "i18n/TextEncoding.h"
#include "model/AppFolders.h"
#include "model/AtomicFile.h"
#include "model/FolderTree.h"
#include "model/NewId.h"
#include "model/PathText.h"
#include "model/SettingsJson.h"

#include <windows.h>

#include <cwchar>

namespace cadrels {
namespace {

constexpr size_t MaxSnapshotNameChars = 48;

}  // namespace

std::wstring SnapshotsFolderPath()
{
    const std::wstring appData = AppDataFolder();
    return appData.empty() ? std::wstring() : ChildPath(appData, L"snapshots");
}

std::wstring SnapshotsFolder()
{
    std::wstring folder = SnapshotsFolderPath();
    return CreateFolderTree(folder) ? folder : std::wstring();
}

std::wstring SnapshotTimeNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t text[32];
    swprintf(text, 32, L"%04d-%02d-%02d %02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
    return text;
}

std::wstring SnapshotFileName(const std::wstring& name, bool isAuto)
{
    std::wstring safe = ReplaceForbiddenNameCharacters(name);
    TrimTrailingDotsAndSpaces(safe);
    if (safe.empty()) {
        safe = L"instantane";
    }
    if (safe.size() > MaxSnapshotNameChars) {
        safe.resize(MaxSnapshotNameChars);
    }
    return (isAuto ? L"auto_" : L"snap_") + safe + L"_" + Utf8ToWide(NewId()) + L".json";
}

JsonValue SnapshotDocument(const Settings& settings, const std::wstring& name, const std::wstring& createdText,
                           bool isAuto)
{
    JsonValue document = SettingsToJson(settings);
    document.Append("name", WideToUtf8(name));
    document.Append("created", WideToUtf8(createdText));
    document.Append("auto", isAuto ? 1 : 0);
    return document;
}

bool WriteSnapshot(const Settings& settings, const std::wstring& name, const std::wstring& createdText,
                   bool isAuto)
{
    return !WriteSnapshotInFolder(SnapshotsFolder(), settings, name, createdText, isAuto).empty();
}

bool TakeAutomaticSnapshot(const Settings& settings, const std::wstring& name)
{
    return WriteSnapshot(settings, name, SnapshotTimeNow(), true);
}

std::wstring WriteSnapshotInFolder(const std::wstring& folder, const Settings& settings, const std::wstring& name,
                                   const std::wstring& createdText, bool isAuto)
{
    if (!CreateFolderTree(folder)) {
        return {};
    }
    const std::wstring path = ChildPath(folder, SnapshotFileName(name, isAuto));
    const std::string text = SerializeJson(SnapshotDocument(settings, name, createdText, isAuto), 2);
    return WriteFileAtomically(path, text) ? path : std::wstring();
}

}  // namespace cadrels
