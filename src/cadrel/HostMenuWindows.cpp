#include "cadrel/HostMenuWindows.h"

#include "windows/HostedWindows.h"

#include <algorithm>

namespace cadrels {

std::vector<HostWindowFacts> TopLevelWindows(const std::function<bool(HWND)>& hostedElsewhere)
{
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::vector<HostWindowFacts> facts;
    for (HWND window : windows) {
        HostWindowFacts fact;
        fact.window = reinterpret_cast<std::uintptr_t>(window);
        fact.candidate = IsLayoutCandidate(window);
        if (fact.candidate) {
            wchar_t title[256] = {};
            const int length = GetWindowTextW(window, title, 256);
            fact.title.assign(title, static_cast<size_t>(std::max(length, 0)));
            fact.hostedElsewhere = hostedElsewhere && hostedElsewhere(window);
        }
        facts.push_back(std::move(fact));
    }
    return facts;
}

}  // namespace cadrels
