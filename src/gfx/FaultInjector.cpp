#include "gfx/FaultInjector.h"

namespace cadrels {

void FaultInjector::FailNext(GfxCall call, HRESULT hr, int count)
{
    Plan& plan = At(call);
    plan.hr = hr;
    plan.remaining = count > 0 ? count : 0;
}

void FaultInjector::FailAlways(GfxCall call, HRESULT hr)
{
    Plan& plan = At(call);
    plan.hr = hr;
    plan.remaining = -1;
}

void FaultInjector::Clear(GfxCall call)
{
    At(call).remaining = 0;
}

void FaultInjector::ClearAll()
{
    for (Plan& plan : plans_) {
        plan.remaining = 0;
    }
}

HRESULT FaultInjector::Apply(GfxCall call, HRESULT actual)
{
    Plan& plan = At(call);
    ++plan.calls;
    if (plan.remaining == 0) {
        return actual;
    }
    if (plan.remaining > 0) {
        --plan.remaining;
    }
    ++plan.delivered;
    return plan.hr;
}

int FaultInjector::Calls(GfxCall call) const
{
    return plans_[static_cast<std::size_t>(call)].calls;
}

int FaultInjector::Delivered(GfxCall call) const
{
    return plans_[static_cast<std::size_t>(call)].delivered;
}

}  // namespace cadrels
