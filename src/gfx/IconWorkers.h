// The icon workers: a queue of requests under one mutex and condition
// variable, and threads that each own a COM apartment and a WIC factory.
// Results go into the receiver's mailbox; the message only signals. Stop
// joins the threads, so after it returns nothing is posted any more and no
// thread still uses COM or the receiving window.
#pragma once

#include "base/Mailbox.h"
#include "gfx/IconResult.h"

#include <windows.h>
#include <wincodec.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cadrels {

class IconWorkers {
public:
    static constexpr unsigned DefaultThreads = 4;
    // Extraction of one request; the factory belongs to the calling thread
    // and is null when it could not be created there.
    using Extractor = std::function<void(IWICImagingFactory* wic, const IconRequest& request, IconResult& result)>;

    // Results go to `outbox`, each announced by `message` posted to `receiver`.
    IconWorkers(HWND receiver, UINT message, Mailbox<IconResult>& outbox, Extractor extract = {},
                unsigned threads = DefaultThreads);
    ~IconWorkers();
    IconWorkers(const IconWorkers&) = delete;
    IconWorkers& operator=(const IconWorkers&) = delete;

    // Starts the threads; throws std::system_error when one cannot start.
    void Start();
    void Enqueue(std::wstring key, std::wstring path, int size);
    // Sets the stop flag, forgets queued requests, wakes and joins every
    // thread. A result finished after the flag was set is dropped.
    // Idempotent.
    void Stop();

    size_t Queued() const;

    // Keys whose result could not be posted (the receiver's queue was full
    // after a long freeze, or the window is gone): the result was dropped,
    // and the key must stop being pending so that it is asked for again.
    // Main thread; each key is handed out once.
    std::vector<std::wstring> TakeUndelivered();

private:
    void Run();
    bool Deliver(std::unique_ptr<IconResult> result);

    HWND receiver_;
    UINT message_;
    Mailbox<IconResult>& outbox_;
    Extractor extract_;
    unsigned threadCount_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<IconRequest> queue_;
    std::vector<std::wstring> undelivered_;
    bool stop_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace cadrels
