// Frames drawn by the shared device context into an off-screen texture of the
// client size, read back and handed to UpdateLayeredWindow with per-pixel
// alpha. Used where DirectComposition is missing (Wine has no composition
// device) or refuses a window; valid on any Windows.
#include "gfx/Presenter.h"

#include "base/Failure.h"
#include "base/UniqueHandle.h"

#include <dxgi.h>
#include <wrl/client.h>

#include <cstring>

using Microsoft::WRL::ComPtr;

namespace cadrels {
namespace {

HRESULT LastErrorResult()
{
    const DWORD error = GetLastError();
    return error == 0 ? E_FAIL : HRESULT_FROM_WIN32(error);
}

class LayeredPresenter final : public Presenter {
public:
    explicit LayeredPresenter(GraphicsDevice& device) : device_(device) {}

    PresenterKind Kind() const override { return PresenterKind::Layered; }

    HRESULT Attach(HWND window) override
    {
        window_ = window;
        const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
        if ((style & WS_EX_LAYERED) == 0) {
            SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
        }
        return S_OK;
    }

    HRESULT Resize(SurfaceExtent extent) override
    {
        target_.Reset();
        texture_.Reset();
        staging_.Reset();
        memoryDc_.Reset();
        dib_.Reset();
        bits_ = nullptr;
        extent_ = extent;

        D3D11_TEXTURE2D_DESC description{};
        description.Width = extent.width;
        description.Height = extent.height;
        description.MipLevels = 1;
        description.ArraySize = 1;
        description.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
        description.SampleDesc.Count = 1;
        description.Usage = D3D11_USAGE_DEFAULT;
        description.BindFlags = D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE;
        ID3D11Device* d3d = device_.D3DDevice();
        CADRELS_RETURN_IF_FAILED(device_.Filter(
            GfxCall::BuildWindow, d3d->CreateTexture2D(&description, nullptr, texture_.ReleaseAndGetAddressOf())));

        description.Usage = D3D11_USAGE_STAGING;
        description.BindFlags = 0;
        description.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
        CADRELS_RETURN_IF_FAILED(d3d->CreateTexture2D(&description, nullptr, staging_.ReleaseAndGetAddressOf()));

        ComPtr<IDXGISurface> surface;
        CADRELS_RETURN_IF_FAILED(texture_.As(&surface));
        const D2D1_BITMAP_PROPERTIES1 properties = D2D1::BitmapProperties1(
            D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_CANNOT_DRAW,
            D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
        CADRELS_RETURN_IF_FAILED(device_.D2DContext()->CreateBitmapFromDxgiSurface(
            surface.Get(), &properties, target_.ReleaseAndGetAddressOf()));

        // Top-down 32-bit DIB: UpdateLayeredWindow takes premultiplied BGRA,
        // exactly what the texture holds, so rows are copied as they are.
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = static_cast<LONG>(extent.width);
        info.bmiHeader.biHeight = -static_cast<LONG>(extent.height);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dib_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        if (!dib_) {
            return LastErrorResult();
        }
        memoryDc_.Reset(CreateCompatibleDC(nullptr));
        if (!memoryDc_) {
            return LastErrorResult();
        }
        SelectObject(memoryDc_.Get(), dib_.Get());
        return S_OK;
    }

    // A layered window shows exactly the pixels it is given: the clip is
    // applied by drawing the frame again inside it.
    HRESULT SetClip(const std::optional<D2D1_RECT_F>&) override { return S_OK; }
    bool ClipsByRedrawing() const override { return true; }

    HRESULT BeginFrame(D2D1_POINT_2F& origin) override
    {
        CADRELS_RETURN_IF_FAILED(device_.Filter(GfxCall::BeginFrame, target_ ? S_OK : E_UNEXPECTED));
        device_.D2DContext()->SetTarget(target_.Get());
        origin = D2D1::Point2F(0.0f, 0.0f);
        return S_OK;
    }

    HRESULT EndFrame(bool show) override
    {
        device_.D2DContext()->SetTarget(nullptr);
        if (!show) {
            return S_OK;
        }
        return device_.Filter(GfxCall::Present, CopyToWindow());
    }

private:
    HRESULT CopyToWindow()
    {
        ID3D11DeviceContext* context = device_.D3DContext();
        context->CopyResource(staging_.Get(), texture_.Get());
        D3D11_MAPPED_SUBRESOURCE mapped{};
        CADRELS_RETURN_IF_FAILED(context->Map(staging_.Get(), 0, D3D11_MAP_READ, 0, &mapped));
        const size_t rowBytes = size_t{extent_.width} * 4;
        auto* destination = static_cast<unsigned char*>(bits_);
        const auto* source = static_cast<const unsigned char*>(mapped.pData);
        for (UINT row = 0; row < extent_.height; ++row) {
            std::memcpy(destination + row * rowBytes, source + size_t{row} * mapped.RowPitch, rowBytes);
        }
        context->Unmap(staging_.Get(), 0);
        GdiFlush();

        SIZE size{static_cast<LONG>(extent_.width), static_cast<LONG>(extent_.height)};
        POINT sourceOrigin{};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        if (!UpdateLayeredWindow(window_, nullptr, nullptr, &size, memoryDc_.Get(), &sourceOrigin, 0, &blend,
                                 ULW_ALPHA)) {
            return LastErrorResult();
        }
        return S_OK;
    }

    GraphicsDevice& device_;
    HWND window_ = nullptr;
    SurfaceExtent extent_;
    ComPtr<ID3D11Texture2D> texture_;
    ComPtr<ID3D11Texture2D> staging_;
    ComPtr<ID2D1Bitmap1> target_;
    UniqueBitmap dib_;
    UniqueMemoryDc memoryDc_;
    void* bits_ = nullptr;
};

}  // namespace

std::unique_ptr<Presenter> MakeLayeredPresenter(GraphicsDevice& device)
{
    return std::make_unique<LayeredPresenter>(device);
}

}  // namespace cadrels
