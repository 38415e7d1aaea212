#include "app/SendToQueue.h"

#include "app/SendToList.h"
#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "model/AtomicFile.h"

#include <memory>
#include <utility>

namespace cadrels {

SendToQueue::SendToQueue(FileBatch fileBatch, const OperationState& operation)
    : fileBatch_(std::move(fileBatch)), operation_(operation)
{
}

void SendToQueue::QueuePath(const std::wstring& path)
{
    POINT cursor{};
    GetCursorPos(&cursor);
    if (batch_.Add(path, cursor, GetTickCount())) {
        SetTimer(window_, TimerSendToBatch, SendToBatch::QuietMs, nullptr);
    }
}

void SendToQueue::OnBatchTimer()
{
    KillTimer(window_, TimerSendToBatch);
    const POINT cursor = batch_.Cursor();
    Hand(batch_.Take(), cursor);
}

void SendToQueue::Hand(std::vector<std::wstring> paths, POINT cursor)
{
    if (paths.empty() || shuttingDown_) {
        return;
    }
    // The menu of an earlier batch, a prompt, a menu, a drag or a file
    // operation is pumping messages: these paths wait, and the timer looks
    // again until that loop has ended.
    if (handling_ || operation_.Running()) {
        for (const std::wstring& path : paths) {
            batch_.Add(path, cursor, GetTickCount());
        }
        SetTimer(window_, TimerSendToBatch, SendToBatch::QuietMs, nullptr);
        if (handling_) {
            DebugLog(L"Envoi vers une cadrel : %d chemin(s) en attente du menu ouvert.",
                     static_cast<int>(paths.size()));
        } else if (!std::exchange(waitLogged_, true)) {
            DebugLog(L"Chemins envoyes en attente : une operation est en cours.");
        }
        return;
    }
    waitLogged_ = false;
    handling_ = true;
    fileBatch_(paths, cursor);
    handling_ = false;
}

void SendToQueue::PostList(const std::wstring& listPath)
{
    lists_.Post(window_, WM_APP_SEND_TO_LIST, std::make_unique<std::wstring>(listPath));
}

// The message carries nothing: the list file waits in the mailbox, and a
// message that finds it empty (posted by another process) does nothing.
void SendToQueue::OnListMessage()
{
    if (const std::unique_ptr<std::wstring> listPath = lists_.Take()) {
        OnList(*listPath);
    }
}

void SendToQueue::OnList(const std::wstring& listPath)
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
    Hand(ParseSendToList(bytes), cursor);
}

}  // namespace cadrels
