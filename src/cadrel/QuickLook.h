// The quick-look preview: a borderless topmost popup centred on a cadrel's
// monitor showing one of its items large (a picture, the beginning of a text
// file, or the icon and details), stepped through with the arrow keys and
// the wheel. What it shows is read by a worker (PreviewLoader); until the
// answer for the current item arrives the window shows the details it
// already knows, or keeps the previous picture. The neighbours are read
// ahead so that a step usually finds them ready.
#pragma once

#include "base/Mailbox.h"
#include "base/UniqueHandle.h"
#include "base/WindowClass.h"
#include "cadrel/QuickLookLoader.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/WindowGraphics.h"
#include "model/Records.h"

#include <windows.h>
#include <d2d1_1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace cadrels {

class QuickLook final : private FrameContent, public WindowBase<QuickLook> {
public:
    static constexpr wchar_t ClassName[] = L"Cadrels.Preview";
    static WindowClassDesc WindowClass() { return {ClassName}; }

    QuickLook(GraphicsDevice& device, HWND appWindow);
    ~QuickLook();
    QuickLook(const QuickLook&) = delete;
    QuickLook& operator=(const QuickLook&) = delete;

    // Opens on `paths[start]` (clamped), replacing a preview already open.
    // `owner` places the window on its monitor; `accent` is the border colour.
    void Show(HINSTANCE module, HWND owner, unsigned dpi, std::vector<std::wstring> paths, int start, Color accent);
    void Close();
    bool IsOpen() const { return window_.Get() != nullptr; }
    HWND Window() const { return window_.Get(); }

    void LoadCurrent();
    void Render();
    void Step(int delta);

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Sent by the worker to the window: an answer waits in the mailbox.
    static constexpr UINT WM_PREVIEW_LOADED = WM_USER + 1;

    bool OnCreate(HWND window);
    void OnSize(int width, int height);
    void OnActivate(WPARAM state);
    void OnKeyDown(WPARAM key);
    void OnLoaded();
    void GoTo(int index);
    void OpenCurrent();
    void Display(std::shared_ptr<const PreviewContent> content);
    static bool SameView(const PreviewContent& a, const PreviewContent& b);
    void RequestAround();
    PreviewRequest RequestFor(int index) const;
    void TakeForeground();

    HRESULT CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context) override;
    void ReleaseDeviceResources() override;
    void DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size) override;
    void DrawPicture(ID2D1DeviceContext& context, const D2D1_RECT_F& box);
    void DrawDetails(ID2D1DeviceContext& context, const D2D1_RECT_F& box, float width);

    GraphicsDevice& device_;
    HWND appWindow_;
    WindowGraphics graphics_;
    UniqueWindow window_;
    unsigned dpi_ = 96;
    int width_ = 0;
    int height_ = 0;
    Color accent_ = RGB(0, 120, 215);
    std::vector<std::wstring> paths_;
    int current_ = -1;

    // Which opening an answer belongs to: answers of an earlier one are dropped.
    std::uint64_t session_ = 0;
    std::shared_ptr<PreviewLoader::Outbox> outbox_ = std::make_shared<PreviewLoader::Outbox>();
    // After the mailbox: its thread is stopped before the mailbox can go.
    PreviewLoader loader_{outbox_};
    // Answers for the current item and its neighbours, by index.
    std::map<int, std::shared_ptr<const PreviewContent>> ready_;
    // What is drawn; while `waiting_` it is not yet the current item's own.
    std::shared_ptr<const PreviewContent> shown_;
    bool waiting_ = false;
    // The current item was shown from what was read ahead and is being read again.
    bool recheck_ = false;

    Microsoft::WRL::ComPtr<ID2D1Bitmap> picture_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> backgroundBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> textBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> secondaryBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> accentBrush_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> titleFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> codeFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> smallFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> bodyFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> hintFormat_;
};

}  // namespace cadrels
