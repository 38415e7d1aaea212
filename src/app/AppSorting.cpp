// When the sorting pass runs.
#include "app/App.h"

#include "base/AppMessages.h"
#include "app/AppScheduling.h"

namespace cadrels {

void App::SortNow()
{
    if (SortMustWait(busy_, GetTickCount(), sortSuppressedUntil_)) {
        SetTimer(window_, TimerSort, 400, nullptr);
        return;
    }
    sortPending_ = false;
}

}  // namespace cadrels
