#include "app/TrayMenu.h"

#include "i18n/StringTable.h"

namespace cadrels {
namespace {

DarkMenuItem UndoRedoItem(int id, TextId labelId, TextId emptyLabelId, const std::optional<std::wstring>& description)
{
    DarkMenuItem item;
    item.id = id;
    item.enabled = description.has_value();
    item.label = description ? std::wstring(Tr(labelId)) + L" — " + *description : std::wstring(Tr(emptyLabelId));
    return item;
}

}  // namespace

std::vector<DarkMenuItem> TrayMenuItems(const std::optional<std::wstring>& undo,
                                        const std::optional<std::wstring>& redo, bool cadrelsHidden)
{
    std::vector<DarkMenuItem> items;
    items.push_back(UndoRedoItem(TrayCommandUndo, TextId::UndoLastAction, TextId::NothingUndo, undo));
    items.push_back(UndoRedoItem(TrayCommandRedo, TextId::RedoAction, TextId::NothingRedo, redo));
    items.push_back(DarkMenuItem::Separator());
    DarkMenuItem visibility;
    visibility.label = Tr(cadrelsHidden ? TextId::ShowCadrels : TextId::HideCadrels);
    visibility.id = TrayCommandToggleHidden;
    items.push_back(visibility);
    DarkMenuItem settings;
    settings.label = Tr(TextId::Settings);
    settings.id = TrayCommandSettings;
    items.push_back(settings);
    return items;
}

}  // namespace cadrels
