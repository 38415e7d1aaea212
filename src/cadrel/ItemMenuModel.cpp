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
        {ItemCmdOpen, prefix + (targetCount >= 2 ? TrFormat(207, targetCount) : std::wstring(Tr(206)))},
        {ItemCmdQuickLook, prefix + Tr(390)},
        {ItemCmdOpenLocation, prefix + Tr(189)},
        {ItemCmdCopyPath, prefix + Tr(190)},
        {ItemCmdRename, prefix + Tr(199)},
        {ItemCmdPin, prefix + Tr(pinned ? 387 : 386)},
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
