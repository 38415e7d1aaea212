// Frames drawn straight into a DirectComposition surface: the window has no
// redirection bitmap and the compositor blends the premultiplied pixels over
// the desktop.
#include "gfx/Presenter.h"

#include "base/Failure.h"

#include <dxgi.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace cadrels {
namespace {

class CompositionPresenter final : public Presenter {
public:
    explicit CompositionPresenter(GraphicsDevice& device) : device_(device) {}

    PresenterKind Kind() const override { return PresenterKind::Composition; }

    HRESULT Attach(HWND window) override
    {
        IDCompositionDevice* dcomp = device_.Composition();
        if (dcomp == nullptr) {
            return E_UNEXPECTED;
        }
        CADRELS_RETURN_IF_FAILED(device_.Filter(
            GfxCall::CompositionTarget, dcomp->CreateTargetForHwnd(window, FALSE, target_.ReleaseAndGetAddressOf())));
        CADRELS_RETURN_IF_FAILED(
            device_.Filter(GfxCall::BuildWindow, dcomp->CreateVisual(visual_.ReleaseAndGetAddressOf())));
        return target_->SetRoot(visual_.Get());
    }

    HRESULT Resize(SurfaceExtent extent) override
    {
        surface_.Reset();
        CADRELS_RETURN_IF_FAILED(device_.Filter(
            GfxCall::BuildWindow,
            device_.Composition()->CreateSurface(extent.width, extent.height, DXGI_FORMAT_B8G8R8A8_UNORM,
                                                 DXGI_ALPHA_MODE_PREMULTIPLIED, surface_.ReleaseAndGetAddressOf())));
        return visual_->SetContent(surface_.Get());
    }

    HRESULT SetClip(const std::optional<D2D1_RECT_F>& clip) override
    {
        if (clip) {
            CADRELS_RETURN_IF_FAILED(visual_->SetClip(*clip));
        } else {
            CADRELS_RETURN_IF_FAILED(visual_->SetClip(static_cast<IDCompositionClip*>(nullptr)));
        }
        // One commit per step: the surface keeps its pixels, only the clip moves.
        return device_.Composition()->Commit();
    }

    bool ClipsByRedrawing() const override { return false; }

    HRESULT BeginFrame(D2D1_POINT_2F& origin) override
    {
        ComPtr<IDXGISurface> dxgiSurface;
        POINT offset{};
        const HRESULT begun = surface_->BeginDraw(nullptr, __uuidof(IDXGISurface),
                                                  reinterpret_cast<void**>(dxgiSurface.GetAddressOf()), &offset);
        if (const HRESULT hr = device_.Filter(GfxCall::BeginFrame, begun); FAILED(hr)) {
            if (SUCCEEDED(begun)) {
                surface_->EndDraw();
            }
            return hr;
        }
        const D2D1_BITMAP_PROPERTIES1 properties = D2D1::BitmapProperties1(
            D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_CANNOT_DRAW,
            D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
        ComPtr<ID2D1Bitmap1> bitmap;
        const HRESULT hr = device_.D2DContext()->CreateBitmapFromDxgiSurface(dxgiSurface.Get(), &properties,
                                                                              bitmap.GetAddressOf());
        if (FAILED(hr)) {
            surface_->EndDraw();
            return hr;
        }
        device_.D2DContext()->SetTarget(bitmap.Get());
        origin = D2D1::Point2F(static_cast<float>(offset.x), static_cast<float>(offset.y));
        return S_OK;
    }

    HRESULT EndFrame(bool show) override
    {
        device_.D2DContext()->SetTarget(nullptr);
        // A surface update cannot be abandoned once begun: a dropped frame is
        // ended but not committed here.
        const HRESULT ended = device_.Filter(GfxCall::Present, surface_->EndDraw());
        if (!show || FAILED(ended)) {
            return ended;
        }
        return device_.Composition()->Commit();
    }

private:
    GraphicsDevice& device_;
    ComPtr<IDCompositionTarget> target_;
    ComPtr<IDCompositionVisual> visual_;
    ComPtr<IDCompositionSurface> surface_;
};

}  // namespace

std::unique_ptr<Presenter> MakeCompositionPresenter(GraphicsDevice& device)
{
    return std::make_unique<CompositionPresenter>(device);
}

}  // namespace cadrels
