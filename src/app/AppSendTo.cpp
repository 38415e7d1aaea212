// Send-to: the menu of destinations for one batch of paths sent from outside,
// and their move.
#include "app/App.h"

#include "base/DebugLog.h"
#include "base/WindowClass.h"
#include "fileops/FileMoves.h"
#include "i18n/StringTable.h"
#include "model/FolderTree.h"
#include "settings/DarkMenu.h"
#include "sorting/SendToDestinations.h"

namespace cadrels {

void App::FileSentPaths(const std::vector<std::wstring>& paths, POINT cursor)
{
    DebugLog(L"Envoi vers une cadrel : lot de %d chemin(s) au point (%ld, %ld).", static_cast<int>(paths.size()),
             cursor.x, cursor.y);
    for (const std::wstring& path : paths) {
        DebugLog(L"Envoi vers une cadrel : %ls", path.c_str());
    }
    const std::vector<SendToDestination> destinations = SendToDestinations(settings_.workspaces, Tr(TextId::Cadrel));
    DebugLog(L"Envoi vers une cadrel : menu de %d destination(s) pour %d chemin(s).",
             static_cast<int>(destinations.size()), static_cast<int>(paths.size()));
    if (destinations.empty()) {
        return;
    }
    std::vector<DarkMenuItem> items;
    for (size_t i = 0; i < destinations.size(); ++i) {
        DarkMenuItem item;
        item.label = destinations[i].label;
        item.id = static_cast<int>(i + 1);
        items.push_back(std::move(item));
    }
    SetForegroundWindow(window_);
    int chosen = 0;
    {
        const OperationState::Scope running = operation_.Begin();
        chosen = ShowDarkMenu(window_, items, cursor.x, cursor.y, static_cast<int>(WindowDpi(window_)));
    }
    if (chosen <= 0 || chosen > static_cast<int>(destinations.size()) || shuttingDown_) {
        return;
    }
    const std::wstring& folder = destinations[static_cast<size_t>(chosen - 1)].folder;
    if (!CreateFolderTree(folder)) {
        DebugLog(L"Envoi vers une cadrel : le dossier %ls ne peut pas etre cree.", folder.c_str());
        return;
    }
    MoveReport report;
    {
        const OperationState::Scope running = operation_.Begin();
        report = MoveIntoFolder(CreateMoveEngine, paths, folder);
    }
    const int moved = static_cast<int>(report.moved.size());
    DebugLog(L"Envoi vers %ls : %d fichier(s) deplace(s).", folder.c_str(), moved);
    if (moved > 0) {
        PushUndo(UndoEntry{UndoKindMoves, TrFormat(TextId::UndoAutoSort, moved), std::move(report.moved), true});
        RefreshUndoUi();
    }
}

}  // namespace cadrels
