// One overlapped ReadDirectoryChangesW on one folder. The change records are
// never read: a completion only means "something changed here", and the
// folder is listed again by whoever cares.
#pragma once

#include "base/UniqueHandle.h"

#include <windows.h>

#include <memory>
#include <string>

namespace cadrels {

class DirectoryWatch {
public:
    DirectoryWatch() = default;
    ~DirectoryWatch() { Close(); }
    // The kernel writes into the OVERLAPPED and the buffer until the request
    // ends: the object must not move.
    DirectoryWatch(const DirectoryWatch&) = delete;
    DirectoryWatch& operator=(const DirectoryWatch&) = delete;

    // Opens the folder for listening and creates the request's event.
    bool Open(const std::wstring& folder);
    // Resets the event and issues a request with the filter (no subtree).
    bool Request(DWORD filter);
    // Without waiting: true when the finished request succeeded. A request
    // that overflowed the buffer succeeds with nothing in it, which still
    // reads as a change.
    bool Completed();
    // Cancels a request in flight, waits for it to end, closes everything.
    void Close();

    HANDLE Event() const { return event_.Get(); }
    bool IsOpen() const { return directory_.Valid(); }

    static constexpr DWORD BufferBytes = 16384;

private:
    UniqueFile directory_;
    UniqueHandle event_;
    OVERLAPPED overlapped_{};
    bool pending_ = false;
    std::unique_ptr<DWORD[]> buffer_;
};

}  // namespace cadrels
