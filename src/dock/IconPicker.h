// The icon chooser: the 168 built-in icons in table order, "Default icon"
// and "Custom image…" (an image or SVG file). It holds at most one window;
// choosing closes it first and then calls the callback once with the key
// ("" for the default icon). Escape or another window taking the activation
// closes it without a choice. Main thread only.
#pragma once

#include "base/UniqueHandle.h"
#include "base/WindowClass.h"
#include "dock/IconPickerLayout.h"
#include "fileops/OperationState.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/SvgEmblems.h"
#include "gfx/WindowGraphics.h"

#include <windows.h>
#include <d2d1_1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <functional>
#include <map>
#include <string>

namespace cadrels {

class IconPicker final : private FrameContent, public WindowBase<IconPicker> {
public:
    static constexpr wchar_t ClassName[] = L"Cadrels.IconPicker";
    static WindowClassDesc WindowClass() { return {ClassName}; }
    using Callback = std::function<void(const std::wstring& key)>;

    using ModalGuard = std::function<OperationState::Scope()>;

    // `appWindow` receives WM_APP_DEVICE_LOST. `modalGuard`, when given, is
    // held while the file dialog runs its own loop: whoever owns the picker
    // must not destroy it under the dialog.
    IconPicker(GraphicsDevice& device, HWND appWindow, ModalGuard modalGuard = {});
    ~IconPicker();
    IconPicker(const IconPicker&) = delete;
    IconPicker& operator=(const IconPicker&) = delete;

    // Closes an open picker first. `owner` may be null (primary monitor).
    bool Open(HWND owner, UINT dpi, std::wstring currentKey, Callback callback);
    void Close();
    HWND Window() const { return window_.Get(); }
    const IconPickerGeometry& Geometry() const { return geometry_; }
    // Built-in icons rasterised so far, and how many of them failed to load.
    size_t RasterisedCount() const { return bitmaps_.size(); }

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnPaint();
    void OnMouseMove(int x, int y);
    void OnClick(int x, int y);
    void OnActivate(bool active);
    void ChooseCustomImage();
    void Choose(const std::wstring& key);

    HRESULT CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context) override;
    void ReleaseDeviceResources() override;
    void DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size) override;
    HRESULT RasteriseIcons(ID2D1DeviceContext& context);
    void DrawButton(ID2D1DeviceContext& context, const DockRect& rect, const wchar_t* text, bool hovered,
                    bool outlined);

    GraphicsDevice& device_;
    WindowGraphics graphics_;
    UniqueWindow window_;
    IconPickerGeometry geometry_;
    std::wstring currentKey_;
    Callback callback_;
    int hover_ = IconPickerHitNothing;
    bool dialogOpen_ = false;
    ModalGuard modalGuard_;
    bool tracking_ = false;

    // Kept across openings: each icon is rasterised once per device.
    std::map<int, Microsoft::WRL::ComPtr<ID2D1Bitmap>> bitmaps_;
    std::uint32_t bitmapGeneration_ = 0;
    SvgEmblemCache svgs_;

    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> brush_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> titleFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> buttonFormat_;
};

}  // namespace cadrels
