#include "app/TrayMenu.h"

#include "i18n/StringTable.h"

namespace cadrels {
namespace {

DarkMenuItem UndoRedoItem(int id, int labelId, int emptyLabelId, const std::optional<std::wstring>& description)
{
    DarkMenuItem item;
    item.id = id;
    item.enabled = description.has_value();
    item.label = description ? std::wstring(Tr(labelId)) + L" — " + *description : std::wstring(Tr(emptyLabelId));
    return item;
}

}  // namespace

std::vector<DarkMenuItem> TrayMenuItems(const std::optional<std::wstring>& undo,
                                        const std::optional<std::wstring>& redo)
{
    std::vector<DarkMenuItem> items;
    items.push_back(UndoRedoItem(TrayCommandUndo, 191, 193, undo));
    items.push_back(UndoRedoItem(TrayCommandRedo, 192, 194, redo));
    items.push_back(DarkMenuItem::Separator());
    DarkMenuItem settings;
    settings.label = Tr(133);
    settings.id = TrayCommandSettings;
    items.push_back(settings);
    return items;
}

}  // namespace cadrels
