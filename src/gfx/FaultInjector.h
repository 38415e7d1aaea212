// Makes chosen graphics calls report a chosen HRESULT, so that device loss and
// creation failures can be produced on a machine whose GPU never fails. The
// real call still runs first; only its result is replaced, which keeps
// Direct2D and DirectComposition in the state a real failure leaves them in.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

namespace cadrels {

enum class GfxCall : std::size_t {
    HardwareDevice,     // D3D11CreateDevice with the hardware driver
    WarpDevice,         // D3D11CreateDevice with WARP
    CompositionDevice,  // DCompositionCreateDevice
    CompositionTarget,  // CreateTargetForHwnd of a window
    BuildWindow,        // any other per-window object (visual, surface, buffer, brush)
    BeginFrame,         // opening the window's surface or buffer for drawing
    EndDraw,            // EndDraw of the shared device context
    Present,            // ending the surface draw and committing, or UpdateLayeredWindow
    Count
};

class FaultInjector {
public:
    // The next `count` calls of that kind report `hr`.
    void FailNext(GfxCall call, HRESULT hr, int count = 1);
    // Every call of that kind reports `hr` until cleared.
    void FailAlways(GfxCall call, HRESULT hr);
    void Clear(GfxCall call);
    void ClearAll();

    // The result the program sees for a call that really returned `actual`.
    HRESULT Apply(GfxCall call, HRESULT actual);
    // How many calls of that kind were made, and how many of their results
    // were replaced, so far.
    int Calls(GfxCall call) const;
    int Delivered(GfxCall call) const;

private:
    struct Plan {
        HRESULT hr = S_OK;
        int remaining = 0;  // -1: forever
        int calls = 0;
        int delivered = 0;
    };
    Plan& At(GfxCall call) { return plans_[static_cast<std::size_t>(call)]; }
    std::array<Plan, static_cast<std::size_t>(GfxCall::Count)> plans_{};
};

}  // namespace cadrels
