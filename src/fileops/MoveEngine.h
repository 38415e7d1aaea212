// Every file move of the program goes through one small interface: queue
// moves, perform them, and learn which moves really happened. Two back ends
// sit behind it: the shell's IFileOperation, and an engine of our own on
// MoveFileExW for systems where the shell's cannot be created.
#pragma once

#include "fileops/UndoEntry.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cadrels {

struct MoveOptions {
    // Forward moves: a taken name becomes "name (2).ext". Without it a move
    // whose target exists fails and replaces nothing.
    bool renameOnCollision = false;
    // The shell keeps what it needs to undo the operation from Explorer.
    bool allowUndo = false;
    // Copies instead of moving: the sources stay where they are, and Moved()
    // lists the copies made.
    bool copy = false;
};

class MoveEngine {
public:
    virtual ~MoveEngine() = default;

    // Queues moving (or copying) `source` into the existing folder `folder` under `name`
    // (empty: the source's own name). False when the source cannot be
    // queued (it does not exist, the shell cannot name it).
    virtual bool Queue(const std::wstring& source, const std::wstring& folder, const std::wstring& name) = 0;

    // Runs everything queued. S_OK when every move happened; otherwise the
    // first failure. A failure part-way leaves the other moves done, and
    // Moved() holds exactly those that happened either way.
    virtual HRESULT Perform() = 0;

    // (from, to) of each move that happened, checked on disk, in order.
    virtual const std::vector<MovePair>& Moved() const = 0;

    // For the diagnostic lines: which back end this is.
    virtual const wchar_t* Name() const = 0;
};

using MoveEngineFactory = std::function<std::unique_ptr<MoveEngine>(const MoveOptions&)>;

// The shell's engine when it can be created and accepts the flags, else our
// own (Wine 8 answers E_NOTIMPL to every IFileOperation method). A shell
// that answers E_NOTIMPL to the batch's first item (Wine 10 cannot copy)
// leaves that batch to our own engine too. The first choice of the process
// is logged once. Needs COM on the calling thread.
std::unique_ptr<MoveEngine> CreateMoveEngine(const MoveOptions& options);

class ShellMoveEngine;
// The shell's engine made above, falling back to our own as described there.
std::unique_ptr<MoveEngine> PreferShellEngine(std::unique_ptr<ShellMoveEngine> shell, const MoveOptions& options);

// True when `to` exists and `from` is gone (or names the same place, as a
// rename that only changes letter case does).
bool MoveVisibleOnDisk(const MovePair& move);

// What a finished operation must show on disk: a move as above, a copy as
// its target.
bool TransferVisibleOnDisk(const MovePair& transfer, bool copy);

}  // namespace cadrels
