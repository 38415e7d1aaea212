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
    texts.undoText = undo ? std::wstring(Tr(TextId::UndoLastAction)) + L" — " + undo->description
                          : std::wstring(Tr(TextId::NothingUndo));
    texts.redoText = redo ? std::wstring(Tr(TextId::RedoAction)) + L" — " + redo->description
                          : std::wstring(Tr(TextId::NothingRedo));
    return texts;
}

}  // namespace cadrels
