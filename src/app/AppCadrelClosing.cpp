// Closing a whole cadrel: the question about the content of its container
// folders, the safety snapshot, moving the content to the Desktop or sending
// it to the Recycle Bin, and the undo entry that says what happened.
#include "app/App.h"

#include "base/DebugLog.h"
#include "cadrel/CadrelClosing.h"
#include "i18n/StringTable.h"
#include "model/ContainerFolders.h"
#include "model/FolderResolver.h"
#include "model/PathText.h"
#include "settings/DarkPrompt.h"

#include <shellapi.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <algorithm>
#include <optional>

namespace cadrels {
namespace {

constexpr int CloseChoiceKeep = 0;
constexpr int CloseChoiceDesktop = 1;
constexpr int CloseChoiceRecycle = 2;
constexpr int CloseChoiceCancel = 3;

// Anything in the folder besides ".", ".." and the marker.
bool ContainerHasContent(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW(ChildPath(folder, L"*").c_str(), &entry));
    if (!find) {
        return false;
    }
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L".." && !EqualsIgnoringAsciiCase(name, ContainerMarkerName)) {
            return true;
        }
    } while (FindNextFileW(find.Get(), &entry));
    return false;
}

// The folder's size in bytes, files of every depth.
unsigned long long FolderBytes(const std::wstring& folder)
{
    unsigned long long total = 0;
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW(ChildPath(folder, L"*").c_str(), &entry));
    if (!find) {
        return 0;
    }
    do {
        const std::wstring_view name = entry.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
                total += FolderBytes(ChildPath(folder, name));
            }
        } else {
            total += (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        }
    } while (FindNextFileW(find.Get(), &entry));
    return total;
}

// Whether the Recycle Bin of the folder's volume can take it: a local fixed
// drive whose bin is not switched off and whose configured capacity (in
// megabytes, when the user set one) holds the folder. Elsewhere the shell
// would delete for good.
bool RecycleBinCanTake(const std::wstring& folder)
{
    wchar_t root[MAX_PATH] = {};
    if (folder.size() >= MAX_PATH || !GetVolumePathNameW(folder.c_str(), root, MAX_PATH) ||
        GetDriveTypeW(root) != DRIVE_FIXED) {
        return false;
    }
    wchar_t volume[64] = {};
    if (!GetVolumeNameForVolumeMountPointW(root, volume, 64)) {
        return true;
    }
    // "\\?\Volume{GUID}\" names the volume's key.
    std::wstring guid = volume;
    const size_t open = guid.find(L'{');
    const size_t close = guid.find(L'}');
    if (open == std::wstring::npos || close == std::wstring::npos) {
        return true;
    }
    const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\" +
                             guid.substr(open, close - open + 1);
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"NukeOnDelete", RRF_RT_REG_DWORD, nullptr, &value, &size) ==
            ERROR_SUCCESS &&
        value != 0) {
        return false;
    }
    size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"MaxCapacity", RRF_RT_REG_DWORD, nullptr, &value, &size) ==
        ERROR_SUCCESS) {
        return FolderBytes(folder) <= static_cast<unsigned long long>(value) * 1024 * 1024;
    }
    return true;
}

enum class RecycleResult { Recycled, Refused, Unavailable };

// The shell's file operation recycles and, with FOF_WANTNUKEWARNING, asks
// the user before anything would be deleted for good; saying no there
// aborts the operation.
RecycleResult RecycleWithFileOperation(const std::wstring& folder)
{
    Microsoft::WRL::ComPtr<IFileOperation> operation;
    if (FAILED(CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&operation))) ||
        FAILED(operation->SetOperationFlags(FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI |
                                            FOF_WANTNUKEWARNING | FOFX_RECYCLEONDELETE))) {
        return RecycleResult::Unavailable;
    }
    Microsoft::WRL::ComPtr<IShellItem> item;
    if (FAILED(SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_PPV_ARGS(&item))) ||
        FAILED(operation->DeleteItem(item.Get(), nullptr))) {
        return RecycleResult::Unavailable;
    }
    const HRESULT performed = operation->PerformOperations();
    const bool gone = GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
    if (performed == E_NOTIMPL && !gone) {
        return RecycleResult::Unavailable;
    }
    BOOL aborted = FALSE;
    operation->GetAnyOperationsAborted(&aborted);
    DebugLog(L"Corbeille par l'operation du shell : HRESULT 0x%08X, %ls.", static_cast<unsigned>(performed),
             aborted ? L"interrompue" : L"menee a bout");
    return SUCCEEDED(performed) && !aborted && gone ? RecycleResult::Recycled : RecycleResult::Refused;
}

