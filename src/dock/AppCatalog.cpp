#include "dock/AppCatalog.h"

#include "base/DebugLog.h"
#include "fileops/LaunchItem.h"

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include <set>

namespace cadrels {
namespace {

using Microsoft::WRL::ComPtr;

struct ItemIdList {
    PIDLIST_ABSOLUTE pidl = nullptr;
    ~ItemIdList() { CoTaskMemFree(pidl); }
};

std::wstring DisplayName(IShellFolder& folder, PCUITEMID_CHILD child, SHGDNF flags)
{
    STRRET value{};
    if (FAILED(folder.GetDisplayNameOf(child, flags, &value))) {
        return {};
    }
    wchar_t* text = nullptr;
    if (FAILED(StrRetToStrW(&value, child, &text)) || text == nullptr) {
        return {};
    }
    std::wstring result = text;
    CoTaskMemFree(text);
    return result;
}

AppCatalog ReadAppsFolder()
{
    AppCatalog catalog;
    ItemIdList root;
    if (FAILED(SHParseDisplayName(L"shell:AppsFolder", nullptr, &root.pidl, 0, nullptr))) {
        return catalog;
    }
    // Where the applications folder does not exist, the name can still parse
    // to some other folder, whose items are no applications: only the known
    // folder itself counts.
    ItemIdList known;
    if (FAILED(SHGetKnownFolderIDList(FOLDERID_AppsFolder, 0, nullptr, &known.pidl)) ||
        !ILIsEqual(root.pidl, known.pidl)) {
        return catalog;
    }
    ComPtr<IShellFolder> folder;
    if (FAILED(SHBindToObject(nullptr, root.pidl, nullptr, IID_PPV_ARGS(folder.GetAddressOf())))) {
        return catalog;
    }
    ComPtr<IEnumIDList> items;
    if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.GetAddressOf()) != S_OK || !items) {
        return catalog;
    }
    PITEMID_CHILD child = nullptr;
    while (items->Next(1, &child, nullptr) == S_OK) {
        AppEntry entry;
        entry.name = DisplayName(*folder.Get(), child, SHGDN_NORMAL);
        entry.appId = DisplayName(*folder.Get(), child, SHGDN_INFOLDER | SHGDN_FORPARSING);
        CoTaskMemFree(child);
        child = nullptr;
        if (!entry.name.empty() && !entry.appId.empty() && !IsSkippedAppId(entry.appId)) {
            catalog.push_back(std::move(entry));
        }
    }
    return catalog;
}

std::wstring KnownFolder(REFKNOWNFOLDERID id)
{
    wchar_t* path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)) && path != nullptr) {
        result = path;
    }
    CoTaskMemFree(path);
    return result;
}

// A shortcut to a help file or a document is no application either.
bool TargetIsSkipped(const std::wstring& shortcut)
{
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(link.GetAddressOf())))) {
        return false;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link.As(&file)) || FAILED(file->Load(shortcut.c_str(), STGM_READ))) {
        return false;
    }
    wchar_t target[MAX_PATH] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) {
        return false;
    }
    return IsSkippedAppId(target);
}

std::wstring ShortcutName(const std::wstring& path, const wchar_t* fileName)
{
    SHFILEINFOW info{};
    if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) != 0 && info.szDisplayName[0] != 0) {
        std::wstring name = info.szDisplayName;
        // With extensions shown, the shell still hides ".lnk"; some systems do not.
        if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".lnk") == 0) {
            name.resize(name.size() - 4);
        }
        return name;
    }
    std::wstring name = fileName;
    return name.size() > 4 ? name.substr(0, name.size() - 4) : name;
}

// `relative` names the shortcut below its Programs folder: the Start menu
// merges the user's and all users' copies of one shortcut into one entry.
void ReadShortcuts(const std::wstring& folder, const std::wstring& relative, int depth, AppCatalog& catalog,
                   std::set<std::wstring>& seen)
{
    // Junctions can loop; real Start menus are a few levels deep.
    if (depth > 8) {
        return;
    }
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const std::wstring path = folder + L"\\" + name;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
                ReadShortcuts(path, relative + name + L"\\", depth + 1, catalog, seen);
            }
            continue;
        }
        if (name.size() <= 4 || _wcsicmp(name.c_str() + name.size() - 4, L".lnk") != 0) {
            continue;
        }
        std::wstring key = relative + name;
        CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
        if (!seen.insert(key).second || IsSkippedAppId(path) || TargetIsSkipped(path)) {
            continue;
        }
        AppEntry entry{ShortcutName(path, found.cFileName), path, AppSource::Shortcut};
        if (!entry.name.empty()) {
            catalog.push_back(std::move(entry));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

AppCatalog ReadStartMenuShortcuts()
{
    AppCatalog catalog;
    std::set<std::wstring> seen;
    for (const KNOWNFOLDERID& id : {FOLDERID_Programs, FOLDERID_CommonPrograms}) {
        const std::wstring folder = KnownFolder(id);
        if (!folder.empty()) {
            ReadShortcuts(folder, L"", 0, catalog, seen);
        }
    }
    return catalog;
}

int CompareNames(const std::wstring& a, const std::wstring& b)
{
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

}  // namespace

AppCatalog LoadAppCatalog()
{
    AppCatalog catalog = ReadAppsFolder();
    const bool fromShortcuts = catalog.empty();
    if (fromShortcuts) {
        catalog = ReadStartMenuShortcuts();
    }
    SortAppCatalog(catalog, CompareNames);
    DebugLog(L"Launchpad : %zu application(s) lue(s) %ls.", catalog.size(),
             fromShortcuts ? L"dans les raccourcis du menu Demarrer" : L"dans le dossier des applications");
    return catalog;
}

bool LaunchApp(HWND owner, const AppEntry& entry)
{
    const std::wstring path = AppLaunchPath(entry);
    if (path.empty()) {
        return false;
    }
    DebugLog(L"Launchpad : lancement de %ls.", entry.name.c_str());
    return LaunchItem(owner, path, LaunchCause::UserAction);
}

}  // namespace cadrels
