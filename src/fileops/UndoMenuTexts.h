// What the Undo and Redo menu entries say and whether they can be chosen.
#pragma once

#include "fileops/UndoHistory.h"

#include <string>

namespace cadrels {

struct UndoMenuTexts {
    bool canUndo = false;
    bool canRedo = false;
    std::wstring undoText;  // "Annuler le dernier rangement — <description>" or "Rien à annuler"
    std::wstring redoText;  // "Rétablir — <description>" or "Rien à rétablir"
};

// In the current interface language.
UndoMenuTexts MakeUndoMenuTexts(const UndoHistory& history);

}  // namespace cadrels
