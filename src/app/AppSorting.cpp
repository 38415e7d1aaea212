// When the sorting pass runs.
#include "app/App.h"

#include "base/AppMessages.h"
#include "app/AppScheduling.h"
#include "base/DebugLog.h"

namespace cadrels {

void App::SortNow()
{
    if (SortMustWait(operation_.Running(), GetTickCount(), sortSuppressedUntil_)) {
        SetTimer(window_, TimerSort, 400, nullptr);
        return;
    }
    sortPending_ = false;
    DebugLog(L"Passe de rangement : le rangement automatique n'est pas encore disponible.");
}

}  // namespace cadrels
