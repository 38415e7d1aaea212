#include "sorting/SendToDestinations.h"

namespace cadrels {

std::vector<SendToDestination> SendToDestinations(const std::vector<Workspace>& pages, std::wstring_view defaultName)
{
    std::vector<SendToDestination> destinations;
    const bool namePages = pages.size() > 1;
    for (const Workspace& page : pages) {
        for (const CadrelRecord& record : page.cadrels) {
            for (const CadrelTab& tab : record.tabs) {
                if (tab.folder.empty()) {
                    continue;
                }
                std::wstring label = tab.title.empty() ? std::wstring(defaultName) : tab.title;
                if (namePages && !page.name.empty()) {
                    label = page.name + L" \u2014 " + label;
                }
                destinations.push_back(SendToDestination{std::move(label), tab.folder});
            }
        }
    }
    return destinations;
}

}  // namespace cadrels
