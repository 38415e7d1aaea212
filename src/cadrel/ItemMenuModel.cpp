#include "cadrel/ItemMenuModel.h"

#include "i18n/StringTable.h"
#include "model/PathText.h"

#include <algorithm>

namespace cadrels {

std::vector<std::wstring> ItemMenuTargets(const std::vector<std::wstring>& selected, const std::wstring& clicked)
{
    if (selected.size() >= 2 && std::find(selected.begin(), selected.end(), clicked) != selected.end()) {
        return selected;
    }
    return {clicked};
}

std::vector<ItemMenuEntry> ItemMenuEntries(int targetCount, bool pinned)
{
    const std::wstring prefix = L"Cadrels — ";
    return {
        {ItemCmdOpen,
         prefix + (targetCount >= 2 ? TrFormat(TextId::OpenItems, targetCount) : std::wstring(Tr(TextId::OpenItem)))},
        {ItemCmdQuickLook, prefix + Tr(TextId::QuickLook)},
        {ItemCmdOpenLocation, prefix + Tr(TextId::OpenFileLocation)},
        {ItemCmdCopyPath, prefix + Tr(TextId::CopyFilePath)},
        {ItemCmdRename, prefix + Tr(TextId::RenameItem)},
        {ItemCmdPin, prefix + Tr(pinned ? TextId::Unpin : TextId::PinTop)},
    };
}

void TogglePinnedName(std::vector<std::wstring>& pinned, const std::wstring& name)
{
    const auto found = std::find_if(pinned.begin(), pinned.end(),
                                    [&](const std::wstring& entry) { return EqualsIgnoringAsciiCase(entry, name); });
    if (found != pinned.end()) {
        pinned.erase(found);
    } else {
        pinned.push_back(name);
    }
}

}  // namespace cadrels
