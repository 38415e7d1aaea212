// Send-to: paths filed into a cadrel from outside, one process per path or a
// list file for many.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "app/SendToList.h"
#include "fileops/FileMoves.h"
#include "i18n/StringTable.h"
#include "model/AtomicFile.h"
#include "model/FolderTree.h"
#include "settings/DarkMenu.h"
#include "sorting/SendToDestinations.h"

namespace cadrels {

void App::QueueSendToPath(const std::wstring& path)
{
    POINT cursor{};
    GetCursorPos(&cursor);
    if (sendToBatch_.Add(path, cursor, GetTickCount())) {
        SetTimer(window_, TimerSendToBatch, SendToBatch::QuietMs, nullptr);
    }
}

void App::OnSendToBatchTimer()
{
    KillTimer(window_, TimerSendToBatch);
    const POINT cursor = sendToBatch_.Cursor();
    HandleSentPaths(sendToBatch_.Take(), cursor);
}

void App::HandleSentPaths(std::vector<std::wstring> paths, POINT cursor)
{
    // Filing is a file operation: none may start once shutdown has begun.
    if (paths.empty() || shuttingDown_) {
        return;
    }
    // The menu of an earlier batch is open and pumping messages: these paths
    // wait and are offered once that batch is done.
    if (sendToHandling_) {
        for (const std::wstring& path : paths) {
            sendToBatch_.Add(path, cursor, GetTickCount());
        }
        SetTimer(window_, TimerSendToBatch, SendToBatch::QuietMs, nullptr);
        DebugLog(L"Envoi vers une cadrel : %d chemin(s) en attente du menu ouvert.", static_cast<int>(paths.size()));
        return;
    }
    sendToHandling_ = true;
    FileSentPaths(paths, cursor);
    sendToHandling_ = false;
}

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
        chosen = ShowDarkMenu(window_, items, cursor.x, cursor.y, static_cast<int>(GetDpiForWindow(window_)));
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

void App::PostSendToList(const std::wstring& listPath)
{
    sendToLists_.Post(window_, WM_APP_SEND_TO_LIST, std::make_unique<std::wstring>(listPath));
}

// The message carries nothing: the list file waits in the mailbox, and a
// message that finds it empty (posted by another process) does nothing.
void App::OnSendToListMessage()
{
    if (const std::unique_ptr<std::wstring> listPath = sendToLists_.Take()) {
        OnSendToList(*listPath);
    }
}

void App::OnSendToList(const std::wstring& listPath)
{
    if (listPath.empty()) {
        return;
    }
    wchar_t fullPath[MAX_PATH];
    const DWORD fullLength = GetFullPathNameW(listPath.c_str(), MAX_PATH, fullPath, nullptr);
    wchar_t tempFolder[MAX_PATH + 1];
    const DWORD tempLength = GetTempPathW(MAX_PATH + 1, tempFolder);
    if (fullLength == 0 || fullLength >= MAX_PATH || tempLength == 0 || tempLength > 258 ||
        !IsAcceptedSendToListPath(fullPath, tempFolder)) {
        return;
    }

    // A single byte yields no path: the odd last byte is dropped.
    std::string bytes;
    if (!ReadFileBytes(fullPath, SendToListMaxBytes, bytes)) {
        bytes.clear();
    }
    // The sender hands the file over: it is ours to delete, readable or not.
    DeleteFileW(fullPath);

    POINT cursor{};
    GetCursorPos(&cursor);
    HandleSentPaths(ParseSendToList(bytes), cursor);
}

}  // namespace cadrels
