// New cadrels and tabs: the empty cadrel, folder cadrels, the shape presets,
// a tab added from the menu, and a tab torn off another cadrel.
#include "app/App.h"

#include "model/PathText.h"

#include "base/DebugLog.h"
#include "base/Failure.h"
#include "base/UniqueMemory.h"
#include "cadrel/CadrelPlacement.h"
#include "cadrel/CadrelPresets.h"
#include "i18n/StringTable.h"
#include "model/ContainerFolders.h"
#include "model/FolderResolver.h"
#include "model/NewId.h"

#include <knownfolders.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace cadrels {
namespace {

CadrelRecord RecordWithOneTab(const std::string& id, const std::wstring& title, const std::wstring& folder)
{
    CadrelRecord record;
    record.id = id;
    CadrelTab tab;
    tab.title = title;
    tab.folder = folder;
    record.tabs.push_back(std::move(tab));
    return record;
}

// The plain folder browser, for systems where the modern picker cannot be made.
std::wstring BrowseForFolder(HWND owner, const wchar_t* title)
{
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    const UniqueCoTaskMem<ITEMIDLIST_ABSOLUTE> chosen(SHBrowseForFolderW(&browse));
    if (!chosen) {
        return {};
    }
    // A folder deeper than MAX_PATH is as good a tab as any other.
    std::wstring path(UNICODE_STRING_MAX_CHARS, L'\0');
    if (!SHGetPathFromIDListEx(chosen.Get(), path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT) &&
        !SHGetPathFromIDListW(chosen.Get(), path.data())) {
        return {};
    }
    path.resize(wcslen(path.c_str()));
    return path;
}

}  // namespace

std::wstring App::PickFolder()
{
    ComPtr<IFileOpenDialog> dialog;
    HRESULT hr = CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(dialog.GetAddressOf()));
    if (FAILED(hr)) {
        DebugLog(L"Selecteur de dossier moderne indisponible (0x%08X) -> selecteur classique",
                 static_cast<unsigned>(hr));
        return BrowseForFolder(nullptr, Tr(TextId::FolderPick));
    }
    // None of these failing keeps the dialog from choosing a folder; the log
    // says why it then looks or behaves unlike the request.
    FILEOPENDIALOGOPTIONS options = 0;
    CADRELS_LOG_IF_FAILED(dialog->GetOptions(&options));
    CADRELS_LOG_IF_FAILED(dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST));
    CADRELS_LOG_IF_FAILED(dialog->SetTitle(Tr(TextId::FolderPick)));
    hr = dialog->Show(nullptr);
    if (hr == HRESULT_FROM_WIN32(ERROR_CANCELLED)) {
        return {};
    }
    if (FAILED(hr)) {
        DebugLog(L"Selecteur de dossier moderne en echec (0x%08X) -> selecteur classique", static_cast<unsigned>(hr));
        return BrowseForFolder(nullptr, Tr(TextId::FolderPick));
    }
    ComPtr<IShellItem> item;
    if (FAILED(dialog->GetResult(item.GetAddressOf()))) {
        return {};
    }
    UniqueCoTaskMem<wchar_t> path;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, path.Put()))) {
        return {};
    }
    return path.Get();
}

void App::NewEmptyCadrel()
{
    if (CadrelsLocked()) {
        return;
    }
    const std::string id = NewId();
    const std::wstring folder = CreateContainer(Tr(TextId::EmptyCadrel), id);
    if (folder.empty()) {
        DebugLog(L"Nouvelle cadrel vide : aucun dossier conteneur n'a pu etre cree.");
        return;
    }
    const CadrelRecord record = RecordWithOneTab(id, Tr(TextId::EmptyCadrel), folder);
    const CadrelGeom geometry = cadrels_.NextCascade(monitors_);
    Workspace& page = ActivePage();
    page.cadrels.push_back(record);
    page.layouts[displayKey_][id] = geometry;
    CreateCadrelFromRecord(record, geometry, false);
    Save();
}

void App::NewFolderCadrel(int kind)
{
    if (CadrelsLocked()) {
        return;
    }
    struct KnownKind {
        int kind;
        TextId title;
        const GUID* folder;
    };
    static const KnownKind known[] = {
        {1, TextId::Desktop, &FOLDERID_Desktop},
        {2, TextId::Downloads, &FOLDERID_Downloads},
        {3, TextId::Documents, &FOLDERID_Documents},
        {5, TextId::Images, &FOLDERID_Pictures},
    };
    if (kind == 0) {
        NewEmptyCadrel();
        return;
    }
    if (kind == 4) {
        const std::wstring folder = PickFolder();
        if (!folder.empty()) {
            CreateCadrelForFolder(std::wstring(LastPathComponent(folder)), folder, false);
        }
        return;
    }
    for (const KnownKind& entry : known) {
        if (entry.kind == kind) {
            CreateCadrelForFolder(Tr(entry.title), ResolveKnownFolder(*entry.folder), false);
            return;
        }
    }
}

