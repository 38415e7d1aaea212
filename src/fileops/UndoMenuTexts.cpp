#include "fileops/UndoMenuTexts.h"

#include "i18n/StringTable.h"

namespace cadrels {

UndoMenuTexts MakeUndoMenuTexts(const UndoHistory& history)
{
    UndoMenuTexts texts;
    const UndoEntry* undo = history.NextUndo();
    const UndoEntry* redo = history.NextRedo();
    texts.canUndo = undo != nullptr;
    texts.canRedo = redo != nullptr;
    texts.undoText = undo ? std::wstring(Tr(191)) + L" — " + undo->description : std::wstring(Tr(193));
    texts.redoText = redo ? std::wstring(Tr(192)) + L" — " + redo->description : std::wstring(Tr(194));
    return texts;
}

}  // namespace cadrels
