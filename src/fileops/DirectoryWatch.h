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

    // True while `folder` still names the directory this watch opened. A
    // folder renamed away, or deleted while our handle keeps it pending
    // deletion, sends no notification to its own watch (Wine does not even
    // finish the deletion while a handle is open), so the watchers ask this
    // now and then besides waiting.
    bool StillAt(const std::wstring& folder) const;

    HANDLE Event() const { return event_.Get(); }
    bool IsOpen() const { return directory_.Valid(); }

    static constexpr DWORD BufferBytes = 16384;

private:
    UniqueFile directory_;
    UniqueHandle event_;
    OVERLAPPED overlapped_{};
    bool pending_ = false;
    DWORD volume_ = 0;
    ULONGLONG fileIndex_ = 0;
    std::unique_ptr<DWORD[]> buffer_;
};

}  // namespace cadrels
