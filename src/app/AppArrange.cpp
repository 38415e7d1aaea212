// Arranging a cadrel by type or by month: its files go into subfolders named
// after their type family or their UTC month.
#include "app/App.h"

#include "base/DebugLog.h"
#include "i18n/StringTable.h"
#include "sorting/FileClasses.h"
#include "sorting/FilingPass.h"
#include "sorting/ShellFileFacts.h"

namespace cadrels {

int App::MoveIntoCadrelFolder(const Cadrel& cadrel, const std::vector<std::wstring>& paths, bool move,
                              const std::wstring& folder)
{
    if (folder.empty() || paths.empty() || shuttingDown_) {
        return 0;
    }
    CadrelRecord properties;
    cadrel.CopyPropertiesTo(properties);
    ShellFileFacts facts;
    FilingResult result;
    {
        const OperationState::Scope running = operation_.Begin();
        result = MoveIntoClassifiedFolder(paths, folder, properties.classifyMode, facts, CreateMoveEngine, !move);
    }
    if (!result.queued) {
        return 0;
    }
    const int moved = static_cast<int>(result.report.moved.size());
    DebugLog(L"Classement dans %ls : %d fichier(s) %ls%ls.", folder.c_str(), moved, move ? L"deplace(s)" : L"copie(s)",
             result.report.succeeded ? L"" : L", d'autres sont restes en place");
    // Copies leave the originals where they were: there is no move to undo.
    if (move && moved > 0) {
        PostMovesDone(
            UndoEntry{UndoKindMoves, TrFormat(TextId::UndoDragDrop, moved), std::move(result.report.moved), true});
    }
    return moved;
}

void App::ArrangeNow(HWND cadrelWindow)
{
    const Cadrel* cadrel = cadrels_.Find(cadrelWindow);
    if (cadrel == nullptr) {
        return;
    }
    CadrelRecord properties;
    cadrel->CopyPropertiesTo(properties);
    const int active = cadrel->ActiveTab();
    if (properties.classifyMode == 0 || active < 0 || active >= static_cast<int>(cadrel->Tabs().size())) {
        return;
    }
    const std::wstring folder = cadrel->Tabs()[static_cast<size_t>(active)].folder;
    if (folder.empty()) {
        return;
    }
    // Only plain visible files: a container's hidden marker or desktop.ini
    // moved into a subfolder would leave the container unrecognised.
    MoveIntoCadrelFolder(*cadrel, ListMovableFiles(folder), true, folder);
}

}  // namespace cadrels