void App::CreateCadrelForFolder(const std::wstring& title, const std::wstring& folder, bool atCursor)
{
    if (folder.empty()) {
        return;
    }
    const std::string id = NewId();
    const CadrelRecord record = RecordWithOneTab(id, title.empty() ? std::wstring(LastPathComponent(folder)) : title, folder);
    CadrelGeom geometry;
    if (atCursor) {
        POINT cursor{};
        GetCursorPos(&cursor);
        geometry = AtCursorPlacement(monitors_, {cursor.x, cursor.y});
    } else {
        geometry = cadrels_.NextCascade(monitors_);
    }
    Workspace& page = ActivePage();
    page.cadrels.push_back(record);
    page.layouts[displayKey_][id] = geometry;
    CreateCadrelFromRecord(record, geometry, false);
    Save();
}

void App::NewShapePreset(int shape)
{
    if (CadrelsLocked()) {
        return;
    }
    const std::string monitor = monitors_.empty() ? std::string() : monitors_.front().id;
    for (const ShapeRegion& region : ShapeRegions(shape)) {
        const std::string id = NewId();
        const std::wstring label = Tr(region.label);
        CadrelRecord record = RecordWithOneTab(id, label, CreateContainer(label, id));
        record.expandDir = region.unfold;
        const CadrelGeom geometry{monitor, region.x, region.y, region.w, region.h, false};
        Workspace& page = ActivePage();
        page.cadrels.push_back(record);
        page.layouts[displayKey_][id] = geometry;
        CreateCadrelFromRecord(record, geometry, false);
    }
    if (!ShapeRegions(shape).empty()) {
        DebugLog(L"Forme creee : %ls.", Tr(ShapeLabel(shape)));
        Save();
    }
}

void App::AddTabPreset(HWND cadrelWindow, int kind)
{
    Cadrel* cadrel = cadrels_.Find(cadrelWindow);
    if (CadrelsLocked() || cadrel == nullptr) {
        return;
    }
    CadrelTab tab;
    switch (kind) {
    case 0:
        tab.title = Tr(TextId::NewTab);
        tab.folder = CreateContainer(tab.title, NewId());
        break;
    case 1:
        tab.title = Tr(TextId::Desktop);
        tab.folder = ResolveKnownFolder(FOLDERID_Desktop);
        break;
    case 2:
        tab.title = Tr(TextId::Downloads);
        tab.folder = ResolveKnownFolder(FOLDERID_Downloads);
        break;
    case 3:
        tab.title = Tr(TextId::Documents);
        tab.folder = ResolveKnownFolder(FOLDERID_Documents);
        break;
    case 4:
        tab.folder = PickFolder();
        tab.title = std::wstring(LastPathComponent(tab.folder));
        break;
    default:
        return;
    }
    // The picker runs a modal loop in which the cadrel may have gone.
    cadrel = cadrels_.Find(cadrelWindow);
    if (tab.folder.empty() || cadrel == nullptr) {
        return;
    }
    cadrel->AppendTab(tab);
    SyncTabsFromCadrel(cadrelWindow);
}

void App::OnTabTornOff(std::unique_ptr<TornTab> tab)
{
    if (!tab) {
        return;
    }
    const auto append = [&](Cadrel& receiver) {
        CadrelTab live;
        live.title = tab->title;
        live.folder = tab->folder;
        live.emblem = tab->emblem;
        live.titleAuto = tab->titleAuto;
        live.hostedExe = tab->hostedExe;
        live.hostedAumid = tab->hostedAumid;
        live.hostedTitle = tab->hostedTitle;
        receiver.AppendTab(live);
        SyncTabsFromCadrel(receiver.Window());
        if (tab->Hosts()) {
            // The window went back to its place with the tab; the new tab takes it again.
            hosting_.RestartReanchor();
        }
    };
    if (cadrels_.Closing() != nullptr) {
        // A cadrel's close question is open: the arrangement is not changed
        // behind it, the tab goes back where it came from.
        Cadrel* source = tab->source != cadrels_.Closing() ? cadrels_.Find(tab->source) : nullptr;
        if (source != nullptr) {
            DebugLog(L"Onglet %ls rendu a sa cadrel : une fermeture est en cours.", tab->title.c_str());
            append(*source);
        } else if (!tab->Hosts()) {
            CreateCadrelForFolder(tab->title, tab->folder, true);
        }
        return;
    }
    if (Cadrel* receiver = cadrels_.TornTabReceiver(*tab)) {
        receiver->SetRolled(false, true, true);
        append(*receiver);
        return;
    }
    if (!tab->Hosts()) {
        CreateCadrelForFolder(tab->title, tab->folder, true);
    }
}

}  // namespace cadrels