// How many items the Recycle Bin of the folder's drive holds; nothing when
// the shell cannot say.
std::optional<long long> RecycledItemCount(const std::wstring& folder)
{
    wchar_t root[MAX_PATH] = {};
    if (folder.size() >= MAX_PATH || !GetVolumePathNameW(folder.c_str(), root, MAX_PATH)) {
        return std::nullopt;
    }
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    if (FAILED(SHQueryRecycleBinW(root, &info))) {
        return std::nullopt;
    }
    return info.i64NumItems;
}

// Sends the folder to the Recycle Bin and nowhere else; success is also
// checked on disk. Both ways ask for FOF_WANTNUKEWARNING: where the bin
// cannot take the folder after all, the system asks the user before
// deleting for good, and a "no" aborts the operation. Where the shell's
// file operation cannot be used (Wine answers E_NOTIMPL), SHFileOperationW
// does the same one item per call.
bool RecycleFolder(const std::wstring& folder)
{
    if (!RecycleBinCanTake(folder)) {
        DebugLog(L"Fermeture de cadrel : la corbeille ne peut pas recevoir %ls.", folder.c_str());
        return false;
    }
    const std::optional<long long> before = RecycledItemCount(folder);
    bool recycled = false;
    switch (RecycleWithFileOperation(folder)) {
    case RecycleResult::Recycled:
        recycled = true;
        break;
    case RecycleResult::Refused:
        return false;
    case RecycleResult::Unavailable: {
        std::wstring from = folder;
        from.push_back(L'\0');  // the list ends with a second terminator
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI | FOF_WANTNUKEWARNING;
        const int result = SHFileOperationW(&operation);
        const bool gone = GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
        DebugLog(L"Corbeille par SHFileOperationW : resultat %d%ls.", result,
                 operation.fAnyOperationsAborted ? L", interrompue" : L"");
        recycled = result == 0 && !operation.fAnyOperationsAborted && gone;
        break;
    }
    }
    // Gone but not in the bin: the user told the system's warning to delete
    // it for good. That is no "in the Recycle Bin" entry.
    const std::optional<long long> after = RecycledItemCount(folder);
    if (recycled && before && after && *after <= *before) {
        DebugLog(L"Fermeture de cadrel : %ls supprime definitivement a la demande de l'utilisateur.", folder.c_str());
        return false;
    }
    return recycled;
}

}  // namespace

void App::OnCloseCadrel(HWND cadrelWindow)
{
    if (CadrelsLocked()) {
        return;
    }
    CloseCadrel(cadrelWindow);
}

