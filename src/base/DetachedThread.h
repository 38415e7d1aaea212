// A worker thread with a stop event that its owner never waits for. The
// thread gets a handle of its own to the event, so it can still read the
// signal after the owner let it go; a thread stuck in a call to a share that
// stopped answering ends when the call comes back, without holding up a tab
// switch or the exit.
#pragma once

#include "base/UniqueHandle.h"

#include <windows.h>

#include <system_error>
#include <thread>
#include <utility>

namespace cadrels {

class DetachedThread {
public:
    DetachedThread() = default;
    ~DetachedThread() { Stop(); }
    DetachedThread(const DetachedThread&) = delete;
    DetachedThread& operator=(const DetachedThread&) = delete;

    // Runs body(UniqueHandle stop) on a new thread; false when the event or
    // its copy cannot be made. Throws std::system_error when the thread
    // cannot start. The body must own copies of all it uses.
    template <typename Body>
    bool Start(Body body)
    {
        if (Running()) {
            return false;
        }
        stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        HANDLE own = nullptr;
        if (!stop_ || !DuplicateHandle(GetCurrentProcess(), stop_.Get(), GetCurrentProcess(), &own, 0, FALSE,
                                       DUPLICATE_SAME_ACCESS)) {
            stop_.Reset();
            return false;
        }
        UniqueHandle threadStop(own);
        try {
            thread_ = std::thread(std::move(body), std::move(threadStop));
        } catch (const std::system_error&) {
            stop_.Reset();
            throw;
        }
        return true;
    }

    // Signals the stop event and lets the thread go; from the owner's thread.
    void Stop()
    {
        if (thread_.joinable()) {
            SetEvent(stop_.Get());
            thread_.detach();
        }
        stop_.Reset();
    }

    bool Running() const { return thread_.joinable(); }

private:
    UniqueHandle stop_;
    std::thread thread_;
};

}  // namespace cadrels
