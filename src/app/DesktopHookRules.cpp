#include "app/DesktopHookRules.h"

#include <cstdlib>

namespace cadrels {

bool TakePress(DoubleClickState& state, std::uint32_t time, int x, int y, const DoubleClickLimits& limits)
{
    const bool paired = state.lastTime != 0 && static_cast<std::uint32_t>(time - state.lastTime) <= limits.timeMs &&
                        std::abs(x - state.lastX) <= limits.width && std::abs(y - state.lastY) <= limits.height;
    if (paired) {
        state.lastTime = 0;
        return true;
    }
    // A press exactly at message time 0 would read as "none"; one millisecond
    // later changes no decision a person could notice.
    state.lastTime = time == 0 ? 1 : time;
    state.lastX = x;
    state.lastY = y;
    return false;
}

DesktopHit ClassifyDoubleClickRoot(std::wstring_view className, bool isDesktopWindow, bool isShellWindow)
{
    if (className == L"Progman" || className == L"WorkerW") {
        return DesktopHit::ShellView;
    }
    // A shell without Progman (or none at all) leaves the desktop window
    // itself under the pointer; the shell window of another shell counts too.
    if (isDesktopWindow || isShellWindow) {
        return DesktopHit::BareDesktop;
    }
    return DesktopHit::None;
}

bool SpaceOpensQuickLook(const SpaceFacts& facts)
{
    if (facts.quickLookOpen || facts.typingInOurWindow) {
        return false;
    }
    return facts.overCadrel && facts.cadrelHasSelection;
}

}  // namespace cadrels