void App::CloseCadrel(HWND cadrelWindow)
{
    Cadrel* cadrel = FindCadrel(cadrelWindow);
    if (cadrel == nullptr || cadrel->Id().empty() || closingCadrel_ != nullptr || operation_.Running()) {
        return;
    }
    const std::string id = cadrel->Id();
    closingCadrel_ = cadrelWindow;
    SyncTabsFromCadrel(cadrelWindow);

    std::vector<std::wstring> containers;
    if (const CadrelRecord* record = FindRecord(id)) {
        for (const CadrelTab& tab : record->tabs) {
            if (!tab.folder.empty() && IsContainer(tab.folder)) {
                containers.push_back(tab.folder);
            }
        }
    }
    const auto leaveShared = [&] {
        for (const std::wstring& shared :
             FoldersReferencedElsewhere(settings_, settings_.activeWorkspace, id, containers)) {
            DebugLog(L"Fermeture de cadrel : %ls est aussi montre par un autre onglet, il reste en place.",
                     shared.c_str());
            std::erase(containers, shared);
        }
    };
    leaveShared();
    const bool hasContent = std::any_of(containers.begin(), containers.end(), ContainerHasContent);

    int choice = CloseChoiceKeep;
    if (hasContent) {
        const OperationState::Scope prompting = operation_.Begin();
        cadrel->SetClosing(true);
        DebugLog(L"Fermeture de cadrel %hs : question sur le contenu.", id.c_str());
        choice = ShowChoicePrompt(
            cadrelWindow, Tr(TextId::CloseCadrelQuestion),
            {Tr(TextId::KeepContent), Tr(TextId::MoveDesktop), Tr(TextId::MoveRecycleBin), Tr(TextId::Cancel)},
            static_cast<int>(GetDpiForWindow(cadrelWindow)));
        cadrel = FindCadrel(cadrelWindow);
        if (cadrel != nullptr) {
            cadrel->SetClosing(false);
        }
    }
    if (cadrel == nullptr || choice < 0 || choice == CloseChoiceCancel) {
        DebugLog(L"Fermeture de cadrel %hs annulee.", id.c_str());
        closingCadrel_ = nullptr;
        return;
    }
    DebugLog(L"Fermeture de cadrel %hs : choix %d.", id.c_str(), choice);
    // What the cadrel shows now decides: a folder that left it while the
    // question was open is no longer this close's business.
    SyncTabsFromCadrel(cadrelWindow);
    std::vector<CadrelTab> shown(cadrel->Tabs().begin(), cadrel->Tabs().end());
    containers = FoldersStillShown(containers, shown);
    leaveShared();

    TakeSnapshotBeforeClosingCadrel();

    // The cadrel goes first: its folder watcher holds the container open,
    // and the shell cannot send an open folder to the Recycle Bin.
    if (Cadrel* closing = FindCadrel(cadrelWindow)) {
        if (mergeHighlight_ == cadrelWindow) {
            mergeHighlight_ = nullptr;
        }
        auto owned = std::find_if(cadrels_.begin(), cadrels_.end(), [&](const auto& c) { return c.get() == closing; });
        (*owned)->Destroy();
        cadrels_.erase(owned);
    }

    const std::wstring desktop = ResolveKnownFolder(FOLDERID_Desktop);
    std::vector<MovePair> moves;
    std::vector<std::wstring> recycled;
    std::vector<std::wstring> refused;
    for (const std::wstring& container : containers) {
        if (choice == CloseChoiceDesktop && !desktop.empty() && ContainerHasContent(container)) {
            if (!MoveFolderContents(container, desktop, &moves)) {
                DebugLog(L"Fermeture de cadrel : echec du deplacement du contenu de %ls vers le Bureau",
                         container.c_str());
            }
        } else if (choice == CloseChoiceRecycle && ContainerHasContent(container)) {
            const OperationState::Scope recycling = operation_.Begin();
            if (RecycleFolder(container)) {
                recycled.push_back(container);
            } else {
                DebugLog(L"Fermeture de cadrel : echec de l'envoi a la corbeille de %ls", container.c_str());
                if (GetFileAttributesW(container.c_str()) != INVALID_FILE_ATTRIBUTES) {
                    refused.push_back(container);
                }
            }
        }
        RemoveEmptyContainer(container);
    }

    const size_t moveCount = moves.size();
    if (!moves.empty()) {
        UndoEntry entry;
        entry.kind = UndoKindMoves;
        entry.description = Tr(TextId::CadrelClosed);
        entry.moves = std::move(moves);
        PushUndo(std::move(entry));
        RefreshUndoUi();
    } else if (!recycled.empty()) {
        UndoEntry entry;
        entry.kind = UndoKindRecycled;
        entry.undoable = false;
        entry.description = std::wstring(Tr(TextId::CadrelClosed)) + L" — " + Tr(TextId::FilesRecycleBin);
        for (const std::wstring& folder : recycled) {
            entry.moves.push_back(MovePair{folder, L""});
        }
        PushUndo(std::move(entry));
        RefreshUndoUi();
    }

    Workspace& page = ActivePage();
    std::erase_if(page.cadrels, [&](const CadrelRecord& record) { return record.id == id; });
    for (auto& [key, geometries] : page.layouts) {
        geometries.erase(id);
    }
    Save();
    DebugLog(L"Cadrel %hs fermee : %u deplacement(s), %u dossier(s) a la corbeille, %u refuse(s).", id.c_str(),
             static_cast<unsigned>(moveCount),
             static_cast<unsigned>(recycled.size()), static_cast<unsigned>(refused.size()));
    closingCadrel_ = nullptr;

    // After the close: the folders the Recycle Bin could not take are still
    // there, whole, and the user learns why.
    for (const std::wstring& folder : refused) {
        ShowChoicePrompt(nullptr, TrFormat(TextId::RecycleBinCannotTakeFolder, folder.c_str()), {Tr(TextId::Ok)}, 0);
    }
}

}  // namespace cadrels
