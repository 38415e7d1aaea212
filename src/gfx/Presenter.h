// Where one window's frames go. The window's drawing code only ever sees the
// shared device context with a target set; whether that target is a
// composition surface or an off-screen buffer copied to a layered window is
// this interface's business.
#pragma once

#include "gfx/GraphicsDevice.h"
#include "gfx/SurfaceSize.h"

#include <windows.h>
#include <d2d1_1.h>

#include <memory>
#include <optional>

namespace cadrels {

class Presenter {
public:
    virtual ~Presenter() = default;

    virtual PresenterKind Kind() const = 0;
    // Binds the presenter to the window (composition target and root visual,
    // or the layered style).
    virtual HRESULT Attach(HWND window) = 0;
    // Makes the surface or buffer for a new size; never called for the same size twice.
    virtual HRESULT Resize(SurfaceExtent extent) = 0;
    // Sets the shared context's target; `origin` is where the frame's (0, 0)
    // lies on it. The context's BeginDraw is the caller's.
    virtual HRESULT BeginFrame(D2D1_POINT_2F& origin) = 0;
    // Limits what shows of the frames to `clip` (surface pixels), or shows all
    // of them again. The composition visual clips by itself; a presenter that
    // cannot says so through ClipsByRedrawing, and the frame is drawn clipped.
    virtual HRESULT SetClip(const std::optional<D2D1_RECT_F>& clip) = 0;
    virtual bool ClipsByRedrawing() const = 0;
    // Clears the target and closes what BeginFrame opened; shows the frame
    // only when `show` is true. Called once after every successful BeginFrame.
    virtual HRESULT EndFrame(bool show) = 0;
};

std::unique_ptr<Presenter> MakeCompositionPresenter(GraphicsDevice& device);
std::unique_ptr<Presenter> MakeLayeredPresenter(GraphicsDevice& device);

}  // namespace cadrels
