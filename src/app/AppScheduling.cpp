#include "app/AppScheduling.h"

namespace cadrels {

bool TickBefore(DWORD now, DWORD until)
{
    return static_cast<LONG>(now - until) < 0;
}

bool SortMustWait(bool busy, DWORD now, DWORD suppressedUntil)
{
    return busy || TickBefore(now, suppressedUntil);
}

int WrappedPageIndex(int active, int count, int step)
{
    if (count <= 0) {
        return -1;
    }
    const int offset = step % count;
    return ((active % count) + offset + count) % count;
}

}  // namespace cadrels
