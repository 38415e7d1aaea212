#include "gfx/PanelWindow.h"

#include "base/Failure.h"
#include "gfx/D2DColor.h"

#include <utility>

namespace cadrels {

PanelWindow::PanelWindow(GraphicsDevice& device, HWND appWindow, PanelLook look)
    : device_(device), look_(std::move(look)), graphics_(device, *this, appWindow)
{
}

PanelWindow::~PanelWindow()
{
    // The objects go before the window they were bound to.
    graphics_.Release();
    window_.Reset();
}

bool PanelWindow::Create(HINSTANCE instance, const RECT& bounds)
{
    HWND window = CreateOwnWindow(instance, WS_EX_TOOLWINDOW | device_.WindowExStyle(), L"", WS_POPUP, bounds.left,
                                  bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    if (window == nullptr) {
        return false;
    }
    window_.Reset(window);
    graphics_.Attach(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    Redraw();
    return true;
}

FrameResult PanelWindow::Redraw()
{
    return graphics_.Draw();
}

FrameResult PanelWindow::RebuildGraphics()
{
    if (FAILED(graphics_.Rebuild())) {
        return graphics_.DeviceLostLatched() ? FrameResult::DeviceLost : FrameResult::Dropped;
    }
    return graphics_.Draw();
}

LRESULT PanelWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        Redraw();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCDESTROY:
        graphics_.Detach();
        window_.Release();
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PanelWindow::OnPaint()
{
    ValidateWithoutPainting(window_.Get());
    Redraw();
}

void PanelWindow::OnDpiChanged(const RECT& suggested)
{
    // Text formats are made for one scale: build again at the new one.
    graphics_.Release();
    SetWindowPos(window_.Get(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Redraw();
}

HRESULT PanelWindow::CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context)
{
    ++resourceBuilds_;
    scale_ = WindowScale(window_.Get());
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(ToColorF(look_.band), bandBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(
        context.CreateSolidColorBrush(ToColorF(look_.fill, look_.fillAlpha), fillBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(ToColorF(look_.text), textBrush_.ReleaseAndGetAddressOf()));

    CADRELS_RETURN_IF_FAILED(device.CreateTextFormat(look_.titleSize * scale_, DWRITE_FONT_WEIGHT_SEMI_BOLD,
                                                     titleFormat_.ReleaseAndGetAddressOf()));
    titleFormat_->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
    titleFormat_->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    CADRELS_RETURN_IF_FAILED(device.CreateTextFormat(look_.bodySize * scale_, DWRITE_FONT_WEIGHT_NORMAL,
                                                     bodyFormat_.ReleaseAndGetAddressOf()));
    return S_OK;
}

void PanelWindow::ReleaseDeviceResources()
{
    bandBrush_.Reset();
    fillBrush_.Reset();
    textBrush_.Reset();
    titleFormat_.Reset();
    bodyFormat_.Reset();
}

void PanelWindow::DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size)
{
    const float radius = look_.cornerRadius * scale_;
    // Whole pixels, so the two halves meet without a seam.
    const float band = static_cast<float>(static_cast<int>(look_.bandHeight * scale_ + 0.5f));
    const float padding = look_.padding * scale_;
    const D2D1_ROUNDED_RECT panel = D2D1::RoundedRect(D2D1::RectF(0.0f, 0.0f, size.width, size.height), radius, radius);

    // One rounded shape in two colours: each half is the whole shape under an
    // axis-aligned clip (layers with geometric masks are not reliable everywhere).
    context.PushAxisAlignedClip(D2D1::RectF(0.0f, 0.0f, size.width, band), D2D1_ANTIALIAS_MODE_ALIASED);
    context.FillRoundedRectangle(panel, bandBrush_.Get());
    context.PopAxisAlignedClip();
    context.PushAxisAlignedClip(D2D1::RectF(0.0f, band, size.width, size.height), D2D1_ANTIALIAS_MODE_ALIASED);
    context.FillRoundedRectangle(panel, fillBrush_.Get());
    context.PopAxisAlignedClip();

    const D2D1_RECT_F titleRect = D2D1::RectF(padding, 0.0f, size.width - padding, band);
    context.DrawTextW(look_.title.c_str(), static_cast<UINT32>(look_.title.size()), titleFormat_.Get(), titleRect,
                      textBrush_.Get(), D2D1_DRAW_TEXT_OPTIONS_CLIP);
    const D2D1_RECT_F bodyRect = D2D1::RectF(padding, band + padding, size.width - padding, size.height - padding);
    context.DrawTextW(look_.body.c_str(), static_cast<UINT32>(look_.body.size()), bodyFormat_.Get(), bodyRect,
                      textBrush_.Get(), D2D1_DRAW_TEXT_OPTIONS_CLIP);
}

}  // namespace cadrels
