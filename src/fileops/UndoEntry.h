// One user action on files, as the undo and redo stacks keep it.
#pragma once

#include "fileops/FileIdentity.h"

#include <string>
#include <vector>

namespace cadrels {

// A file or folder that moved: full paths before and after.
struct MovePair {
    std::wstring from;
    std::wstring to;

    friend bool operator==(const MovePair&, const MovePair&) = default;
};

enum UndoKind : int {
    UndoKindMoves = 0,     // file moves that can be reversed
    UndoKindRecycled = 1,  // files sent to the Recycle Bin: shown, never undone
};

struct UndoEntry {
    int kind = UndoKindMoves;
    // Shown after the undo or redo command text.
    std::wstring description;
    // In the order the moves happened.
    std::vector<MovePair> moves;
    bool undoable = true;
    // What each moved item was where it went, in the order of `moves`;
    // empty when not known.
    std::vector<FileIdentity> identities;
};

}  // namespace cadrels
