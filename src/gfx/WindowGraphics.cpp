#include "gfx/WindowGraphics.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "base/Failure.h"
#include "gfx/D2DDeclarations.h"
#include "gfx/DeviceLost.h"

namespace cadrels {

WindowGraphics::WindowGraphics(GraphicsDevice& device, FrameContent& content, HWND appWindow)
    : device_(device), content_(content), appWindow_(appWindow)
{
}

WindowGraphics::~WindowGraphics()
{
    Release();
}

std::optional<PresenterKind> WindowGraphics::ActivePresenter() const
{
    if (!presenter_) {
        return std::nullopt;
    }
    return presenter_->Kind();
}

void WindowGraphics::Release()
{
    if (contentBuilt_) {
        content_.ReleaseDeviceResources();
        contentBuilt_ = false;
    }
    svgContext_.Reset();
    presenter_.reset();
    extent_.reset();
    built_ = false;
}

HRESULT WindowGraphics::BuildPresenter()
{
    if (device_.Presenter() == PresenterKind::Composition) {
        std::unique_ptr<Presenter> composition = MakeCompositionPresenter(device_);
        const HRESULT hr = composition->Attach(window_);
        if (SUCCEEDED(hr)) {
            presenter_ = std::move(composition);
            return S_OK;
        }
        if (IsDeviceLost(hr)) {
            return hr;
        }
        DebugLog(L"Cible de composition refusee (0x%08X) -> presentation par UpdateLayeredWindow",
                 static_cast<unsigned>(hr));
    }
    presenter_ = MakeLayeredPresenter(device_);
    return presenter_->Attach(window_);
}

HRESULT WindowGraphics::Build()
{
    ID2D1DeviceContext* context = device_.D2DContext();
    CADRELS_RETURN_IF_FAILED(BuildPresenter());

    contentBuilt_ = true;
    CADRELS_RETURN_IF_FAILED(
        device_.Filter(GfxCall::BuildWindow, content_.CreateDeviceResources(device_, *context)));
    // Missing before Windows 10 1703 and under Wine; SVG icons then take
    // another road, so its absence is not a failure.
    context->QueryInterface(IID_ID2D1DeviceContext5, reinterpret_cast<void**>(svgContext_.ReleaseAndGetAddressOf()));

    bool hasSurface = false;
    CADRELS_RETURN_IF_FAILED(MatchClientSize(hasSurface));
    if (clip_) {
        CADRELS_RETURN_IF_FAILED(presenter_->SetClip(clip_));
    }

    generation_ = device_.Generation();
    deviceLost_ = false;
    built_ = true;
    return S_OK;
}

HRESULT WindowGraphics::MatchClientSize(bool& hasSurface)
{
    RECT client{};
    GetClientRect(window_, &client);
    const std::optional<SurfaceExtent> wanted = SurfaceExtentFor(client.right - client.left, client.bottom - client.top);
    hasSurface = wanted.has_value();
    if (!wanted || extent_ == wanted) {
        return S_OK;
    }
    extent_.reset();
    CADRELS_RETURN_IF_FAILED(presenter_->Resize(*wanted));
    extent_ = wanted;
    return S_OK;
}

HRESULT WindowGraphics::DrawContent()
{
    ID2D1DeviceContext* context = device_.D2DContext();
    D2D1_POINT_2F origin{};
    CADRELS_RETURN_IF_FAILED(presenter_->BeginFrame(origin));

    context->BeginDraw();
    context->SetTransform(D2D1::Matrix3x2F::Translation(origin.x, origin.y));
    // Neither a composition surface nor the layered buffer promises its old
    // pixels; every frame starts fully transparent.
    context->Clear(D2D1::ColorF(0.0f, 0.0f, 0.0f, 0.0f));
    const bool clipHere = clip_ && presenter_->ClipsByRedrawing();
    if (clipHere) {
        context->PushAxisAlignedClip(*clip_, D2D1_ANTIALIAS_MODE_ALIASED);
    }
    content_.DrawFrame(*context, D2D1::SizeF(static_cast<float>(extent_->width), static_cast<float>(extent_->height)));
    if (clipHere) {
        context->PopAxisAlignedClip();
    }
    context->SetTransform(D2D1::Matrix3x2F::Identity());
    const HRESULT drawn = device_.Filter(GfxCall::EndDraw, context->EndDraw());

    const HRESULT ended = presenter_->EndFrame(SUCCEEDED(drawn));
    return FAILED(drawn) ? drawn : ended;
}

void WindowGraphics::SetClip(const std::optional<D2D1_RECT_F>& clip)
{
    clip_ = clip;
    if (!built_ || !presenter_) {
        return;
    }
    if (presenter_->ClipsByRedrawing()) {
        Draw();
        return;
    }
    if (const HRESULT hr = presenter_->SetClip(clip_); FAILED(hr)) {
        Fail(hr);
    }
}

FrameResult WindowGraphics::Fail(HRESULT hr)
{
    if (!IsDeviceLost(hr)) {
        return FrameResult::Dropped;
    }
    // The latch holds for one device generation: a device made after the
    // report that fails again must be reported again.
    if (!deviceLost_ || lostGeneration_ != device_.Generation()) {
        deviceLost_ = true;
        lostGeneration_ = device_.Generation();
        DebugLog(L"Perte de device detectee (0x%08X) -> notification a App", static_cast<unsigned>(hr));
        PostMessageW(appWindow_, WM_APP_DEVICE_LOST, device_.Generation(), 0);
    }
    return FrameResult::DeviceLost;
}

FrameResult WindowGraphics::Draw()
{
    // While a recreation is pending there is no context: the window keeps its
    // last frame on screen and draws again once asked after the recreation.
    if (window_ == nullptr || device_.D2DContext() == nullptr || drawing_) {
        return FrameResult::Skipped;
    }
    // UpdateLayeredWindow may resize the window and so send WM_SIZE, whose
    // handler draws, from inside this frame.
    drawing_ = true;
    const FrameResult result = DrawUnguarded();
    drawing_ = false;
    return result;
}

FrameResult WindowGraphics::DrawUnguarded()
{
    if (!built_ || generation_ != device_.Generation()) {
        Release();
        if (const HRESULT hr = Build(); FAILED(hr)) {
            return Fail(hr);
        }
    }
    bool hasSurface = false;
    if (const HRESULT hr = MatchClientSize(hasSurface); FAILED(hr)) {
        return Fail(hr);
    }
    if (!hasSurface) {
        return FrameResult::Skipped;
    }
    if (const HRESULT hr = DrawContent(); FAILED(hr)) {
        return Fail(hr);
    }
    return FrameResult::Drawn;
}

HRESULT WindowGraphics::Rebuild()
{
    Release();
    if (window_ == nullptr || device_.D2DContext() == nullptr) {
        return E_UNEXPECTED;
    }
    const HRESULT hr = Build();
    if (FAILED(hr)) {
        Fail(hr);
    }
    return hr;
}

}  // namespace cadrels
