#include "gfx/GraphicsDevice.h"

#include "base/DebugLog.h"
#include "base/Failure.h"
#include "gfx/DeviceLost.h"
#include "gfx/UiFont.h"

namespace cadrels {

GraphicsDevice::GraphicsDevice() = default;

GraphicsDevice::~GraphicsDevice() = default;

void GraphicsDevice::Create()
{
    D2D1_FACTORY_OPTIONS d2dOptions{};
    d2dOptions.debugLevel = D2D1_DEBUG_LEVEL_NONE;
    HRESULT hr = D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory1), &d2dOptions,
                                   reinterpret_cast<void**>(d2dFactory_.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) {
        ThrowFailure("D2D1CreateFactory( D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory1), &d2dOptions, "
                     "reinterpret_cast<void**>(d2dFactory_.ReleaseAndGetAddressOf()))",
                     hr);
    }
    hr = DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                             reinterpret_cast<IUnknown**>(dwrite_.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) {
        ThrowFailure("DWriteCreateFactory( DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory), "
                     "reinterpret_cast<IUnknown**>(dwrite_.ReleaseAndGetAddressOf()))",
                     hr);
    }
    uiFontFamily_ = ResolveUiFontFamily(*dwrite_.Get());
    DebugLog(L"Police de l'interface : %ls", uiFontFamily_.c_str());

    hr = CreateDevice();
    if (FAILED(hr)) {
        ThrowFailure("CreateDevice()", hr);
    }
}

HRESULT GraphicsDevice::CreateD3DDevice()
{
    d3dContext_.Reset();
    d3dDevice_.Reset();
    HRESULT hr = D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                                   nullptr, 0, D3D11_SDK_VERSION, d3dDevice_.ReleaseAndGetAddressOf(), nullptr,
                                   d3dContext_.ReleaseAndGetAddressOf());
    hr = Filter(GfxCall::HardwareDevice, hr);
    if (SUCCEEDED(hr)) {
        return S_OK;
    }
    DebugLog(L"D3D11 materiel indisponible (0x%08X) -> repli WARP", static_cast<unsigned>(hr));
    d3dContext_.Reset();
    d3dDevice_.Reset();
    hr = D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_WARP, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT, nullptr, 0,
                           D3D11_SDK_VERSION, d3dDevice_.ReleaseAndGetAddressOf(), nullptr,
                           d3dContext_.ReleaseAndGetAddressOf());
    return Filter(GfxCall::WarpDevice, hr);
}

HRESULT GraphicsDevice::CreateDevice()
{
    if (!d2dFactory_) {
        return E_UNEXPECTED;
    }
    // A half-made generation is never left behind: windows test for the
    // context and wait for the next successful creation.
    struct ReleaseOnFailure {
        GraphicsDevice& device;
        bool keep = false;
        ~ReleaseOnFailure()
        {
            if (!keep) {
                device.ReleaseDevice();
            }
        }
    } guard{*this};

    CADRELS_RETURN_IF_FAILED(CreateD3DDevice());
    CADRELS_RETURN_IF_FAILED(d3dDevice_.As(&dxgiDevice_));
    CADRELS_RETURN_IF_FAILED(d2dFactory_->CreateDevice(dxgiDevice_.Get(), d2dDevice_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(
        d2dDevice_->CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS_NONE, d2dContext_.ReleaseAndGetAddressOf()));

    // Without a composition device (Wine has none) windows present through
    // UpdateLayeredWindow instead; only a lost device fails the creation.
    HRESULT compositionResult = DCompositionCreateDevice(dxgiDevice_.Get(), __uuidof(IDCompositionDevice),
                                                         reinterpret_cast<void**>(dcomp_.ReleaseAndGetAddressOf()));
    compositionResult = Filter(GfxCall::CompositionDevice, compositionResult);
    if (FAILED(compositionResult)) {
        dcomp_.Reset();
        if (IsDeviceLost(compositionResult)) {
            return compositionResult;
        }
    }
    LogPresenterChoice(compositionResult);

    guard.keep = true;
    ++generation_;
    return S_OK;
}

HRESULT GraphicsDevice::Recreate()
{
    if (d3dDevice_) {
        DebugLog(L"Recreation du device. Raison de retrait : 0x%08X",
                 static_cast<unsigned>(d3dDevice_->GetDeviceRemovedReason()));
    }
    ReleaseDevice();
    return CreateDevice();
}

void GraphicsDevice::ReleaseDevice()
{
    dcomp_.Reset();
    d2dContext_.Reset();
    d2dDevice_.Reset();
    dxgiDevice_.Reset();
    d3dContext_.Reset();
    d3dDevice_.Reset();
}

void GraphicsDevice::LogPresenterChoice(HRESULT compositionResult)
{
    const PresenterKind kind = Presenter();
    if (presenterLogged_ && kind == loggedPresenter_) {
        return;
    }
    presenterLogged_ = true;
    loggedPresenter_ = kind;
    if (kind == PresenterKind::Composition) {
        DebugLog(L"Presentation des fenetres : DirectComposition");
    } else {
        DebugLog(L"Presentation des fenetres : UpdateLayeredWindow (DirectComposition indisponible, 0x%08X)",
                 static_cast<unsigned>(compositionResult));
    }
}

DWORD GraphicsDevice::WindowExStyle() const
{
    return Presenter() == PresenterKind::Composition ? WS_EX_NOREDIRECTIONBITMAP : WS_EX_LAYERED;
}

HRESULT GraphicsDevice::CreateTextFormat(float sizeDip, DWRITE_FONT_WEIGHT weight, IDWriteTextFormat** format) const
{
    if (!dwrite_) {
        return E_UNEXPECTED;
    }
    return dwrite_->CreateTextFormat(uiFontFamily_.c_str(), nullptr, weight, DWRITE_FONT_STYLE_NORMAL,
                                     DWRITE_FONT_STRETCH_NORMAL, sizeDip, L"en-us", format);
}

}  // namespace cadrels
