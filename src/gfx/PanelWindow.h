// A borderless popup that draws a translucent rounded panel with a title band
// and text through WindowGraphics: the smallest complete drawing window, and
// the shape every other one follows (thin window procedure, handlers as
// members, device-bound resources made per generation).
#pragma once

#include "base/UniqueHandle.h"
#include "base/WindowClass.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/WindowGraphics.h"
#include "model/Records.h"

#include <windows.h>
#include <d2d1_1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <string>

namespace cadrels {

// Lengths at 96 DPI; colours as COLORREF.
struct PanelLook {
    Color band = RGB(214, 64, 48);   // opaque title band
    Color fill = RGB(40, 110, 220);  // body, drawn at fillAlpha
    float fillAlpha = 0.5f;
    Color text = RGB(255, 255, 255);
    std::wstring title;
    std::wstring body;
    float cornerRadius = 14.0f;
    float bandHeight = 36.0f;
    float padding = 12.0f;
    float titleSize = 15.0f;
    float bodySize = 13.0f;
};

class PanelWindow final : private FrameContent, public WindowBase<PanelWindow> {
public:
    static constexpr wchar_t ClassName[] = L"Cadrels.Panel";
    static WindowClassDesc WindowClass() { return {ClassName}; }

    PanelWindow(GraphicsDevice& device, HWND appWindow, PanelLook look);
    ~PanelWindow();
    PanelWindow(const PanelWindow&) = delete;
    PanelWindow& operator=(const PanelWindow&) = delete;

    // Creates the window at `bounds` (screen pixels), shows it without
    // activating it and draws the first frame.
    bool Create(HINSTANCE instance, const RECT& bounds);
    HWND Window() const { return window_.Get(); }

    FrameResult Redraw();
    // After a device recreation: new objects for the new device, then a frame.
    FrameResult RebuildGraphics();
    WindowGraphics& Graphics() { return graphics_; }
    // Device resources made so far (one set per build).
    int ResourceBuilds() const { return resourceBuilds_; }

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnPaint();
    void OnDpiChanged(const RECT& suggested);

    HRESULT CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context) override;
    void ReleaseDeviceResources() override;
    void DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size) override;

    GraphicsDevice& device_;
    PanelLook look_;
    WindowGraphics graphics_;
    UniqueWindow window_;
    float scale_ = 1.0f;  // window DPI / 96, fixed per build
    int resourceBuilds_ = 0;

    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> bandBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> fillBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> textBrush_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> titleFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> bodyFormat_;
};

}  // namespace cadrels
