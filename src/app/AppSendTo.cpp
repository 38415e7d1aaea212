// Send-to: paths filed into a cadrel from outside, one process per path or a
// list file for many.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "app/SendToList.h"
#include "model/AtomicFile.h"

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
    DebugLog(L"Envoi vers une cadrel : lot de %d chemin(s) au point (%ld, %ld).", static_cast<int>(paths.size()),
             cursor.x, cursor.y);
    for (const std::wstring& path : paths) {
        DebugLog(L"Envoi vers une cadrel : %ls", path.c_str());
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
