// The dock: a bar of icons floating above the taskbar with five fixed slots
// (This PC, Applications, New cadrel, Settings, Trash) around the user's
// pinned items. Icons magnify under the pointer, bounce when clicked, show a
// label, are reordered by dragging and re-iconed or removed through their
// menu. The dock never writes files: it posts WM_APP_DOCK_CHANGED and the
// application copies Items and CustomIcons into the settings. Main thread only.
#pragma once

#include "base/PixelGeometry.h"
#include "base/UniqueHandle.h"
#include "base/WindowClass.h"
#include "dock/DockLayout.h"
#include "dock/DockPointer.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/IconCache.h"
#include "gfx/SvgEmblems.h"
#include "gfx/WindowGraphics.h"

#include <windows.h>
#include <d2d1_1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cadrels {

class DockDropTarget;
class IconPicker;

class Dock final : private FrameContent, public WindowBase<Dock> {
public:
    static constexpr wchar_t ClassName[] = L"Cadrels.Dock";
    static WindowClassDesc WindowClass() { return {ClassName, CS_DBLCLKS}; }
    static constexpr wchar_t WindowTitle[] = L"Cadrels Dock";
    static constexpr UINT_PTR AnimationTimer = 1;
    static constexpr UINT AnimationIntervalMs = 15;
    // The safety net that hides the dock under a full-screen program: window
    // event hooks miss foreground changes on some systems, a poll never does.
    static constexpr UINT_PTR FullScreenTimer = 2;
    static constexpr UINT FullScreenIntervalMs = 1000;
    // How late a poll may come: the system folds its wake-up into others'.
    static constexpr ULONG FullScreenToleranceMs = 250;

    // `icons` may be null (items then show their placeholder).
    Dock(GraphicsDevice& device, IconCache* icons, HWND appWindow);
    ~Dock();
    Dock(const Dock&) = delete;
    Dock& operator=(const Dock&) = delete;

    bool Create(HINSTANCE instance, const std::vector<std::wstring>& items,
                const std::map<std::wstring, std::wstring>& customIcons);
    HWND Window() const { return window_.Get(); }

    const std::vector<std::wstring>& Items() const { return items_; }
    const std::map<std::wstring, std::wstring>& CustomIcons() const { return customIcons_; }

    void Reposition();
    FrameResult Render();
    // After a device re-creation: new objects, a new backdrop, a frame.
    FrameResult RebuildGraphics();
    void SetItemIcon(int index, const std::wstring& key);
    void ShowIconMenu(int index, int x, int y);

    // The drop target's side (DockDropTarget).
    void SetDropHover(bool hover);
    // Appends the dropped paths not yet in the dock; returns how many.
    size_t AddDroppedPaths(const std::vector<std::wstring>& paths);

    // Whether the dock stands aside for a full-screen program right now.
    bool HiddenForFullScreen() const { return hiddenForFullScreen_; }
    bool Animating() const { return animating_; }
    const DockLayout& LastLayout() const { return layout_; }

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Window procedure handlers (DockInput.cpp).
    bool OnCreate();
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnMouseMove(int x);
    void OnMouseLeave();
    void OnLeftButtonDown(int x, int y);
    void OnLeftButtonUp(int x, int y);
    void OnLeftButtonDoubleClick();
    void OnRightButtonUp();
    void OnCaptureChanged();
    void OnDpiChanged(UINT dpi);
    void OnAnimationTick();
    void StartAnimation();
    void ResetDrag();
    void RunSlotAction(int slot);
    void RemoveItem(int index);
    void OpenIconPicker(int index);
    void PostChanged() const;
    void ResetScales();

    // Placement and surroundings (Dock.cpp).
    void SampleBackdrop();
    void CheckFullScreen();
    void ClearSvgEntry(const std::wstring& key);

    // Drawing (DockDraw.cpp).
    HRESULT CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context) override;
    void ReleaseDeviceResources() override;
    void DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size) override;
    void DrawShelf(ID2D1DeviceContext& context);
    void DrawItemIcon(ID2D1DeviceContext& context, int item, const D2D1_RECT_F& rect);
    void DrawFixedSlot(ID2D1DeviceContext& context, int slot, const D2D1_RECT_F& rect);
    void DrawLabel(ID2D1DeviceContext& context, D2D1_SIZE_F size);
    std::wstring SlotLabel(int slot) const;
    float Scale() const { return DpiScale(dpi_); }
    float BounceOffsetOf(int slot) const;

    GraphicsDevice& device_;
    IconCache* icons_;
    HWND appWindow_;
    WindowGraphics graphics_;
    UniqueWindow window_;
    Microsoft::WRL::ComPtr<DockDropTarget> dropTarget_;
    bool dropRegistered_ = false;
    std::unique_ptr<IconPicker> picker_;

    UINT dpi_ = 96;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    RECT monitorRect_{};

    std::vector<std::wstring> items_;
    std::map<std::wstring, std::wstring> customIcons_;
    SvgEmblemCache svgs_;
    std::vector<float> scales_;
    DockLayout layout_;

    DockPointer pointer_;
    DockBounce bounce_;
    bool animating_ = false;
    bool hiddenForFullScreen_ = false;

    // The desktop's colour under the dock, when it could be sampled; else
    // the shelf is drawn with the gradient.
    std::optional<D2D1_COLOR_F> backdrop_;

    struct DeviceResources {
        Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> brush;
        Microsoft::WRL::ComPtr<ID2D1LinearGradientBrush> gradient;
        Microsoft::WRL::ComPtr<IDWriteTextFormat> labelFormat;
        Microsoft::WRL::ComPtr<IDWriteTextFormat> glyphFormat;
    };
    DeviceResources resources_;
};

}  // namespace cadrels
