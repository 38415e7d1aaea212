#include "policy/PasswordThrottle.h"

#include <algorithm>

namespace cadrels {

void PasswordThrottle::Failed(std::uint64_t nowMs)
{
    if (failures_ < 1000) {
        ++failures_;
    }
    if (failures_ <= FreeFailures) {
        return;
    }
    const unsigned doublings = std::min(failures_ - FreeFailures - 1, 20u);
    notBeforeMs_ = nowMs + std::min(FirstDelayMs << doublings, MaxDelayMs);
}

void PasswordThrottle::Succeeded()
{
    failures_ = 0;
    notBeforeMs_ = 0;
}

}  // namespace cadrels
