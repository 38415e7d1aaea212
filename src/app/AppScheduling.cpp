#include "app/AppScheduling.h"

namespace cadrels {

bool TickBefore(std::uint32_t now, std::uint32_t until)
{
    return static_cast<std::int32_t>(now - until) < 0;
}

bool SortMustWait(bool busy, std::uint32_t now, std::uint32_t suppressedUntil)
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
