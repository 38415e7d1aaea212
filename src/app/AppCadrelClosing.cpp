// Closing a whole cadrel: the question about the content of its container
// folders, the safety snapshot, moving the content to the Desktop or sending
// it to the Recycle Bin, and the undo entry that says what happened.
#include "app/App.h"

#include "base/DebugLog.h"
#include "base/WindowClass.h"
#include "cadrel/CadrelClosing.h"
#include "fileops/RecycleBin.h"
#include "i18n/StringTable.h"
#include "model/ContainerFolders.h"
#include "model/FolderResolver.h"
#include "model/PathText.h"
#include "settings/DarkPrompt.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>

namespace cadrels {
namespace {

constexpr int CloseChoiceKeep = 0;
constexpr int CloseChoiceDesktop = 1;
constexpr int CloseChoiceRecycle = 2;
constexpr int CloseChoiceCancel = 3;

constexpr size_t StayedFilesShown = 12;

// The full paths of what the folder holds besides ".", ".." and the marker;
// with `firstOnly`, the listing stops at the first one.
std::vector<std::wstring> ContainerContent(const std::wstring& folder, bool firstOnly)
{
    std::vector<std::wstring> content;
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW(ChildPath(folder, L"*").c_str(), &entry));
    if (!find) {
        return content;
    }
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L".." && !EqualsIgnoringAsciiCase(name, ContainerMarkerName)) {
            content.push_back(ChildPath(folder, name));
            if (firstOnly) {
                break;
            }
        }
    } while (FindNextFileW(find.Get(), &entry));
    return content;
}

bool ContainerHasContent(const std::wstring& folder)
{
    return !ContainerContent(folder, true).empty();
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
    Cadrel* cadrel = cadrels_.Find(cadrelWindow);
    if (cadrel == nullptr || cadrel->Id().empty() || cadrels_.Closing() != nullptr || operation_.Running()) {
        return;
    }
    const std::string id = cadrel->Id();
    cadrels_.SetClosing(cadrelWindow);
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
            static_cast<int>(WindowDpi(cadrelWindow)));
        cadrel = cadrels_.Find(cadrelWindow);
        if (cadrel != nullptr) {
            cadrel->SetClosing(false);
        }
    }
    if (cadrel == nullptr || choice < 0 || choice == CloseChoiceCancel) {
        DebugLog(L"Fermeture de cadrel %hs annulee.", id.c_str());
        cadrels_.SetClosing(nullptr);
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

    // Where the cadrel stands, so that it can come back if its files cannot
    // all leave.
    if (!schedule_.DisplayInTransit()) {
        cadrels_.CopyGeometry(monitors_, ActivePage().layouts[displayKey_]);
    }
    // The cadrel goes first: its folder watcher holds the container open,
    // and the shell cannot send an open folder to the Recycle Bin.
    cadrels_.Remove(cadrels_.Find(cadrelWindow));

    const std::wstring desktop = ResolveKnownFolder(FOLDERID_Desktop);
    std::vector<MovePair> moves;
    std::vector<std::wstring> recycled;
    std::vector<std::wstring> refused;
    // Files that did not leave (another program holds one open without
    // sharing): the cadrel must stay, or they would sit in a folder that no
    // cadrel shows.
    std::vector<std::wstring> stayed;
    for (const std::wstring& container : containers) {
        if (choice == CloseChoiceDesktop && !desktop.empty() && ContainerHasContent(container)) {
            if (!MoveFolderContents(container, desktop, &moves)) {
                DebugLog(L"Fermeture de cadrel : echec du deplacement du contenu de %ls vers le Bureau",
                         container.c_str());
                const std::vector<std::wstring> left = ContainerContent(container, false);
                stayed.insert(stayed.end(), left.begin(), left.end());
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
        entry.description = stayed.empty() ? Tr(TextId::CadrelClosed) : Tr(TextId::MoveDesktop);
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
    if (!stayed.empty()) {
        if (const CadrelRecord* record = FindRecord(id)) {
            const CadrelRecord kept = *record;
            CreateCadrelFromRecord(kept, page.layouts[displayKey_][id], false);
        }
        Save();
        DebugLog(L"Cadrel %hs gardee : %u deplacement(s), %u fichier(s) restes en place.", id.c_str(),
                 static_cast<unsigned>(moveCount), static_cast<unsigned>(stayed.size()));
        cadrels_.SetClosing(nullptr);
        const OperationState::Scope telling = operation_.Begin();
        ShowChoicePrompt(nullptr,
                         TrFormat(TextId::CloseKeptFilesThatStayed, StayedFilesLines(stayed, StayedFilesShown).c_str()),
                         {Tr(TextId::Ok)}, 0);
        return;
    }
    std::erase_if(page.cadrels, [&](const CadrelRecord& record) { return record.id == id; });
    for (auto& [key, geometries] : page.layouts) {
        geometries.erase(id);
    }
    Save();
    DebugLog(L"Cadrel %hs fermee : %u deplacement(s), %u dossier(s) a la corbeille, %u refuse(s).", id.c_str(),
             static_cast<unsigned>(moveCount),
             static_cast<unsigned>(recycled.size()), static_cast<unsigned>(refused.size()));
    cadrels_.SetClosing(nullptr);

    // After the close: the folders the Recycle Bin could not take are still
    // there, whole, and the user learns why.
    for (const std::wstring& folder : refused) {
        ShowChoicePrompt(nullptr, TrFormat(TextId::RecycleBinCannotTakeFolder, folder.c_str()), {Tr(TextId::Ok)}, 0);
    }
}

}  // namespace cadrels
