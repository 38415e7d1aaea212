// The factories and GPU devices every drawing window shares: one Direct3D 11
// device (hardware, else WARP), one Direct2D device context and, where the
// system has it, one DirectComposition device. The generation counter tells
// windows lazily that the devices their objects were built on are gone.
// Main thread only.
#pragma once

#include "gfx/FaultInjector.h"

#include <windows.h>
#include <d2d1_1.h>
#include <d3d11.h>
#include <dcomp.h>
#include <dwrite.h>
#include <dxgi.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>

namespace cadrels {

// How windows put their frames on the screen. Composition is the normal path;
// Layered (UpdateLayeredWindow with per-pixel alpha) is taken where the
// composition device or a window's composition target cannot be created.
enum class PresenterKind { Composition, Layered };

class GraphicsDevice {
public:
    GraphicsDevice();
    ~GraphicsDevice();
    GraphicsDevice(const GraphicsDevice&) = delete;
    GraphicsDevice& operator=(const GraphicsDevice&) = delete;

    // Both factories, the user-interface font family and the devices. Throws
    // std::runtime_error "<call> a echoue (HRESULT 0x...)" on failure.
    void Create();
    // The per-generation members; +1 generation on success.
    HRESULT CreateDevice();
    // Releases the per-generation members and creates them again.
    HRESULT Recreate();

    std::uint32_t Generation() const { return generation_; }
    // Composition while the composition device exists, else Layered.
    PresenterKind Presenter() const { return dcomp_ ? PresenterKind::Composition : PresenterKind::Layered; }
    // The extended style a drawing window is created with for that presenter.
    DWORD WindowExStyle() const;

    ID2D1Factory1* D2DFactory() const { return d2dFactory_.Get(); }
    IDWriteFactory* DWrite() const { return dwrite_.Get(); }
    ID3D11Device* D3DDevice() const { return d3dDevice_.Get(); }
    ID3D11DeviceContext* D3DContext() const { return d3dContext_.Get(); }
    ID2D1DeviceContext* D2DContext() const { return d2dContext_.Get(); }
    IDCompositionDevice* Composition() const { return dcomp_.Get(); }

    // The family every text format takes (see UiFont.h).
    const std::wstring& UiFontFamily() const { return uiFontFamily_; }
    HRESULT CreateTextFormat(float sizeDip, DWRITE_FONT_WEIGHT weight, IDWriteTextFormat** format) const;

    // Tests only: chosen calls report chosen results. Null turns it off.
    void SetFaultInjector(FaultInjector* faults) { faults_ = faults; }
    HRESULT Filter(GfxCall call, HRESULT actual) const { return faults_ ? faults_->Apply(call, actual) : actual; }

private:
    HRESULT CreateD3DDevice();
    void ReleaseDevice();
    void LogPresenterChoice(HRESULT compositionResult);

    Microsoft::WRL::ComPtr<ID2D1Factory1> d2dFactory_;
    Microsoft::WRL::ComPtr<IDWriteFactory> dwrite_;
    Microsoft::WRL::ComPtr<ID3D11Device> d3dDevice_;
    Microsoft::WRL::ComPtr<ID3D11DeviceContext> d3dContext_;
    Microsoft::WRL::ComPtr<IDXGIDevice> dxgiDevice_;
    Microsoft::WRL::ComPtr<ID2D1Device> d2dDevice_;
    Microsoft::WRL::ComPtr<ID2D1DeviceContext> d2dContext_;
    Microsoft::WRL::ComPtr<IDCompositionDevice> dcomp_;
    std::uint32_t generation_ = 0;

    std::wstring uiFontFamily_;
    bool presenterLogged_ = false;
    PresenterKind loggedPresenter_ = PresenterKind::Composition;
    FaultInjector* faults_ = nullptr;
};

}  // namespace cadrels
