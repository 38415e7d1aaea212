// The per-window half of drawing: the window's presenter (composition target,
// root visual and surface, or the layered buffer), the window's own
// device-bound resources through FrameContent, the generation they were built
// with, and the device-lost latch. Every drawing window owns one and draws
// each frame through Draw, without knowing which presenter is active.
#pragma once

#include "gfx/GraphicsDevice.h"
#include "gfx/Presenter.h"
#include "gfx/SurfaceSize.h"

#include <windows.h>
#include <d2d1_1.h>
#include <wrl/client.h>

#include <cstdint>
#include <memory>
#include <optional>

namespace cadrels {

// What a drawing window supplies: its brushes and text formats, made for each
// device generation, and the drawing of one frame.
class FrameContent {
public:
    virtual HRESULT CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context) = 0;
    virtual void ReleaseDeviceResources() = 0;
    // Draws the whole frame in pixels of the surface, (0, 0) its top left.
    virtual void DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size) = 0;

protected:
    ~FrameContent() = default;
};

enum class FrameResult {
    Drawn,       // on screen
    Skipped,     // nothing to draw on: empty client area, or no device yet
    Dropped,     // a failure cost this frame only
    DeviceLost,  // reported (at most once until the objects are rebuilt)
};

class WindowGraphics {
public:
    // `appWindow` receives WM_APP_DEVICE_LOST, wParam the device generation
    // the failure happened on.
    WindowGraphics(GraphicsDevice& device, FrameContent& content, HWND appWindow);
    ~WindowGraphics();
    WindowGraphics(const WindowGraphics&) = delete;
    WindowGraphics& operator=(const WindowGraphics&) = delete;

    void Attach(HWND window) { window_ = window; }

    // One frame, rebuilding first when the device generation changed.
    FrameResult Draw();
    // Releases every per-window object and builds them again for the current
    // device (the application does this to every window after a recreation).
    HRESULT Rebuild();
    // Releases every per-window object; the next Draw builds them.
    void Release();
    // When the window goes: its objects are released and it is forgotten.
    void Detach()
    {
        Release();
        window_ = nullptr;
    }

    // Shows only `clip` of the frames (surface pixels) until called with
    // nothing; kept across rebuilds. With a presenter that clips by redrawing,
    // this draws a frame.
    void SetClip(const std::optional<D2D1_RECT_F>& clip);

    bool Built() const { return built_; }
    bool DeviceLostLatched() const { return deviceLost_; }
    // A loss was reported on the device that still exists: drawing now only
    // fails again until the application has made a new one.
    bool LostOnCurrentDevice() const { return deviceLost_ && lostGeneration_ == device_.Generation(); }
    std::uint32_t Generation() const { return generation_; }
    // The active presenter, once built.
    std::optional<PresenterKind> ActivePresenter() const;
    // The surface or buffer size, once one exists.
    std::optional<SurfaceExtent> Extent() const { return extent_; }
    // The shared context's SVG interface (ID2D1DeviceContext5) when the system has it.
    IUnknown* SvgContext() const { return svgContext_.Get(); }

private:
    HRESULT Build();
    HRESULT BuildPresenter();
    HRESULT MatchClientSize(bool& hasSurface);
    FrameResult DrawUnguarded();
    HRESULT DrawContent();
    // Device-lost codes are reported once per build; anything else drops the frame.
    FrameResult Fail(HRESULT hr);

    GraphicsDevice& device_;
    FrameContent& content_;
    HWND appWindow_;
    HWND window_ = nullptr;

    std::unique_ptr<Presenter> presenter_;
    bool contentBuilt_ = false;
    Microsoft::WRL::ComPtr<IUnknown> svgContext_;
    std::optional<SurfaceExtent> extent_;
    std::optional<D2D1_RECT_F> clip_;
    std::uint32_t generation_ = 0;
    bool deviceLost_ = false;
    std::uint32_t lostGeneration_ = 0;
    bool built_ = false;
    bool drawing_ = false;
};

// Frames reach the screen through the presenter, not the paint DC: a
// WM_PAINT only has to validate the update region.
inline void ValidateWithoutPainting(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

}  // namespace cadrels
