// The icon workers: a queue of requests under one mutex and condition
// variable, and threads that each own a COM apartment and a WIC factory.
// Results go into the receiver's mailbox; the message only signals. After
// Stop returns nothing is posted any more. Stop waits a moment for the
// threads and then lets go of one that is stuck in a slow thumbnail handler,
// so that the exit never hangs on it; the threads share what they use.
#pragma once

#include "base/Mailbox.h"
#include "gfx/IconResult.h"

#include <windows.h>
#include <wincodec.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
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
    // Sets the stop flag, forgets queued requests and wakes every thread;
    // waits at most `patienceMs` for them to end and lets the others go. A
    // result finished after the flag was set is dropped. Idempotent.
    void Stop(DWORD patienceMs = DefaultStopPatienceMs);
    static constexpr DWORD DefaultStopPatienceMs = 1000;

    size_t Queued() const;

    // Keys whose result could not be posted (the receiver's queue was full
    // after a long freeze, or the window is gone): the result was dropped,
    // and the key must stop being pending so that it is asked for again.
    // Main thread; each key is handed out once.
    std::vector<std::wstring> TakeUndelivered();

private:
    // What the threads share, held by each of them: it outlives a stopped
    // IconWorkers for as long as a thread stuck in an extraction runs.
    struct Shared {
        HWND receiver = nullptr;
        UINT message = 0;
        Mailbox<IconResult>* outbox = nullptr;  // used only under the mutex, before the stop
        Extractor extract;
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable ended;
        std::deque<IconRequest> queue;
        std::vector<std::wstring> undelivered;
        bool stop = false;
        unsigned running = 0;
    };
    static void Run(std::shared_ptr<Shared> shared);
    static bool Deliver(Shared& shared, std::unique_ptr<IconResult> result);

    std::shared_ptr<Shared> shared_;
    unsigned threadCount_;
    std::vector<std::thread> threads_;
};

}  // namespace cadrels
