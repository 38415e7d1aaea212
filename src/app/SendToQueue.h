// Paths sent to a cadrel from outside: one process per path (the shell starts
// one per selected file), gathered into a batch, or a list file for many.
// Batches are handed one at a time to the filing, whose menu pumps messages:
// paths arriving meanwhile wait for the next batch.
#pragma once

#include "app/SendToBatch.h"
#include "base/Mailbox.h"
#include "fileops/OperationState.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace cadrels {

class SendToQueue {
public:
    // Offers the destinations at `cursor` and moves the paths there.
    using FileBatch = std::function<void(const std::vector<std::wstring>& paths, POINT cursor)>;

    // While `operation` runs (a prompt, a menu, a drag, a file operation)
    // a batch waits: its menu and its moves would run inside that loop.
    SendToQueue(FileBatch fileBatch, const OperationState& operation);
    SendToQueue(const SendToQueue&) = delete;
    SendToQueue& operator=(const SendToQueue&) = delete;

    // The window whose TimerSendToBatch and WM_APP_SEND_TO_LIST drive the queue.
    void SetWindow(HWND appWindow) { window_ = appWindow; }
    // Filing is a file operation: none starts once shutdown has begun.
    void BeginShutdown() { shuttingDown_ = true; }

    void QueuePath(const std::wstring& path);
    // Queues a list file and signals the window; OnListMessage reads it.
    void PostList(const std::wstring& listPath);
    void OnListMessage();
    void OnBatchTimer();

private:
    void OnList(const std::wstring& listPath);
    void Hand(std::vector<std::wstring> paths, POINT cursor);

    FileBatch fileBatch_;
    const OperationState& operation_;
    HWND window_ = nullptr;
    bool shuttingDown_ = false;
    SendToBatch batch_;
    // Set while a batch is being filed; paths arriving meanwhile wait in batch_.
    bool handling_ = false;
    bool waitLogged_ = false;
    // The message only signals; the list file waits here.
    Mailbox<std::wstring> lists_;
};

}  // namespace cadrels
