// The launcher: a large translucent window centred on the primary work area
// with every installed application in a grid grouped by initial, searched as
// the user types. A click or Enter starts the application and hides it; a
// click outside, Escape or losing the activation hides it. Created by the
// application on first use and afterwards only shown and hidden. Main
// thread only, apart from the catalogue worker, which hands its result over
// through the launcher's own mailbox.
#pragma once

#include "base/Mailbox.h"
#include "base/PixelGeometry.h"
#include "base/UniqueHandle.h"
#include "base/WindowClass.h"
#include "dock/AppCatalogRules.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/IconCache.h"
#include "gfx/WindowGraphics.h"

#include <windows.h>
#include <d2d1_1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace cadrels {

class Launchpad final : private FrameContent, public WindowBase<Launchpad> {
public:
    static constexpr wchar_t ClassName[] = L"Cadrels.Launchpad";
    static WindowClassDesc WindowClass() { return {ClassName, 0}; }
    static constexpr wchar_t WindowTitle[] = L"Cadrels Launchpad";
    static constexpr UINT_PTR CaretTimer = 1;
    static constexpr UINT_PTR OpenTimer = 2;
    static constexpr UINT OpenIntervalMs = 16;
    static constexpr float OpenStep = 0.055f;
    // Posted to the launcher's window by its own mouse hook.
    static constexpr UINT ClickAwayMessage = WM_APP + 1;
    // A refreshed catalogue waits in the mailbox.
    static constexpr UINT CatalogMessage = WM_APP + 2;

    // `icons` may be null (cells then show their placeholder).
    Launchpad(GraphicsDevice& device, IconCache* icons, HWND appWindow);
    ~Launchpad();
    Launchpad(const Launchpad&) = delete;
    Launchpad& operator=(const Launchpad&) = delete;

    bool Create(HINSTANCE instance);
    HWND Window() const { return window_.Get(); }
    bool Visible() const;

    void Toggle();
    void Show();
    void Hide();
    void Launch(int matchIndex);

    FrameResult Render();
    // After a device re-creation: new objects; the backdrop waits for the
    // next opening.
    FrameResult RebuildGraphics();

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Window procedure handlers (LaunchpadInput.cpp).
    bool OnCreate();
    void OnPaint();
    void OnSize(int width, int height);
    void OnActivate(WPARAM state, HWND other);
    void OnKeyDown(WPARAM key);
    void OnChar(wchar_t unit);
    void OnTimer(UINT_PTR id);
    void OnMouseMove(int x, int y);
    void OnMouseLeave();
    void OnLeftButtonUp(int x, int y);
    void OnMouseWheel(int delta);
    void OnDpiChanged(UINT dpi);
    void OnClickAway();
    void SetHighlight(int cell, bool bringIntoView);
    int PageRows() const;

    // Life, placement and the catalogue (Launchpad.cpp).
    void Filter();
    void Place();
    void LayoutGrid();
    void ClampScroll();
    void SampleBackdrop();
    void TakeForeground();
    void InstallHook();
    void RemoveHook();
    void HideWindow(const wchar_t* reason);
    void RefreshCatalog();
    void OnCatalogArrived();
    void LogMatches() const;
    static LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam);

    // Drawing (LaunchpadDraw.cpp).
    HRESULT CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context) override;
    void ReleaseDeviceResources() override;
    void DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size) override;
    void DrawBackground(ID2D1DeviceContext& context);
    void DrawSearchBox(ID2D1DeviceContext& context);
    void DrawGrid(ID2D1DeviceContext& context);
    void DrawCell(ID2D1DeviceContext& context, int cell);
    void SetColour(float r, float g, float b, float a);
    float Scale() const { return DpiScale(dpi_); }

    GraphicsDevice& device_;
    IconCache* icons_;
    HWND appWindow_;
    WindowGraphics graphics_;
    UniqueWindow window_;

    UINT dpi_ = 96;
    int width_ = 0;
    int height_ = 0;

    AppCatalog catalog_;
    // False until a catalogue arrived once: the empty grid says nothing then.
    bool catalogKnown_ = false;
    std::wstring query_;
    std::vector<int> matches_;
    LaunchpadGrid grid_;
    float scroll_ = 0.0f;
    int hoverCell_ = -1;
    bool tracking_ = false;
    bool caretOn_ = false;
    float openProgress_ = 1.0f;
    bool opening_ = false;
    DWORD clickAwayTick_ = 0;
    // The opacity every colour of the frame is drawn with (the open animation).
    float fade_ = 1.0f;

    std::optional<LaunchpadTint> backdrop_;
    UniqueHook mouseHook_;
    // The hook procedure has no context of its own.
    static Launchpad* hookOwner_;

    // One catalogue read at a time; joined before the mailbox goes.
    Mailbox<AppCatalog> catalogs_;
    std::thread loader_;
    std::atomic<bool> loading_{false};

    struct DeviceResources {
        Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> brush;
        Microsoft::WRL::ComPtr<ID2D1LinearGradientBrush> gradient;
        Microsoft::WRL::ComPtr<IDWriteTextFormat> queryFormat;
        Microsoft::WRL::ComPtr<IDWriteTextFormat> headerFormat;
        Microsoft::WRL::ComPtr<IDWriteTextFormat> nameFormat;
        Microsoft::WRL::ComPtr<IDWriteInlineObject> ellipsis;
    };
    DeviceResources resources_;
};

}  // namespace cadrels
